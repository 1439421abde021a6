#include "building_tools.h"

#include "cass_xdata.h"
#include "steps.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"

#include <cmath>

namespace kelvor::cass {

using namespace cad;

namespace {

const QString kThrough = QStringLiteral("tHrough");

// Where the offset could not be taken: the command draws nothing from it.
const QString kNoOffset = QStringLiteral("未能生成阳台平行线，未绘制阳台。");

// The single new polyline the OFFSET text made of the wall line: of the
// wall's kind and vertex count, model space one longer than before.
Entity* offsetLine(Document& doc, int countBefore, const Entity& wall)
{
    Block& ms = doc.ModelSpace();
    if (ms.Count() != countBefore + 1)
        return nullptr;
    Entity* last = LastModelSpaceEntity(doc);
    if (!last || last == &wall || last->kind() != wall.kind() || last->vertexCount() != wall.vertexCount())
        return nullptr;
    return last;
}

// The balcony's properties, each passed over when refused.
void dressBalcony(Entity& b)
{
    attempt([&] { b.setLinetype(QStringLiteral("x5")); });
    attempt([&] { b.setLayer(QStringLiteral("JMD")); });
    attempt([&] { b.setColor(ColorByLayer); });
    attempt([&] { writeFeatureCode(b, kSouthLower, QStringLiteral("140001")); });
    attempt([&] { b.Update(); });
}

bool isCancel(const RunError& e)
{
    return e.number() == fail::Cancelled || e.number() == fail::NullInput;
}

} // namespace

double shownRadius(double radius)
{
    return StrictNumber(FormatPattern(radius, QStringLiteral("0.00")));
}

std::vector<double> reversedCircle(const Point& c, double r)
{
    return {c.x, c.y + r, c.x + r, c.y, c.x, c.y - r, c.x - r, c.y};
}

QStringList offsetScript(const QString& option, const Entity& wall, const Point& p)
{
    return {QStringLiteral("_offset"), option, axEnt2lspEnt(wall), axPoint2lspPoint(p), QString()};
}

std::vector<double> balconyVertices(const std::vector<Point>& picks, const std::vector<double>& offsetXyz)
{
    std::vector<double> out{picks.front().x, picks.front().y, 0};
    for (size_t k = 0; k < picks.size() && 3 * k + 2 < offsetXyz.size(); ++k)
        out.insert(out.end(), {offsetXyz[3 * k], offsetXyz[3 * k + 1], offsetXyz[3 * k + 2]});
    out.insert(out.end(), {picks.back().x, picks.back().y, 0});
    return out;
}

std::optional<size_t> pickedEdge(const std::vector<Pt2>& v, const Pt2& pick, const Utility& u)
{
    auto angle = [&](const Pt2& from, const Pt2& to) {
        return FormatPattern(u.AngleFromXAxis({from.x, from.y, 0}, {to.x, to.y, 0}), QStringLiteral("0.0000"));
    };
    for (size_t k = 0; k + 1 < v.size(); ++k)
        if (angle(v[k], v[k + 1]) == angle(pick, v[k + 1]))
            return k;
    return std::nullopt;
}

std::vector<Pt2> edgeRing(const Entity& outline)
{
    const std::vector<double> c = outline.Coordinates();
    const size_t stride = outline.kind() == EntityKind::LwPolyline ? 2 : 3;
    std::vector<Pt2> v;
    for (size_t i = 0; i + 1 < c.size(); i += stride)
        v.push_back({c[i], c[i + 1]});
    if (!v.empty())
        v.push_back(v.front());
    return v;
}

Point fourthCorner(const Point& p1, const Point& p2, const Point& p3, const Utility& u)
{
    return u.PolarPoint(p3, u.AngleFromXAxis(p2, p1), std::hypot(p1.x - p2.x, p1.y - p2.y));
}

void circlechange_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, kFullForward, ConnectFailure::Silent);
    if (!app)
        return;
    // The first refused step ends the command; the circle goes only once its
    // replacement stands filled, and a half-made replacement is removed.
    Entity* replacement = nullptr;
    try {
        Document& doc = app->ActiveDocument();
        Point pick;
        Entity* circle = doc.Utility().GetEntity(pick, QStringLiteral("请选择目标:"));
        const double r = shownRadius(circle->Radius());
        const Point centre = circle->Center();
        const int color = circle->Color();
        const QString linetype = circle->Linetype();
        const QString layer = circle->Layer();
        const XData data = circle->GetXData(QString());
        replacement = doc.ModelSpace().AddLightWeightPolyline(reversedCircle(centre, r));
        replacement->setClosed(true);
        replacement->setLinetypeGeneration(true);
        replacement->setColor(color);
        replacement->setLinetype(linetype);
        if (!data.empty()) // a circle without data keeps none: no empty write
            replacement->SetXData(data);
        circle->Delete();
        Entity* fitted = replacement;
        replacement = nullptr;
        // the layer last: on a locked layer the replacement could not be removed again
        fitted->setLayer(layer);
        CommandLineScript(doc, {QStringLiteral("_PEDIT"), axEnt2lspEnt(*fitted), QStringLiteral("f"), QString()});
    } catch (const RunError&) {
        if (replacement)
            attempt([&] { replacement->Delete(); });
    }
}

