#pragma once
#include "cad/ui/cad_scene.h"

#include <QImage>
#include <QWidget>
#include <functional>

namespace kelvor {

// The drawing area of the CAD host window: paints a DrawingScene, pans
// with the middle button (and the left one while nothing is asked), zooms
// with the wheel about the pointer. Clicks and moves go out as signals in
// widget coordinates; the window decides what they answer.
class CadView : public QWidget {
    Q_OBJECT
public:
    explicit CadView(DrawingScene& scene, QWidget* parent = nullptr);

    const ViewTransform& view() const { return view_; }
    void setView(const ViewTransform& v);
    // Shows the box as large as it fits; kept through resizes until the
    // person pans or zooms.
    void zoomTo(const cad::Box& box);
    // The drawing's extents, a few pixels in from the edges so that the
    // outermost lines are not drawn on them, half hidden.
    void zoomExtents();
    cad::Point toDrawing(const QPointF& p) const { return view_.toDrawing(p); }
    QPointF toScreen(const cad::Point& p) const { return view_.toScreen(p.x, p.y); }

    // The drawing changed: paint it anew.
    void sceneChanged();
    void setHighlighted(std::unordered_set<const cad::Entity*> entities);
    // Painted over the drawing at every paint (rubber band, snap marker).
    void setOverlay(std::function<void(QPainter&)> overlay) { overlay_ = std::move(overlay); }
    void setLeftPans(bool on) { leftPans_ = on; }

    // Renders the drawing alone into an image of the view's size.
    QImage renderImage();

signals:
    void clicked(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void released(QPointF at, bool dragged);
    void moved(QPointF at);
    void keyTyped(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    void changed(bool byPerson);
    DrawingScene& scene_;
    ViewTransform view_;
    cad::Box fitBox_;
    int fitMargin_ = 0;
    QImage frame_;
    bool frameValid_ = false;
    std::unordered_set<const cad::Entity*> highlighted_;
    std::function<void(QPainter&)> overlay_;
    bool leftPans_ = true;
    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPointF pressAt_, lastAt_;
    bool dragging_ = false;
};

} // namespace kelvor
