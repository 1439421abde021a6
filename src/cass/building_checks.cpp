#include "building_checks.h"

#include "cass_xdata.h"
#include "steps.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <cmath>

namespace kelvor::cass {

using namespace cad;

namespace {

const QString kContinuous = QStringLiteral("CONTINUOUS");

std::vector<double> coordinatesOf(const Entity& e)
{
    std::vector<double> c;
    attempt([&] { c = e.Coordinates(); });
    return c;
}

std::optional<QString> codeOf(const Entity& e)
{
    std::optional<QString> code;
    attempt([&] { code = featureCode(e); });
    return code;
}

// The outline's vertices as a flat x, y, 0 list (old-style polylines carry
// their z in the list).
std::vector<double> searchPolygon(const Entity& e, const std::vector<double>& c)
{
    const size_t stride = e.kind() == EntityKind::LwPolyline ? 2 : 3;
    std::vector<double> out;
    for (size_t i = 0; i + 1 < c.size(); i += stride)
        out.insert(out.end(), {c[i], c[i + 1], 0});
    return out;
}

QString numberLine(double v)
{
    return SignedNumberText(v) + QLatin1Char(' ');
}

} // namespace

std::vector<Entity*> BuildingOutlineSelection(Document& doc, const QString& layers)
{
    std::vector<Entity*> out;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text"));
        set.SelectOnScreen(SelectionFilter{}.add(0, QStringLiteral("POLYLINE,lwPOLYLINE")).add(8, layers));
        out = set.entities();
    });
    return out;
}

bool isShortOutline(int coordinateCount, const QString& linetype, const QString& code)
{
    static const QStringList codes{QStringLiteral("141111"), QStringLiteral("141121"), QStringLiteral("141500"),
                                   QStringLiteral("141200"), QStringLiteral("141300")};
    return coordinateCount <= 6 && linetype == kContinuous && codes.contains(code);
}

std::optional<QString> expectedStructure(const std::optional<QString>& code)
{
    const std::optional<double> n = numericCode(code);
    if (!n)
        return std::nullopt;
    static const struct {
        double code;
        const char16_t* structure;
    } table[] = {{141111, u"砼"}, {141121, u"砖"}, {141161, u"混"}, {141300, u"建"}, {141400, u"破"}};
    for (const auto& t : table)
        if (*n == t.code)
            return QString::fromUtf16(t.structure);
    return std::nullopt;
}

bool structureMismatch(const QString& expected, const QStringList& textsInside)
{
    return !textsInside.isEmpty() && !textsInside.contains(expected);
}

bool admitsClosureCheck(const std::optional<QString>& code)
{
    static const QStringList codes{QStringLiteral("141101"), QStringLiteral("141111"), QStringLiteral("141121"),
                                   QStringLiteral("141500"), QStringLiteral("141200"), QStringLiteral("141300"),
                                   QStringLiteral("141161"), QStringLiteral("141400")};
    return code && codes.contains(*code);
}

ClosureAction closureAction(const std::optional<QString>& answer)
{
    if (!answer)
        return ClosureAction::Stop;
    static const struct {
        const char* answers;
        ClosureAction action;
    } table[] = {{"OoxX", ClosureAction::Stop},      {"Cc", ClosureAction::Close},
                 {"Dd", ClosureAction::Delete},      {"Nn", ClosureAction::Mark},
                 {"Ff", ClosureAction::MoveToLap},   {"Pp", ClosureAction::SimpleHouse},
                 {"Yy", ClosureAction::Balcony}};
    if (answer->isEmpty())
        return ClosureAction::Mark;
    if (answer->size() != 1)
        return ClosureAction::None;
    for (const auto& t : table)
        if (QString::fromLatin1(t.answers).contains(answer->at(0)))
            return t.action;
    return ClosureAction::None;
}

bool deletionConfirmed(const std::optional<QString>& answer)
{
    return answer && answer->isEmpty();
}