void breakpolytype2_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!doc)
        return;
    Utility& u = doc->Utility();
    std::vector<Point> picks;
    try {
        while (picks.size() < 11) {
            const Point p = u.GetPoint(QStringLiteral("选择通过房边的点:"));
            picks.push_back({p.x, p.y, 0});
        }
    } catch (const RunError&) {
    }
    if (picks.size() < 2)
        return; // a balcony needs two wall points
    std::vector<double> wallXyz;
    for (const Point& p : picks)
        wallXyz.insert(wallXyz.end(), {p.x, p.y, 0});
    Entity* wall = nullptr;
    attempt([&] { wall = doc->ModelSpace().AddPolyline(wallXyz); });
    if (!wall)
        return;
    auto removeWall = [&] { attempt([&] { wall->Delete(); }); };

    QString option;
    Point side;
    try {
        const QString width = u.GetString(true, QStringLiteral("请输入宽度(回车则选阳台通过的点):"));
        const bool through = TrimBlanks(width).isEmpty();
        option = through ? kThrough : width;
        side = u.GetPoint(through ? QStringLiteral("阳台经过的点:") : QStringLiteral("阳台方向:"));
    } catch (const RunError&) {
        removeWall();
        return;
    }
    const int before = doc->ModelSpace().Count();
    attempt([&] { CommandLineScript(*doc, offsetScript(option, *wall, side)); });
    Entity* offset = nullptr;
    attempt([&] { offset = offsetLine(*doc, before, *wall); });
    removeWall();
    if (!offset) {
        prompt(*app, kNoOffset);
        return;
    }
    std::vector<double> offsetXyz;
    attempt([&] { offsetXyz = offset->Coordinates(); });
    Entity* balcony = nullptr;
    attempt([&] { balcony = doc->ModelSpace().AddPolyline(balconyVertices(picks, offsetXyz)); });
    attempt([&] { offset->Delete(); });
    if (balcony)
        dressBalcony(*balcony);
}

