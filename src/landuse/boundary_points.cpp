#include "landuse/boundary_points.h"

#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "routines/routines.h"

#include <cmath>

namespace kelvor::landuse {

using namespace cad;

namespace {

const QString kSymbol = QStringLiteral("点位符号");

double boxNumber(const QString& text)
{
    return LeadingNumber(text);
}

bool isPolyline(const Entity& e)
{
    const EntityKind k = e.kind();
    return k == EntityKind::LwPolyline || k == EntityKind::Polyline2d || k == EntityKind::Polyline3d;
}

std::vector<Pt2> vertexList(const Entity& e)
{
    std::vector<Pt2> out;
    const int n = e.vertexCount();
    for (int k = 0; k < n; ++k) {
        const Point p = e.Coordinate(k);
        out.push_back({p.x, p.y});
    }
    return out;
}

// Rewrites watch.txt and the scratch point file with the points (both
// empty for none). Either may fail on its own.
void writePointFiles(const std::vector<BoundaryPoint>& points, bool withSides)
{
    QStringList watch, scratch;
    for (const BoundaryPoint& p : points) {
        watch << boundaryPointLine(p, withSides);
        scratch << NumberText(p.y) << NumberText(p.x);
    }
    attempt([&] { writeTextLines(QStringLiteral("d:\\bak1.txt"), scratch); });
    attempt([&] { writeTextLines(paths::scratch(QStringLiteral("watch.txt")), watch); });
}

void eraseAllTexts(Document& doc)
{
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text"));
        attempt([&] { set.Select(SelectAll, {}, {}, BuildFilter({0, QStringLiteral("text")})); });
        for (Entity* e : set.entities())
            attempt([&] { e->Erase(); });
        attempt([&] { set.Delete(); });
    });
}

// The set that receives the pick: "Text", or "text" when that name is taken.
SelectionSet* pickSet(Document& doc)
{
    SelectionSet* set = nullptr;
    if (!attempt([&] { set = &doc.SelectionSets().Add(QStringLiteral("Text")); }))
        set = doc.SelectionSets().find(QStringLiteral("text"));
    return set;
}

void label(Document& doc, const std::vector<BoundaryPoint>& points, const BoundaryPointSettings& s)
{
    const double shift = s.shiftLeft ? -boxNumber(s.shift) : boxNumber(s.shift);
    const double height = boxNumber(s.height);
    const bool symbol = s.insertSymbol && doc.findBlock(kSymbol);
    Block& ms = doc.ModelSpace();
    for (const BoundaryPoint& p : points) {
        Entity* text = nullptr;
        attempt([&] { text = ms.AddText(p.name, {p.x + shift, p.y, 0}, height); });
        if (symbol)
            attempt([&] { ms.InsertBlock({p.x, p.y, 0}, kSymbol, 1, 1, 1, 0); });
        if (text) {
            attempt([&] { text->setColor(3); });
            attempt([&] { text->Update(); });
        }
    }
}

} // namespace

int nameDigits(const QString& box)
{
    const double d = boxNumber(box);
    return d == 1 || d == 2 || d == 3 ? int(d) : 4;
}

QString pointName(const QString& prefix, double number, int digits)
{
    return TrimBlanks(prefix) + FormatPattern(number, QString(digits, QLatin1Char('0')));
}

QString sideText(std::optional<double> side)
{
    if (!side || *side == 0)
        return QStringLiteral("***");
    return FormatPattern(*side, QStringLiteral("#####0.00"));
}

std::vector<BoundaryPoint> boundaryPoints(const std::vector<Pt2>& vertices, const BoundaryPointSettings& s)
{
    const double start = boxNumber(s.start);
    const int step = s.alternate ? 2 : 1;
    const int digits = nameDigits(s.digits);
    std::vector<BoundaryPoint> out;
    for (size_t k = 0; k < vertices.size(); ++k) {
        std::optional<double> side;
        if (k > 0)
            side = std::hypot(vertices[k].x - vertices[k - 1].x, vertices[k].y - vertices[k - 1].y);
        out.push_back({pointName(s.prefix, start + double(k) * step, digits), vertices[k].x, vertices[k].y,
                       sideText(side)});
    }
    return out;
}

QString boundaryPointLine(const BoundaryPoint& p, bool withSide)
{
    QString line = p.name + QLatin1Char(',') + FormatPattern(p.y, QStringLiteral(".0000")) + QLatin1Char(',')
        + FormatPattern(p.x, QStringLiteral(".0000"));
    if (withSide)
        line += QLatin1Char(',') + p.side;
    return line;
}

QString listEntry(const BoundaryPoint& p)
{
    return boundaryPointLine(p, false) + QStringLiteral(", S:") + p.side;
}

bool inList1(const BoundaryPoint& p, const BoundaryPointSettings& s)
{
    const double limit = boxNumber(s.limitAbove);
    return limit != 0 && LeadingNumber(p.side) > limit;
}

bool inList2(const BoundaryPoint& p, const BoundaryPointSettings& s)
{
    const double limit = boxNumber(s.limitBelow);
    return limit != 0 && LeadingNumber(p.side) <= limit;
}

PickedLists Command1_Click(Context& ctx, const BoundaryPointSettings& s)
{
    PickedLists lists;
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app, {}, ConnectFailure::Silent);
    if (!doc) {
        // Nothing can be picked: both files come out empty.
        writePointFiles({}, s.writeSides);
        ctx.ui().openTextWindow(watch);
        return lists;
    }
    if (s.eraseTexts)
        eraseAllTexts(*doc);
    else
        attempt([&] { ScratchSelectionSet(*doc, QStringLiteral("text")); });
    SelectionSet* set = pickSet(*doc);
    attempt([&] { app->activate(app->Caption()); });
    Utility& u = doc->Utility();
    attempt([&] { u.Prompt(QStringLiteral("请选择一根据多义线：")); });
    std::vector<Entity*> picked;
    if (set)
        attempt([&] {
            set->SelectOnScreen();
            picked = set->entities();
        });
    attempt([&] { u.Prompt(QStringLiteral("\r\n请稍候！")); });

    std::vector<BoundaryPoint> points;
    bool listed = false;
    for (Entity* e : picked) {
        attempt([&] { e->setColor(3); });
        // One polyline makes one point file: the first in pick order.
        if (!listed && isPolyline(*e) && attempt([&] { points = boundaryPoints(vertexList(*e), s); }))
            listed = true;
    }
    if (!picked.empty()) {
        writePointFiles(points, s.writeSides);
        for (const BoundaryPoint& p : points) {
            if (inList1(p, s))
                lists.list1 << listEntry(p);
            if (inList2(p, s))
                lists.list2 << listEntry(p);
        }
    }
    if (set)
        attempt([&] { set->Delete(); });
    label(*doc, points, s);
    attempt([&] {
        u.Prompt(QStringLiteral("\r\n\r\n已完成工作！界址点的坐标记录在Watch.txt文件中。边长为*的行是有重点(除第一行外)。\r\n"));
    });
    ctx.ui().openTextWindow(watch);
    return lists;
}

void zoomToEntry(Context& ctx, const QString& entry)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate}, ConnectFailure::Silent);
    if (!app || entry.isEmpty())
        return;
    std::optional<double> x, y;
    attempt([&] {
        x = ParseNumber(CommaField(entry, 2));
        y = ParseNumber(CommaField(entry, 3));
    });
    if (!x || !y)
        return;
    attempt([&] { app->ZoomWindow({*y - 20, *x - 20, 0}, {*y + 20, *x + 20, 0}); });
}

} // namespace kelvor::landuse
