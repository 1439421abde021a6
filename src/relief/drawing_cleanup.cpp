#include "relief/drawing_cleanup.h"

#include "cass/commands.h"
#include "platform/blanks.h"
#include "relief/drawing_steps.h"

#include <cmath>

namespace kelvor::relief {
namespace {

constexpr double kVertexTolerance = 0.003; // drawing units, each axis, strict
constexpr double kZoomMargin = 10;          // drawing units around the first vertex
constexpr double kNoteHeight = 1.75;        // the standard note height of the CASS note layers
constexpr double kCementHeight = 1.5;

const std::vector<cad::Forward> kActivateMaximise{cad::Forward::Activate, cad::Forward::Maximise};

} // namespace

const std::vector<LegacyLayerRow>& legacyLayerMap()
{
    static const std::vector<LegacyLayerRow> rows{
        {QStringLiteral("lab,lae,laf,lafi,lafn,lal,lawi,lay,lan"), QStringLiteral("jmd"),
         QStringLiteral("正在处理图层......")},
        {QStringLiteral("lar,lat"), QStringLiteral("dlss"), QStringLiteral("处理DLSS层")},
        {QStringLiteral("lad,lak"), QStringLiteral("dmtz"), QStringLiteral("处理DMTZ层")},
        {QStringLiteral("ladl,lahp"), QStringLiteral("zbtz"), QStringLiteral("处理ZBTZ层")},
        {QStringLiteral("las"), QStringLiteral("sxss"), QStringLiteral("处理SXSS层")},
        {QStringLiteral("lacp"), QStringLiteral("kzd"), QStringLiteral("处理KZD层")},
        {QStringLiteral("laheight"), QStringLiteral("gcd"), QStringLiteral("处理GCD层")},
        {QStringLiteral("laj"), QStringLiteral("jzd"), QStringLiteral("处理JZD层")},
    };
    return rows;
}

bool isPlaceName(const QString& text)
{
    const QString t = TrimBlanks(text);
    if (t.size() < 3)
        return false;
    const QChar last = t.back();
    return last == QChar(0x5382) || last == QChar(0x6751) || last == QChar(0x53F8); // 厂 村 司
}

bool isRedundantPolyline(const std::vector<double>& c)
{
    if (c.size() > 4)
        return false;
    if (c.size() < 4)
        return true;
    return std::fabs(c[0] - c[2]) < kVertexTolerance && std::fabs(c[1] - c[3]) < kVertexTolerance;
}

NoteChange noteChange(const QString& text, double height)
{
    NoteChange change;
    if (height > kNoteHeight)
        change.height = kNoteHeight;
    const QString t = TrimBlanks(text);
    if (t == QStringLiteral("水泥") || t == QStringLiteral("水 泥")) {
        change.height = kCementHeight;
        change.rotation = 0;
    }
    if (t == QStringLiteral("鱼"))
        change.text = QStringLiteral("（鱼）");
    return change;
}

void massboss_Click(Context& ctx)
{
    cass::addassist_Click(ctx);
    cass::fdsfdsfdsfdsf_Click(ctx);
    cad::Application* app = cad::ConnectToAutoCAD(ctx, kActivateMaximise);
    if (!app)
        return;
    for (const LegacyLayerRow& row : legacyLayerMap()) {
        const auto found = selectAll(*app, cad::SelectionFilter().add(8, row.legacy));
        prompt(*app, row.progress + QStringLiteral("\r\n"));
        for (cad::Entity* e : found) {
            // a missing target layer refuses the move: the entity stays
            attempt([&] { e->setLayer(row.target); });
            attempt([&] { e->Update(); });
        }
    }
    prompt(*app, QStringLiteral("删除单点......\r\n"));
    for (cad::Entity* e : selectAll(*app, cad::SelectionFilter().add(0, QStringLiteral("point"))))
        attempt([&] { e->Delete(); });
    prompt(*app, QStringLiteral("正在处理图形垃圾(空图层、块)\r\n"));
    attempt([&] { app->ActiveDocument().PurgeAll(); });

    const auto notes =
        selectAll(*app, cad::SelectionFilter().add(0, QStringLiteral("text")).add(8, QStringLiteral("zj")));
    prompt(*app, QStringLiteral("[处理村名、厂名注记大小]\r\n"));
    for (cad::Entity* t : notes) {
        QString text;
        if (!attempt([&] { text = t->TextString(); }) || !isPlaceName(text))
            continue;
        prompt(*app, QStringLiteral("处理[厂名/村名]:") + text + QStringLiteral("\r\n"));
        attempt([&] { t->setScaleFactor(1.0); });
        attempt([&] { t->setHeight(kNoteHeight); });
        attempt([&] { t->Update(); });
    }
    prompt(*app, QStringLiteral("操作结束。"));
}

void deletelingbianchang_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx);
    if (!app)
        return;
    cad::SelectionSet* set = scratchSet(*app, QStringLiteral("text"));
    if (set)
        attempt([&] { set->SelectOnScreen(cad::SelectionFilter().add(0, QStringLiteral("POLYLINE,lwPOLYLINE"))); });
    int count = 0;
    for (cad::Entity* e : members(set)) {
        std::vector<double> c;
        if (!attempt([&] { c = e->Coordinates(); }) || !isRedundantPolyline(c))
            continue;
        if (c.size() >= 2)
            attempt([&] {
                app->ZoomWindow({c[0] - kZoomMargin, c[1] - kZoomMargin, 0}, {c[0] + kZoomMargin, c[1] + kZoomMargin, 0});
            });
        if (attempt([&] { e->Delete(); }))
            ++count;
    }
    prompt(*app, QStringLiteral("共处理:%1个").arg(count));
}

void yuaddkuaohao_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, kActivateMaximise);
    if (!app)
        return;
    cad::SelectionSet* set = scratchSet(*app, QStringLiteral("text"));
    const cad::SelectionFilter filter =
        cad::SelectionFilter().add(0, QStringLiteral("text")).add(8, QStringLiteral("ZJ,sxss"));
    prompt(*app, QStringLiteral("\r\n请稍候......"));
    if (set)
        attempt([&] { set->Select(cad::SelectAll, {}, {}, filter); });
    for (cad::Entity* t : members(set)) {
        QString text;
        double height = 0;
        attempt([&] { text = t->TextString(); });
        attempt([&] { height = t->Height(); });
        const NoteChange change = noteChange(text, height);
        if (change.height)
            attempt([&] { t->setHeight(*change.height); });
        if (change.rotation)
            attempt([&] { t->setRotation(*change.rotation); });
        if (change.text)
            attempt([&] { t->setTextString(*change.text); });
    }
    prompt(*app, QStringLiteral("操作完成！"));
}

} // namespace kelvor::relief
