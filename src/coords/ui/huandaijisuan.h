#pragma once
#include "coords/zone_change.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kelvor {
class Context;
}

namespace kelvor::coords {

// The coordinate conversion window: one point at a time (正算, 反算,
// 换带计算) and the zone change of DXF files and of "d:\1.txt". Controls
// carry their form names as objectName ("Text7", "Option1(1)" ...).
class HuanDaiJiSuan : public QDialog {
    Q_OBJECT
public:
    explicit HuanDaiJiSuan(Context& ctx, QWidget* parent = nullptr);

    // The handlers, callable directly by tests.
    void Option2_Click(int index);
    void Command1_Click(); // 计算
    void Command5_Click(); // 清空
    void Command7_Click(); // DXF文件换带
    void Command8_Click(); // TXT文件转换

    // The datum, meridian and 500 km choices as they stand now.
    ZoneForm zoneForm() const;

private:
    Context& ctx_;
    QLineEdit* text_[9] = {};  // Text1 .. Text8 (index 0 unused)
    QLabel* label_[11] = {};   // Label1 .. Label10 (index 0 unused)
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QRadioButton* option1_[2] = {};
    QRadioButton* option2_[3] = {};
    QProgressBar* progress_ = nullptr;
};

// Shows the window modally over parent; returns when it closes.
void showHuanDaiJiSuan(Context& ctx, QWidget* parent = nullptr);

} // namespace kelvor::coords
