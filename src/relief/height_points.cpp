#include "relief/height_points.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "cass/cass_xdata.h"
#include "platform/context.h"
#include "platform/ui.h"

namespace kelvor::relief {
namespace {

constexpr int kNearestSnap = 512;
constexpr double kTextGap = 0.6; // from the block to the text, at every scale
const QString kTwoDecimals = QStringLiteral("0.00");

// A refused call (no layer "zj", a cancelled pick) ends the command; what
// was drawn stays.
void drawWaterNote(cad::Block& ms, const WaterNote& n)
{
    const QString layer = QStringLiteral("zj");
    cad::Entity* rule = ms.AddLine(n.ruleStart, n.ruleEnd);
    rule->setLayer(layer);
    cad::Entity* date = ms.AddText(n.date, n.dateAt, 1);
    date->setScaleFactor(0.8);
    date->setLayer(layer);
    cad::Entity* height = ms.AddText(n.height, n.heightAt, 1);
    height->setScaleFactor(0.8);
    height->setLayer(layer);
}

void addElevationNote(cad::Block& ms, const cad::Point& p, const NoteScale& scale)
{
    cad::Entity* text = nullptr;
    cad::attempt([&] { text = ms.AddText(FormatPattern(p.z, kTwoDecimals), p, scale.textHeight); });
    if (text) {
        cad::attempt([&] { text->setLayer(QStringLiteral("gcd")); });
        cad::attempt([&] { text->setAlignment(cad::AlignMiddleLeft); });
        cad::attempt([&] { text->setTextAlignmentPoint({p.x + kTextGap, p.y, p.z}); });
        cad::attempt([&] { text->setScaleFactor(0.8); });
        cad::attempt([&] { text->Update(); });
        cad::attempt([&] { cass::writeFeatureCode(*text, cass::kSouthLower, QStringLiteral("202111")); });
        cad::attempt([&] { text->Update(); });
    }
    cad::Entity* block = nullptr;
    cad::attempt([&] { block = ms.InsertBlock(p, QStringLiteral("gc200"), scale.blockScale, scale.blockScale, 1, 0); });
    if (block) {
        cad::attempt([&] { block->setLayer(QStringLiteral("gcd")); });
        cad::attempt([&] { cass::writeFeatureCode(*block, cass::kSouthLower, QStringLiteral("202101")); });
    }
}

} // namespace

NoteScale noteScale(const QString& answer)
{
    if (answer == QLatin1String("2") || answer == QLatin1String("b"))
        return {2, 1};
    if (answer == QLatin1String("3") || answer == QLatin1String("c"))
        return {4, 2};
    return {1, 0.5};
}

void addgcd_Click(Context& ctx)
{
    cad::Document* doc = cad::ConnectToDrawing(ctx, {cad::Forward::Activate, cad::Forward::Maximise});
    if (!doc)
        return;
    cad::Utility& u = doc->Utility();
    QString answer;
    cad::attempt([&] {
        answer = u.GetString(true, QStringLiteral("输入绘图比例尺: (<1> 1:500 /<2> 1:1000 / <3> 1:2000):"));
    });
    cad::attempt([&] { doc->SetVariable(QStringLiteral("OSMODE"), kNearestSnap); });
    const NoteScale scale = noteScale(answer);
    cad::Block& ms = doc->ModelSpace();
    while (true) {
        cad::Point p1, p2, p3;
        if (!cad::attempt([&] { p1 = u.GetPoint(QStringLiteral("选择等高线:")); }))
            return;
        if (!cad::attempt([&] { p2 = u.GetPoint(QStringLiteral("选择相邻等高线:")); }))
            return;
        // The nearest snap puts the third pick on this line, at the height
        // interpolated between the two contours.
        cad::Entity* temporary = nullptr;
        cad::attempt([&] { temporary = ms.AddLine(p1, p2); });
        const bool picked = cad::attempt([&] { p3 = u.GetPoint(QStringLiteral("在线段间点一下:")); });
        if (temporary)
            cad::attempt([&] { temporary->Delete(); });
        if (!picked)
            return;
        addElevationNote(ms, p3, scale);
    }
}

WaterNote waterNote(double x, double y, double h, const QDate& today)
{
    return {{x - 3.5, y, 0}, {x + 3.5, y, 0}, {x - 1.8, y + 0.35, 0}, {x - 3.3, y - 1.35, h},
            FormatPattern(h, kTwoDecimals), today.toString(QStringLiteral("yyyy.MM.dd"))};
}

void shuimiangaochenzj_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, cad::kFullForward, cad::ConnectFailure::Silent);
    if (!app)
        return;
    try {
        cad::Document& doc = app->ActiveDocument();
        cad::Utility& u = doc.Utility();
        while (true) {
            const cad::Point p = u.GetPoint(QStringLiteral("高程点位:"));
            const cad::Point q = p.z != 0 ? u.GetPoint(QStringLiteral("请输入注记位置:")) : p;
            drawWaterNote(doc.ModelSpace(), waterNote(q.x, q.y, p.z, ctx.ui().today()));
        }
    } catch (const RunError&) {
        // a cancelled pick ends the notes quietly
    }
}

} // namespace kelvor::relief
