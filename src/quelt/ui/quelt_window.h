#pragma once
#include "platform/ui.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kelvor {
class Context;
}

namespace kelvor::quelt {

// The Quelt assistant window: the two result-file pickers with their
// blinking labels, the coordinate table, the slope-distance reduction, the
// height-difference calculator and the copy of the two known heights.
// Controls carry their form names as objectName ("Text2(0)", "Label2(1)").
class QueltWindow : public QDialog {
    Q_OBJECT
public:
    explicit QueltWindow(Context& ctx, QWidget* parent = nullptr);

    // The handlers, callable directly by tests.
    void Label2_Click(int index);
    void Timer2_Timer();
    void Command1_Click();  // 高差计算
    void Command8_Click();  // Quelt生成坐标成果表
    void Command40_Click(); // 获取高程

    // CommonDialog1: what the commands of this window leave for the next.
    FileDialogRequest& commonDialog() { return dialog_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text2_Change();
    void reduce();

    Context& ctx_;
    FileDialogRequest dialog_;
    QLabel* label2_[2] = {};
    QLineEdit* text2_[6] = {};
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLineEdit* text6_ = nullptr;
    QLineEdit* text7_ = nullptr;
    QLineEdit* text8_ = nullptr;
    QLineEdit* text25_ = nullptr;
    QPushButton* command1_ = nullptr;
    QTimer* timer2_ = nullptr;
};

// Shows the window modally over parent; returns when it closes.
void showQuelt(Context& ctx, QWidget* parent = nullptr);

} // namespace kelvor::quelt
