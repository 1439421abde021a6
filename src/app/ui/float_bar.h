#pragma once
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QMimeData;

namespace kelvor {
class Context;
}

namespace kelvor {
class WindowRegistry;
}

namespace kelvor::app {

class ClickLabel;
class Form1;

// The floating bar "float": a borderless window above all others that
// stands in for the main window while the user works in the CAD host. Its
// pictures pop up the main window's menus, bring the main window back or
// end the program; files dropped on it are joined into watch.txt.
class FloatBar : public QWidget {
    Q_OBJECT
public:
    // 开启浮动条: a new bar in the lower right corner when none is open, put
    // on top and shown; Timer1 starts the hand-over count.
    static FloatBar* open(Context& ctx, Form1* form);
    // The open bar, or null.
    static FloatBar* current();

    QTimer& timer1() { return timer1_; }
    ClickLabel* picture(int index) const;
    // Picture1_Click.
    void clickPicture(int index);
    // The drop on the bar or its first picture: the file list, if any.
    void drop(const QMimeData& data);
    // Hides the bar and lets it go; the next opening makes a new one.
    void discard();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    FloatBar(Context& ctx, Form1* form);
    void handOver();
    void popUp(const QString& menuName);
    void snap();
    // The bar and its first picture take drops; the other pictures do not.
    bool takesDropAt(const QPoint& at) const;

    Context& ctx_;
    QPointer<Form1> form_;
    QTimer timer1_;
    ClickLabel* pictures_[4] = {};
    bool dragging_ = false;
    QPoint grab_; // pointer minus the bar's top left while dragging
};

// The window "float" of the window registry.
void registerBarWindows(WindowRegistry& windows);

} // namespace kelvor::app
