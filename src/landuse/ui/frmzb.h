#pragma once
#include "landuse/boundary_points.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// 处理线坐标: the settings of the boundary-point pick (Text1(0)..(3),
// Check1(0)..(3), Option1/Option2 with Text2(0), the limits Text3(0)/(1)),
// the lists of notable sides (List1, List2) and the buttons 拾取多义线
// (Command1) and 创建符号 (Command2). Controls carry their form names as
// objectName; every opening starts from the defaults.
class Frmzb : public QDialog {
    Q_OBJECT
public:
    explicit Frmzb(Context& ctx, QWidget* parent = nullptr);

    BoundaryPointSettings settings() const;

    void Command1_Click(); // 拾取多义线
    void Command2_Click(); // 创建符号
    void Check1_Click(int index);
    void List_DblClick(QListWidget* list);

private:
    Context& ctx_;
    QLineEdit* text1_[4] = {};
    QCheckBox* check1_[4] = {};
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_[2] = {};
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    QPushButton* command2_ = nullptr;
};

} // namespace kelvor::landuse
