#include "cad/ui/cad_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace kelvor {

namespace {
// A press and release closer than this is a click, not a drag.
constexpr double kClickSlop = 4;
// Pixels kept free around the extents.
constexpr int kExtentsMargin = 10;
}

CadView::CadView(DrawingScene& scene, QWidget* parent)
    : QWidget(parent)
    , scene_(scene)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setMinimumSize(200, 150);
    view_.width = std::max(1, width());
    view_.height = std::max(1, height());
}

void CadView::setView(const ViewTransform& v)
{
    view_ = v;
    view_.width = std::max(1, width());
    view_.height = std::max(1, height());
    changed(false);
}

void CadView::zoomTo(const cad::Box& box)
{
    if (!box.valid())
        return;
    fitBox_ = box;
    fitMargin_ = 0;
    view_.fit(box);
    changed(false);
}

void CadView::zoomExtents()
{
    const cad::Box box = scene_.extents();
    if (!box.valid())
        return;
    fitBox_ = box;
    fitMargin_ = kExtentsMargin;
    view_.fit(box, fitMargin_);
    changed(false);
}

void CadView::sceneChanged()
{
    frameValid_ = false;
    update();
}

void CadView::setHighlighted(std::unordered_set<const cad::Entity*> entities)
{
    highlighted_ = std::move(entities);
    sceneChanged();
}

void CadView::changed(bool byPerson)
{
    if (byPerson)
        fitBox_ = cad::Box{};
    frameValid_ = false;
    update();
}

QImage CadView::renderImage()
{
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    scene_.render(p, view_, highlighted_);
    return image;
}

void CadView::paintEvent(QPaintEvent*)
{
    if (!frameValid_ || frame_.size() != size()) {
        frame_ = renderImage();
        frameValid_ = true;
    }
    QPainter p(this);
    p.drawImage(0, 0, frame_);
    if (overlay_)
        overlay_(p);
}

void CadView::resizeEvent(QResizeEvent*)
{
    view_.width = std::max(1, width());
    view_.height = std::max(1, height());
    if (fitBox_.valid())
        view_.fit(fitBox_, fitMargin_);
    frameValid_ = false;
}

void CadView::mousePressEvent(QMouseEvent* e)
{
    pressAt_ = lastAt_ = e->position();
    dragging_ = false;
    dragButton_ = e->button();
}

void CadView::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF at = e->position();
    const bool pans = (e->buttons() & Qt::MiddleButton) || ((e->buttons() & Qt::LeftButton) && leftPans_);
    if (dragButton_ != Qt::NoButton && (at - pressAt_).manhattanLength() > kClickSlop)
        dragging_ = true;
    if (pans && dragging_) {
        const QPointF d = at - lastAt_;
        view_.cx -= d.x() / view_.scale;
        view_.cy += d.y() / view_.scale;
        changed(true);
    }
    lastAt_ = at;
    emit moved(at);
}

void CadView::mouseReleaseEvent(QMouseEvent* e)
{
    const Qt::MouseButton b = e->button();
    const bool dragged = dragging_;
    dragButton_ = Qt::NoButton;
    dragging_ = false;
    if (b == Qt::LeftButton)
        emit released(e->position(), dragged);
    if (!dragged)
        emit clicked(pressAt_, b, e->modifiers());
}

void CadView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::MiddleButton) {
        zoomExtents();
        return;
    }
    mousePressEvent(e);
}

void CadView::wheelEvent(QWheelEvent* e)
{
    const double notches = e->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    const QPointF at = e->position();
    const cad::Point before = view_.toDrawing(at);
    view_.scale *= std::pow(1.25, notches);
    view_.scale = std::clamp(view_.scale, 1e-9, 1e9);
    const cad::Point after = view_.toDrawing(at);
    // the point under the pointer stays there
    view_.cx += before.x - after.x;
    view_.cy += before.y - after.y;
    changed(true);
}

void CadView::keyPressEvent(QKeyEvent* e)
{
    emit keyTyped(e);
}

} // namespace kelvor
