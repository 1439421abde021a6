#pragma once
#include "landuse/area_exchange.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// The land-class area window: the column layout's boxes (Text2(0)..(3)) and
// the row layout's (Text1(0)..(3)), each frame with its two list buttons,
// and the two table buttons below. Controls carry their form names as
// objectName. A double-click on the window's own background toggles
// staying on top; Tag says which ("0" normal, "1" on top).
class OutExcelx : public QDialog {
    Q_OBJECT
public:
    explicit OutExcelx(Context& ctx, QWidget* parent = nullptr);

    ColumnLayoutBoxes columnBoxes() const;
    RowLayoutBoxes rowBoxes() const;

    void Command1_Click(); // 输出列格式: table into the column layout
    void Command2_Click(); // 输出行格式: table texts into the row layout
    void Command3_Click(); // column layout to watch.txt
    void Command4_Click(); // watch.txt into the column layout
    void Command5_Click(); // row layout to watch.txt, shown
    void Command6_Click(); // watch.txt into the row layout
    void Form_DblClick();

    QString tag() const { return tag_; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Context& ctx_;
    QLineEdit* text1_[4] = {};
    QLineEdit* text2_[4] = {};
    QString tag_ = QStringLiteral("0");
};

} // namespace kelvor::landuse
