// Raster image commands: IMAGECLIP (New with a polygonal or rectangular
// boundary, ON, OFF, Delete), IMAGEFRAME and TRANSPARENCY.
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"

#include <cmath>

namespace kelvor::cad::cmd {

namespace {

// A drawing point in the image's pixel coordinates (rows counted from the top).
Pt2 toPixels(const Entity::Data& d, const Point& p)
{
    const double det = d.rare().u.x * d.rare().vv.y - d.rare().u.y * d.rare().vv.x;
    if (std::abs(det) < 1e-300)
        return {0, 0};
    const double dx = p.x - d.v[0].x, dy = p.y - d.v[0].y;
    const double a = (dx * d.rare().vv.y - dy * d.rare().vv.x) / det;
    const double b = (d.rare().u.x * dy - d.rare().u.y * dx) / det;
    return {a - 0.5, d.rare().pixelsH - b - 0.5};
}

void imageclipCommand(CommandInput& in)
{
    Document& doc = in.document();
    Entity* e = in.nextEntity();
    if (e->kind() != EntityKind::RasterImage)
        fault(fail::Failed, QStringLiteral("imageclip: the object is no image"));
    if (!editable(doc, *e))
        fault(fail::LockedLayer, QStringLiteral("imageclip: the image is on a locked layer"));
    const Entity::Data& d = e->data();
    QString option = matchKeyword(in.nextText(), {QStringLiteral("ON"), QStringLiteral("OFF"),
                                                    QStringLiteral("Delete"), QStringLiteral("New")});
    if (option.isEmpty())
        option = QStringLiteral("New");
    if (option == QLatin1String("ON")) {
        e->setClippingEnabled(true);
    } else if (option == QLatin1String("OFF")) {
        e->setClippingEnabled(false);
    } else if (option == QLatin1String("Delete")) {
        e->setClipBoundary(1, {});
    } else {
        if (!d.rare().clip.empty()) {
            const QString again = matchKeyword(in.peek(), {QStringLiteral("Yes"), QStringLiteral("No")});
            if (!again.isEmpty())
                in.nextText();
            if (again == QLatin1String("No"))
                return;
        }
        const QString kind = matchKeyword(in.nextText(), {QStringLiteral("Polygonal"), QStringLiteral("Rectangular")});
        std::vector<Point> pts;
        if (kind == QLatin1String("Polygonal")) {
            pts = pointsUntilEnter(in);
            // the closing point given again is no new corner
            if (pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
                pts.pop_back();
            if (pts.size() < 3)
                return;
        } else {
            const Point a = in.nextPoint(), b = in.nextPoint();
            pts = {Point{std::min(a.x, b.x), std::min(a.y, b.y)}, Point{std::max(a.x, b.x), std::max(a.y, b.y)}};
        }
        std::vector<Pt2> pixels;
        for (const Point& p : pts)
            pixels.push_back(toPixels(d, p));
        e->setClipBoundary(kind == QLatin1String("Polygonal") ? 2 : 1, std::move(pixels));
    }
}

// IMAGEFRAME: 0 hides the frames of images, 1 shows them (2 shows them on
// screen and keeps them off paper, here as 1); the current value is the
// default, Enter keeps it. The setting is the drawing's, saved with it.
void imageframeCommand(CommandInput& in)
{
    Document& doc = in.document();
    const int now = doc.GetVariable(QStringLiteral("IMAGEFRAME")).toInt();
    const QString v = in.nextWord(QStringLiteral("keyword"), QStringLiteral("输入图像边框设置 [0/1/2] <%1>:").arg(now))
                          .trimmed();
    if (v.isEmpty())
        return; // Enter keeps the setting
    const QString k = matchKeyword(v, {QStringLiteral("ON"), QStringLiteral("OFF")});
    bool ok = true;
    const int n = k == QLatin1String("ON") ? 1 : (k == QLatin1String("OFF") ? 0 : v.toInt(&ok));
    if (!ok || n < 0 || n > 2)
        fault(fail::Failed, QStringLiteral("imageframe: \"%1\" is not 0, 1 or 2").arg(v));
    doc.SetVariable(QStringLiteral("IMAGEFRAME"), n);
    doc.host()->appendTranscript(QStringLiteral("IMAGEFRAME = %1\r\n").arg(n));
    doc.Regen();
}

// Images picked, then ON or OFF: transparency shows in the display flags.
void transparencyCommand(CommandInput& in)
{
    Document& doc = in.document();
    std::vector<Entity*> images;
    while (true) {
        const QString item = in.nextText(QStringLiteral("select"));
        if (isEnter(item))
            break;
        if (isEntityText(item)) {
            Entity* e = entityFromExpression(doc, item);
            if (e->kind() == EntityKind::RasterImage)
                images.push_back(e);
        }
    }
    if (images.empty())
        return;
    const QString k = matchKeyword(in.nextText(), {QStringLiteral("ON"), QStringLiteral("OFF")});
    for (Entity* e : images) {
        if (!editable(doc, *e))
            continue;
        if (k == QLatin1String("ON"))
            e->setImageDisplay(e->ImageDisplay() | 8);
        else if (k == QLatin1String("OFF"))
            e->setImageDisplay(e->ImageDisplay() & ~8);
    }
}

} // namespace

void registerImageCommands(Application& app)
{
    app.registerCommand(QStringLiteral("IMAGECLIP"), imageclipCommand,
                        QStringLiteral("裁剪光栅图像（新建边界、开、关、删除）"));
    app.registerCommand(QStringLiteral("IMAGEFRAME"), imageframeCommand,
                        QStringLiteral("显示或隐藏图像边框（0 或 1）"));
    app.registerCommand(QStringLiteral("TRANSPARENCY"), transparencyCommand,
                        QStringLiteral("图像背景透明（开、关）"));
}

} // namespace kelvor::cad::cmd
