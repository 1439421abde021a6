#pragma once
#include <QDialog>

class QLabel;
class QTimer;

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// The About box `Form2` (caption "关于"): borderless, moved by dragging its
// surface; the title runs along the top edge.
class Form2 : public QDialog {
public:
    Form2(Context& ctx, QWidget* parent = nullptr);

    // One tick of Timer1; the marquee's left edge in twips.
    void tick();
    int marqueeLeft() const { return left_; }
    QTimer* timer() const { return timer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void clicked(const QString& name);

    Context& ctx_;
    QLabel* title_ = nullptr;
    QTimer* timer_ = nullptr;
    int left_;
};

} // namespace kelvor::tools
