#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;

namespace kelvor {
class Context;
}

namespace kelvor::coords {

// The stake-out window "坐标放样": station, orientation point and reading,
// the point to set out; 计 算 shows the circle reading and the distance,
// the pick buttons take a point from the drawing. Controls carry their form
// names ("Text22(2)", "Command22(0)", "Command13"). It opens modal; after a
// pick it stays open without blocking the main window, and while it is
// loaded it keeps its values, hidden or not.
class Zbfy : public QDialog {
    Q_OBJECT
public:
    explicit Zbfy(Context& ctx, QWidget* parent = nullptr);

    Context& context() const { return ctx_; }
    QLineEdit* text22(int index) const { return text22_[index]; }

    void Command13_Click();          // 计 算
    void Command22_Click(int index); // 0 station, 1 orientation point, 2 point to set out

private:
    Context& ctx_;
    QLineEdit* text22_[10] = {}; // Text22(1) .. Text22(9)
    QLabel* label25_[11] = {};   // Label25(0) .. Label25(10)
};

// The window the launcher shows: the one still loaded for this context, or
// a fresh one.
QWidget* loadZbfy(Context& ctx, QWidget* owner);

} // namespace kelvor::coords