EdgeNotes edgeNotes(const std::vector<double>& xy, const Utility& u)
{
    EdgeNotes out;
    const size_t m = xy.size() / 2;
    if (m == 0)
        return out;
    auto P = [&](size_t i) { return Point{xy[2 * i], xy[2 * i + 1], 0}; };
    // A note only where the shown length, read back, exceeds 0.5.
    auto note = [&](const Point& a, const Point& b, const Point& toward, const Point& from, bool centred) {
        const QString text = FormatPattern(std::hypot(a.x - b.x, a.y - b.y), QStringLiteral("0.00"));
        if (!(ParseNumber(text).value_or(0) > 0.5))
            return;
        const Point mid{(a.x + b.x) / 2, (a.y + b.y) / 2, 0};
        out.notes.push_back({text, mid, u.AngleFromXAxis(centred ? mid : from, toward), centred});
    };
    for (size_t j = 1; j < m; ++j) {
        const Point a = P(j - 1), b = P(j);
        for (double v : {a.x, a.y, b.x, b.y})
            out.fileLines << numberLine(v);
        note(a, b, b, a, true);
    }
    note(P(0), P(m - 1), P(m - 1), P(0), false);
    return out;
}

void setjmdlenght_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    std::vector<Entity*> outlines;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(app->ActiveDocument(), QStringLiteral("text"));
        set.Select(SelectAll, {}, {},
                   SelectionFilter{}
                       .add(0, QStringLiteral("LWPOLYLINE"))
                       .add(6, kContinuous)
                       .add(8, QStringLiteral("jmd")));
        outlines = set.entities();
    });
    double k = 1;
    attempt([&] { k = DrawingScaleFactor(app->ActiveDocument()); });
    TextWriter file(paths::resolve(QStringLiteral("d:\\1.txt")));
    for (Entity* e : outlines) {
        Document& doc = app->ActiveDocument();
        const EdgeNotes edges = edgeNotes(coordinatesOf(*e), doc.Utility());
        for (const QString& line : edges.fileLines)
            file.writeLine(line);
        for (const EdgeNote& n : edges.notes) {
            Entity* text = nullptr;
            attempt([&] { text = doc.ModelSpace().AddText(n.text, n.at, k); });
            if (!text)
                continue;
            if (n.centred) {
                attempt([&] { text->setAlignment(AlignBottomCenter); });
                attempt([&] { text->setTextAlignmentPoint(n.at); });
            }
            attempt([&] { text->setRotation(n.rotation); });
            if (n.centred)
                attempt([&] { text->Update(); });
        }
    }
    attempt([&] { file.commit(); }); // an unwritable side file loses its lines only
}

void changejmd3d_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!doc)
        return;
    for (Entity* e : BuildingOutlineSelection(*doc, QStringLiteral("JMD,laf"))) {
        const std::optional<QString> code = codeOf(*e);
        if (!code)
            continue;
        QString linetype;
        attempt([&] { linetype = e->Linetype(); });
        if (!isShortOutline(int(coordinatesOf(*e).size()), linetype, *code))
            continue;
        // width first: a 3D polyline has none and still turns red
        attempt([&] { e->setConstantWidth(1); });
        attempt([&] { e->setColor(1); });
        attempt([&] { e->Update(); });
    }
    prompt(*app, QStringLiteral("已完成!红色的为检查小于3个点的房边线"));
}

void checkjmdfang_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!doc)
        return;
    int count = 0;
    for (Entity* e : BuildingOutlineSelection(*doc, QStringLiteral("jmd,laf"))) {
        const std::vector<double> c = coordinatesOf(*e);
        const std::optional<QString> expected = expectedStructure(codeOf(*e));
        if (c.size() <= 6 || !expected)
            continue;
        QStringList texts;
        attempt([&] {
            SelectionSet& inside = ScratchSelectionSet(*doc, QStringLiteral("text1"));
            inside.SelectByPolygon(SelectWindowPolygon, searchPolygon(*e, c),
                                   SelectionFilter{}.add(0, QStringLiteral("text")));
            for (const Entity* t : inside.entities())
                texts << t->TextString();
        });
        if (!structureMismatch(*expected, texts))
            continue;
        attempt([&] { e->setColor(1); });
        attempt([&] { e->setConstantWidth(0.2); });
        attempt([&] { e->Update(); });
        ++count;
    }
    prompt(*app, QStringLiteral("共找到 %1个不相符的房屋(红色)!").arg(count));
}

