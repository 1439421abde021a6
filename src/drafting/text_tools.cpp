#include "text_tools.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/ui.h"

#include <QDateTime>
#include <cmath>
#include <functional>
#include <optional>

namespace kelvor::drafting {

using namespace cad;

namespace {

constexpr double kPi = 3.1415926;
constexpr double kQuarter = 1.5707;
constexpr int kMiddleCenter = 10;

void prompt(Utility& u, const QString& text)
{
    attempt([&] { u.Prompt(text); });
}

// The single-line texts the user picks into a fresh set "text".
std::vector<Entity*> pickTexts(Document& doc)
{
    std::vector<Entity*> texts;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text"));
        set.SelectOnScreen(BuildFilter({0, QStringLiteral("text")}));
        texts = set.entities();
    });
    return texts;
}

// One keyword's question and change: the value it asks, or nothing when the
// loop ends there.
enum class Row { Height, Width, Style, Rotate, Oblique, Change, Insert, Exit };

std::optional<Row> rowOf(const QString& keyword)
{
    static const struct {
        const char* key;
        Row row;
    } rows[] = {{"Height", Row::Height}, {"Width", Row::Width},   {"Style", Row::Style},
                {"Rotate", Row::Rotate}, {"ObliqueAngle", Row::Oblique}, {"Change", Row::Change},
                {"Insert", Row::Insert}, {"Exit", Row::Exit}};
    for (const auto& r : rows)
        if (keyword == QLatin1String(r.key))
            return r.row;
    return std::nullopt;
}

// A numeric answer; nothing for 0, Esc or a text that is no number, which
// all end the loop with nothing changed.
std::optional<double> askValue(Utility& u, const QString& question, bool typed)
{
    double v = 0;
    try {
        if (typed) {
            const std::optional<double> n = ParseNumber(u.GetString(true, question));
            if (!n)
                return std::nullopt;
            v = *n;
        } else {
            v = u.GetReal(question);
        }
    } catch (const RunError&) {
        return std::nullopt;
    }
    if (v == 0)
        return std::nullopt;
    return v;
}

} // namespace

void texttools_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx);
    if (!doc)
        return;
    const std::vector<Entity*> texts = pickTexts(*doc);
    Utility& u = doc->Utility();
    if (texts.empty()) {
        prompt(u, QStringLiteral("没有选择的文字"));
        return;
    }
    QString keyword;
    QString search;
    while (true) {
        int count = 0;
        attempt([&] {
            u.InitializeUserInput(0, QStringLiteral("Height Width Style Rotate ObliqueAngle  Change Insert Exit"));
        });
        // Esc keeps the keyword before, so the last row runs again.
        attempt([&] { keyword = u.GetKeyword(QStringLiteral("\r\n请选择(H高度/W宽度/S字型/R旋转/O倾斜/C替换/Insert/<空格退出>):")); });
        if (keyword.isEmpty())
            break;
        const std::optional<Row> row = rowOf(keyword);
        if (!row || *row == Row::Exit)
            continue;
        // Sets one property on every text; counted only where it went through.
        auto apply = [&](const std::function<void(Entity&)>& set) {
            for (Entity* t : texts)
                if (attempt([&] { set(*t); })) {
                    ++count;
                    attempt([&] { t->Update(); });
                }
        };
        bool ended = false;
        switch (*row) {
        case Row::Height:
        case Row::Width: {
            const bool height = *row == Row::Height;
            const std::optional<double> v =
                askValue(u, height ? QStringLiteral("输入文字的高度:") : QStringLiteral("输入文字的宽度:"), false);
            if (!v) {
                ended = true;
                break;
            }
            apply([&](Entity& t) { height ? t.setHeight(*v) : t.setScaleFactor(*v); });
            break;
        }
        case Row::Rotate:
        case Row::Oblique: {
            const bool rotate = *row == Row::Rotate;
            const std::optional<double> v = askValue(
                u, rotate ? QStringLiteral("字体旋转角度( +为逆/-为顺时针旋转):") : QStringLiteral("字体倾斜角度:"), true);
            if (!v) {
                ended = true;
                break;
            }
            const double angle = *v * kPi / 180;
            apply([&](Entity& t) { rotate ? t.setRotation(angle) : t.setObliqueAngle(angle); });
            break;
        }
        case Row::Style: {
            QString style;
            attempt([&] { style = u.GetString(true, QStringLiteral("输入转换后字体名:")); });
            if (style.trimmed().isEmpty()) {
                ended = true;
                break;
            }
            apply([&](Entity& t) {
                if (t.StyleName() == style)
                    fault(fail::Failed, QStringLiteral("StyleName")); // unchanged: not counted
                t.setStyleName(style);
            });
            break;
        }
        case Row::Change: {
            QString replacement;
            attempt([&] { search = u.GetString(true, QStringLiteral("输入要替换的文字:")); });
            attempt([&] { replacement = u.GetString(true, QStringLiteral("输入替换后的文字:")); });
            apply([&](Entity& t) {
                if (t.TextString() != search)
                    fault(fail::Failed, QStringLiteral("TextString"));
                t.setTextString(replacement);
            });
            break;
        }
        case Row::Insert:
            for (Entity* t : texts)
                attempt([&] { t->setAlignment(kMiddleCenter); });
            continue;
        case Row::Exit:
            continue;
        }
        if (ended)
            break;
        prompt(u, QStringLiteral("共处理") + QString::number(count) + QStringLiteral("个"));
    }
    attempt([&] { doc->SelectionSets().Item(QStringLiteral("text")).Delete(); });
}