void danbianyangtai_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx);
    if (!app)
        return;
    // One balcony per pass; the first refused step ends the command.
    try {
        while (true) {
            Document& doc = app->ActiveDocument();
            Utility& u = doc.Utility();
            Point pick;
            const Entity* outline = u.GetEntity(pick, QStringLiteral("选择房层边线(请用Nea捕捉):"));
            const std::vector<Pt2> ring = edgeRing(*outline);
            const std::optional<size_t> edge = pickedEdge(ring, {pick.x, pick.y}, u);
            if (!edge) {
                u.Prompt(QStringLiteral("未捕捉到房屋边线!"));
                return;
            }
            const Pt2 a = ring[*edge], b = ring[*edge + 1];
            Entity* wall = doc.ModelSpace().AddPolyline({a.x, a.y, 0, b.x, b.y, 0});
            try {
                wall->setColor(5);
                wall->Update();
                const Point through = u.GetPoint(QStringLiteral("阳台经过点:"));
                const int before = doc.ModelSpace().Count();
                CommandLineScript(doc, offsetScript(kThrough, *wall, through));
                Entity* offset = offsetLine(doc, before, *wall);
                if (!offset) {
                    wall->Delete();
                    u.Prompt(kNoOffset);
                    return;
                }
                const std::vector<double> o = offset->Coordinates();
                offset->Delete();
                wall->Delete();
                Entity* balcony =
                    doc.ModelSpace().AddPolyline({a.x, a.y, 0, o[0], o[1], 0, o[3], o[4], 0, b.x, b.y, 0});
                dressBalcony(*balcony);
            } catch (const RunError&) {
                attempt([&] { wall->Delete(); }); // the construction line never stays
                throw;
            }
        }
    } catch (const RunError& e) {
        if (isCancel(e))
            prompt(*app, QStringLiteral("程序退出!"));
    }
}

void weiqiangmen_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Activate}, ConnectFailure::Silent);
    if (!doc)
        return;
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 1); });
    std::optional<Point> p1, p2;
    attempt([&] { p1 = doc->Utility().GetPoint(QStringLiteral("插入点:")); });
    attempt([&] { p2 = doc->Utility().GetPoint(QStringLiteral("插入点:")); });
    if (p1 && p2) { // a missing point draws no gate
        Entity* gate = nullptr;
        attempt([&] { gate = doc->ModelSpace().AddPolyline({p1->x, p1->y, 0, p2->x, p2->y, 0}); });
        if (gate) {
            const Point mid{(p1->x + p2->x) / 2, (p1->y + p2->y) / 2, 0};
            attempt([&] { gate->ScaleEntity(mid, 3.0); });
            attempt([&] { writeFeatureCode(*gate, kSouthLower, QStringLiteral("143601")); });
            attempt([&] { gate->setLayer(QStringLiteral("JMD")); });
        }
    }
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 0); });
}

void sdcassobj_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, kFullForward, ConnectFailure::Silent);
    if (!app)
        return;
    // As for circles: the picked polyline goes only once its replacement
    // stands, and a half-made replacement is removed again.
    Entity* replacement = nullptr;
    try {
        Document& doc = app->ActiveDocument();
        Utility& u = doc.Utility();
        Point pick;
        Entity* e = u.GetEntity(pick, QStringLiteral("请选择:"));
        const QString layer = e->Layer();
        const QString linetype = e->Linetype();
        const int color = e->Color();
        // only a lightweight polyline's list is read as pairs
        if (e->kind() != EntityKind::LwPolyline)
            return;
        const std::vector<double> c = e->Coordinates();
        if (c.size() < 6)
            return;
        const Point p1{c[0], c[1], 0}, p2{c[2], c[3], 0}, p3{c[4], c[5], 0};
        const Point p4 = fourthCorner(p1, p2, p3, u);
        replacement = doc.ModelSpace().AddLightWeightPolyline({p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x, p4.y});
        replacement->setClosed(true);
        replacement->setLayer(layer);
        replacement->setLinetype(linetype);
        replacement->setColor(color);
        e->Delete();
    } catch (const RunError&) {
        if (replacement) // a refused step leaves no half-made second outline
            attempt([&] { replacement->Delete(); });
    }
}

void breakpolytype_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx);
    if (!app)
        return;
    Document* doc = nullptr;
    Entity* e = nullptr;
    Point pick;
    try {
        doc = &app->ActiveDocument();
        e = doc->Utility().GetEntity(pick, QStringLiteral("选择图元："));
    } catch (const RunError&) {
        return; // a cancelled pick sends nothing
    }
    attempt([&] { CommandLineScript(*doc, {QStringLiteral("_break"), GetDoubleEntTable(*e, pick), axPoint2lspPoint(pick)}); });
    prompt(*app, QStringLiteral("已完成线的断开！"));
}

} // namespace kelvor::cass