namespace {

// A command-line answer without blanks; none for Esc.
std::optional<QString> ask(Document& doc, const QString& question)
{
    try {
        return doc.Utility().GetString(false, question);
    } catch (const RunError&) {
        return std::nullopt;
    }
}

void act(Document& doc, Entity& e, ClosureAction action, const Pt2& first)
{
    auto width0 = [&] { attempt([&] { e.setConstantWidth(0); }); };
    auto linetype = [&](const QString& name) { attempt([&] { e.setLinetype(name); }); };
    switch (action) {
    case ClosureAction::Close:
        attempt([&] { e.setClosed(true); });
        width0();
        linetype(kContinuous);
        break;
    case ClosureAction::Delete: {
        attempt([&] { e.setVisible(false); });
        const bool confirmed = deletionConfirmed(ask(doc, QStringLiteral("不删除(x)/确认<下一目标>")));
        attempt([&] { e.setVisible(true); }); // a kept outline stays pickable
        linetype(kContinuous);
        if (confirmed)
            attempt([&] { e.Delete(); });
        break;
    }
    case ClosureAction::Mark:
        attempt([&] { AddLocatorLine(doc, first.x, first.y); });
        break;
    case ClosureAction::MoveToLap:
        attempt([&] { e.setLayer(QStringLiteral("lap")); });
        width0();
        linetype(kContinuous);
        break;
    case ClosureAction::SimpleHouse:
        width0();
        attempt([&] { writeFeatureCode(e, kSouth, QStringLiteral("141200-1")); });
        linetype(kContinuous);
        break;
    case ClosureAction::Balcony:
        width0();
        linetype(QStringLiteral("X5"));
        attempt([&] { writeFeatureCode(e, kSouth, QStringLiteral("140001")); });
        break;
    case ClosureAction::Stop:
    case ClosureAction::None:
        break;
    }
}

} // namespace

void jmdclosecheck_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!doc)
        return;
    const std::vector<Entity*> outlines = BuildingOutlineSelection(*doc, QStringLiteral("JMD,laf"));
    int count = 0;
    prompt(*app, QStringLiteral("处理中..."));
    for (Entity* e : outlines) {
        if (!admitsClosureCheck(codeOf(*e)))
            continue;
        const std::vector<double> c = coordinatesOf(*e);
        const Pt2 first = c.size() >= 2 ? Pt2{c[0], c[1]} : Pt2{};
        attempt([&] { e->setColor(7); });
        attempt([&] { e->Update(); });
        bool closed = false;
        attempt([&] { closed = e->Closed(); });
        if (closed)
            continue;
        ++count;
        prompt(*app, QStringLiteral("正在处理第%1个").arg(count));
        attempt([&] { e->setColor(1); });
        attempt([&] { e->setConstantWidth(0.3); });
        attempt([&] { app->ZoomWindow({first.x - 20, first.y - 20, 0}, {first.x + 20, first.y + 20, 0}); });
        attempt([&] { e->setLinetype(QStringLiteral("X5")); });
        const ClosureAction action =
            closureAction(ask(*doc, QStringLiteral("删除D/退出O/闭合C/标记N/分层F/简房线P/阳台Y<N>:")));
        if (action == ClosureAction::Stop)
            break;
        act(*doc, *e, action, first);
    }
    prompt(*app, QStringLiteral("已完成，共处理%1个").arg(count));
}

} // namespace kelvor::cass
