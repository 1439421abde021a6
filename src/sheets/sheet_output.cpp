#include "sheet_output.h"

#include "pass_over.h"
#include "sheet_numbers.h"

#include "platform/common_file.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"

namespace kelvor::sheets {

QString standardSheetFileRule(const QString& folder, const cad::Point& boxMin, int)
{
    return StandardSheetFile(TrimBlanks(folder), StandardSheetNumber({boxMin.x, boxMin.y}));
}

QString StripSheetFile(const QString& folder, int counter)
{
    const QString dir = TrimBlanks(folder);
    return dir + (dir.endsWith(QLatin1Char('\\')) ? QStringLiteral("Trim") : QStringLiteral("\\Trim"))
        + QString::number(counter) + cad::kDrawingExtension;
}

namespace {

// Writes one outline's file; a note on the command line when it cannot.
void writeOutline(cad::Application& app, cad::Document& doc, cad::Entity& outline, const QString& folder,
                  const SheetFileRule& rule, int& counter)
{
    std::vector<double> xy;
    cad::Point lo, hi;
    attempt([&] { xy = outline.Coordinates(); });
    attempt([&] { outline.GetBoundingBox(lo, hi); });
    attempt([&] { app.ZoomWindow(lo, hi); });
    ++counter;
    const QString file = rule(folder, lo, counter);
    if (xy.size() < 8) {
        doc.Utility().Prompt(QStringLiteral("\r\n分幅线不足四个顶点,未输出文件:") + file + QStringLiteral("\r\n"));
        return;
    }
    cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text1"));
    std::vector<double> polygon;
    for (int i = 0; i < 4; ++i)
        polygon.insert(polygon.end(), {xy[2 * i], xy[2 * i + 1], 0});
    attempt([&] { set.SelectByPolygon(cad::SelectCrossingPolygon, polygon); });
    doc.Utility().Prompt(QStringLiteral("正在输出文件:") + file);
    if (!attempt([&] { doc.Wblock(file, set); }))
        doc.Utility().Prompt(QStringLiteral("\r\n无法输出文件:") + file + QStringLiteral("\r\n"));
    set.Delete();
}

} // namespace

void WriteOutlineSheets(Context& ctx, const QString& filterValue, const SheetFileRule& rule)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {});
    if (!app)
        return;
    const QString folder = TrimBlanks(cad::getpath(ctx, QStringLiteral("请选择要存放分幅图的目录")));
    if (folder.isEmpty())
        return;
    attempt([&] { app->setVisible(true); });
    attempt([&] { app->setWindowState(3); });
    attempt([&] { app->activate(app->Caption()); });
    cad::Document* doc = nullptr;
    if (!attempt([&] { doc = &app->ActiveDocument(); }))
        return;
    cad::SelectionSet& outlines = cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
    attempt([&] { app->activate(app->Caption()); });
    attempt([&] { outlines.SelectOnScreen(cad::SelectionFilter{}.add(0, filterValue)); });
    int counter = 0;
    for (cad::Entity* outline : outlines.entities())
        writeOutline(*app, *doc, *outline, folder, rule, counter);
    doc->Utility().Prompt(QStringLiteral("\r\nfinish:") + SignedNumberText(counter));
}

void zhengguifenfu_Click(Context& ctx)
{
    WriteOutlineSheets(ctx, QStringLiteral("lwPOLYLINE"), standardSheetFileRule);
}

void piliangfenfu_Click(Context& ctx)
{
    WriteOutlineSheets(ctx, QStringLiteral("LWPOLYLINE"),
                       [](const QString& folder, const cad::Point&, int n) { return StripSheetFile(folder, n); });
}

void tukuang2000_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Silent);
    const QString frame = commonFile(ctx);
    if (frame.isEmpty()) {
        ctx.ui().message(QStringLiteral("请在[输出]菜单中的[通用文件名为空]下选择所需的文件！"), QStringLiteral("错误"),
                         Icon::Critical);
        return;
    }
    cad::Document* doc = nullptr;
    if (!app || !attempt([&] { doc = &app->ActiveDocument(); }))
        return;
    cad::SelectionSet& outlines = cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
    attempt([&] { app->activate(app->Caption()); });
    attempt([&] { outlines.SelectOnScreen(cad::SelectionFilter{}.add(0, QStringLiteral("LWPOLYLINE"))); });
    for (cad::Entity* outline : outlines.entities()) {
        std::vector<double> xy;
        attempt([&] { xy = outline->Coordinates(); });
        if (xy.size() < 4)
            continue;
        const cad::Point p0{xy[0], xy[1], 0}, p1{xy[2], xy[3], 0};
        const double rotation = doc->Utility().AngleFromXAxis(p0, p1);
        cad::Entity* ref = nullptr;
        try {
            ref = doc->ModelSpace().InsertBlock(p0, frame, 1, 1, 1, rotation);
        } catch (const RunError&) {
            doc->Utility().Prompt(QStringLiteral("\r\n无法插入图框文件:") + frame + QStringLiteral("\r\n"));
            continue;
        }
        attempt([&] { ref->Explode(); });
        attempt([&] { ref->Delete(); });
        attempt([&] { outline->Delete(); });
    }
}

} // namespace kelvor::sheets
