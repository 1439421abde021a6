#include "landuse/area_commands.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <functional>

namespace kelvor::landuse {
namespace {

// The sizes of the table the land-class area command draws, per row height.
constexpr double kCodeWidth = 3.333333;
constexpr double kAreaWidth = 5.833333;

ExcelApplication* connectSheet(Context& ctx)
{
    return cad::ConnectToExcel(ctx, ctx.office());
}

// The last text delivered of the entities lying wholly inside the window.
QString lastTextInside(cad::Document& doc, const QString& setName, double x, double y, double w, double h)
{
    QString text;
    cad::attempt([&] {
        cad::SelectionSet& set = cad::ScratchSelectionSet(doc, setName, true);
        set.SelectByPolygon(cad::SelectWindowPolygon, {x, y, 0, x + w, y, 0, x + w, y + h, 0, x, y + h, 0});
        for (cad::Entity* e : set.entities())
            if (e->ObjectName() == QLatin1String("AcDbText"))
                cad::attempt([&] { text = e->TextString(); });
    });
    return text;
}

// The person's on-screen pick into the set "text", filtered to one type.
std::vector<cad::Entity*> pickOnScreen(cad::Application& app, cad::Document& doc, const QString& type)
{
    std::vector<cad::Entity*> picked;
    cad::attempt([&] {
        cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text"));
        cad::attempt([&] { app.activate(app.Caption()); });
        cad::attempt([&] { app.setWindowState(3); });
        set.SelectOnScreen(cad::SelectionFilter().add(0, type));
        picked = set.entities();
    });
    return picked;
}

} // namespace

void TableToColumnLayout(Context& ctx, const AreaLayout& layout)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Visible});
    if (!app)
        return;
    ExcelApplication* sheet = connectSheet(ctx);
    if (!sheet)
        return;
    cad::Document* doc = cad::activeDocument(*app);
    if (!doc)
        return;
    const std::vector<cad::Entity*> lines = pickOnScreen(*app, *doc, QStringLiteral("line"));
    if (lines.empty())
        return;
    QList<LandClassArea> rows;
    for (cad::Entity* line : lines) {
        LandClassArea row;
        cad::attempt([&] {
            const double h = line->Length();
            cad::Point low;
            cad::Point high;
            line->GetBoundingBox(low, high);
            const double w1 = h * kCodeWidth;
            const double w2 = h * kAreaWidth;
            row.code = lastTextInside(*doc, QStringLiteral("text1"), low.x, low.y, w1, h);
            row.area = lastTextInside(*doc, QStringLiteral("text2"), low.x + w1, low.y, w2, h);
        });
        rows.append(row);
    }
    ClearAreaCells(*sheet, layout);
    for (const LandClassArea& row : rows)
        PlaceLandClassArea(ctx, *sheet, layout, row.code, row.area);
}

void TextsToRowLayout(Context& ctx, const AreaLayout& layout)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Visible});
    if (!app)
        return;
    ExcelApplication* sheet = connectSheet(ctx);
    if (!sheet)
        return;
    cad::Document* doc = cad::activeDocument(*app);
    if (!doc)
        return;
    const std::vector<cad::Entity*> texts = pickOnScreen(*app, *doc, QStringLiteral("text"));
    if (texts.empty()) {
        cad::attempt([&] { doc->Utility().Prompt(QStringLiteral("没有选择的文字")); });
        return;
    }
    ClearAreaCells(*sheet, layout);
    QString area;
    for (size_t m = 0; m < texts.size(); ++m) {
        QString text;
        cad::attempt([&] { text = texts[m]->TextString(); });
        if (m % 2 == 0)
            area = text;
        else
            PlaceLandClassArea(ctx, *sheet, layout, text, area);
    }
}

void WriteAreaList(Context& ctx, const AreaLayout& layout, bool show)
{
    ExcelApplication* sheet = connectSheet(ctx);
    if (!sheet)
        return;
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    try {
        writeTextLines(watch, LandClassAreaLines(*sheet, layout));
    } catch (const RunError&) {
        ctx.ui().message(QStringLiteral("输出失败！"), QStringLiteral("输出"), Icon::Critical);
        return;
    }
    if (show)
        ctx.ui().openTextWindow(watch);
    ctx.ui().message(QStringLiteral("输出成功！"), QStringLiteral("输出"), Icon::Exclamation);
}

void ReadAreaList(Context& ctx, const AreaLayout& layout)
{
    ExcelApplication* sheet = connectSheet(ctx);
    if (!sheet)
        return;
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    QStringList lines;
    try {
        lines = readTextLines(watch);
    } catch (const RunError&) {
        ctx.ui().message(QStringLiteral("无法找到:") + paths::windir() + QStringLiteral("\\watch.txt文件！"),
                         QString(), Icon::Critical);
        return;
    }
    ClearAreaCells(*sheet, layout);
    for (const LandClassArea& row : ParseLandClassAreaList(lines))
        PlaceLandClassArea(ctx, *sheet, layout, row.code, row.area);
}

} // namespace kelvor::landuse