QString lineGroupName(Context& ctx, int k)
{
    const QDateTime now = ctx.ui().now();
    return now.toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char('-') + now.toString(QStringLiteral("H-m-s"))
        + QString::number(k);
}

namespace {

struct Placement {
    bool fromEnd;      // Q2 from P2, else Q1 from P1
    bool quarterTurn;  // rotation + 1.5707
    bool widthOne;
    bool centred;
};

// The row for a direction in degrees (a = ang1 × 180 / 3.1415926), tested in
// order with both bounds included. Row 2 runs on to the full turn, so a line
// just below the x axis is written like one on it.
Placement placementFor(double a)
{
    if (a == 0)
        return {false, false, true, true};
    if (a >= 315)
        return {false, false, false, true};
    if (a >= 270 && a <= 315)
        return {false, true, true, true};
    if (a >= 0 && a <= 45)
        return {false, false, true, true};
    if (a >= 225 && a <= 270)
        return {false, true, true, false};
    if (a >= 135 && a <= 180)
        return {true, false, true, true};
    if (a >= 90 && a <= 135)
        return {true, true, true, true};
    if (a >= 45 && a <= 90)
        return {true, true, true, true};
    return {true, false, true, true}; // above 180 to below 225
}

} // namespace

void crooslinetext_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx);
    if (!doc)
        return;
    attempt([&] {
        if (SelectionSet* old = doc->SelectionSets().find(QStringLiteral("text")))
            old->Delete();
    });
    Utility& u = doc->Utility();
    QString annotation;
    attempt([&] { annotation = u.GetString(true, QStringLiteral("请输入要注记的文字(默认字体名为[等线体]):")).trimmed(); });
    if (annotation.isEmpty())
        return;
    std::vector<Entity*> lines;
    attempt([&] {
        SelectionSet& set = doc->SelectionSets().Add(QStringLiteral("text"));
        prompt(u, QStringLiteral("请选择方向线(线段):"));
        set.SelectOnScreen(BuildFilter({0, QStringLiteral("LWPOLYLINE")}));
        lines = set.entities();
    });
    if (lines.empty())
        return;
    float gap = 0;
    attempt([&] { gap = float(u.GetInteger(QStringLiteral("请输入字间隔[按线平分<默认>]:"))); });
    double h = 0;
    attempt([&] { h = u.GetReal(QStringLiteral("请输入文字高度<默人1.50>:")); });
    if (h == 0)
        h = 1.5;
    const int n = int(annotation.size());
    Block& ms = doc->ModelSpace();
    int k = 0;
    for (Entity* line : lines) {
        ++k;
        Group* group = nullptr;
        attempt([&] { group = &doc->GroupsAdd(lineGroupName(ctx, k)); });
        std::vector<double> xy;
        attempt([&] { xy = line->Coordinates(); });
        if (xy.size() < 4)
            continue;
        const Point p1{xy[0], xy[1], 0}, p2{xy[2], xy[3], 0};
        double pitch = 0;
        if (gap == 0)
            pitch = n > 1 ? std::hypot(p2.x - p1.x, p2.y - p1.y) / (n - 1) : 0;
        else
            pitch = h * (gap + 1);
        const double ang1 = u.AngleFromXAxis(p1, p2);
        const double ang2 = u.AngleFromXAxis(p2, p1);
        const Placement row = placementFor(ang1 * 180 / kPi);
        std::vector<Entity*> placed;
        for (int i = 0; i < n; ++i) {
            const double s = i * pitch;
            // a height too large for the drawing gives no place to put the character
            Point at;
            if (!attempt([&] { at = row.fromEnd ? u.PolarPoint(p2, ang2, s) : u.PolarPoint(p1, ang1, s); }))
                continue;
            at.z = 0;
            const double rotation = (row.fromEnd ? ang2 : ang1) + (row.quarterTurn ? kQuarter : 0);
            Entity* t = nullptr;
            attempt([&] { t = ms.AddText(annotation.mid(i, 1), at, h); });
            if (!t)
                continue;
            attempt([&] { t->Rotate(at, rotation); });
            if (row.widthOne)
                attempt([&] { t->setScaleFactor(1); });
            attempt([&] { t->setStyleName(QStringLiteral("等线体")); });
            if (row.centred) {
                attempt([&] { t->setAlignment(kMiddleCenter); });
                attempt([&] { t->setTextAlignmentPoint(at); });
            }
            attempt([&] { t->Update(); });
            placed.push_back(t);
        }
        if (group && !placed.empty())
            attempt([&] { group->AppendItems(placed); });
        // A line that received nothing stays, so the user can try again.
        if (!placed.empty())
            attempt([&] { line->Delete(); });
    }
}

void deletetextspace_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx);
    if (!doc)
        return;
    for (Entity* t : pickTexts(*doc))
        attempt([&] { t->setTextString(t->TextString().remove(QLatin1Char(' '))); });
}

void xunxu_zhu_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate, Forward::Maximise}, ConnectFailure::Silent);
    if (!app)
        return;
    try {
        Document& doc = app->ActiveDocument();
        Utility& u = doc.Utility();
        double v = 0;
        try {
            v = u.GetReal(QStringLiteral("\r\n请输入初始值:"));
        } catch (const RunError& e) {
            if (e.number() != fail::NullInput) // Enter reads as 0
                throw;
        }
        Block& ms = doc.ModelSpace();
        for (; v <= 1000000; v += 1) {
            const Point at = u.GetPoint(QStringLiteral("\r\n注记的位置:"));
            Entity* t = ms.AddText(SignedNumberText(v), at, 14);
            t->Update();
        }
    } catch (const RunError&) {
        // any failure ends the numbering silently; the texts placed stay
    }
}

} // namespace kelvor::drafting
