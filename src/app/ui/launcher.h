#pragma once
#include <QLabel>
#include <functional>

namespace kelvor::app {

class Form1;

// A picture or label that runs something when clicked (pressed and released
// over it). Presses never reach the window below, so a click on it never
// drags a frameless window.
class ClickLabel : public QLabel {
public:
    explicit ClickLabel(QWidget* parent = nullptr);

    std::function<void()> onClick;
    // The launcher pictures' border flash on every mouse move.
    bool flashBorder = false;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    bool pressed_ = false;
};

// The launcher panel Picture1: the pictures Picture2(0..4) and the labels
// Label2(0..4), each running its registry item of the same name.
void installLauncher(Form1& form);

} // namespace kelvor::app
