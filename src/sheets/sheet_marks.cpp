#include "sheet_marks.h"

#include "folder_batch.h"
#include "pass_over.h"

#include "cad/cad.h"
#include "platform/context.h"

namespace kelvor::sheets {

std::vector<double> sheetFrameVertices(double x, double y)
{
    const SheetCorner c = StandardSheetGrid(x, y);
    const double e = c.e + kSheetWidth, n = c.n + kSheetHeight;
    return {c.e, c.n, 0, e, c.n, 0, e, n, 0, c.e, n, 0};
}

void add250200tk_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Activate}, cad::ConnectFailure::Silent);
    if (!app)
        return;
    try {
        cad::Document& doc = app->ActiveDocument();
        cad::PickUntilCancel(doc.Utility(), QStringLiteral("\r\n图幅内点:"), [&](const cad::Point& p) {
            cad::Entity* frame = doc.ModelSpace().AddPolyline(sheetFrameVertices(p.x, p.y));
            frame->setClosed(true);
            frame->Update();
        });
    } catch (const RunError&) {
        // any failure ends the command; the frames drawn stay
    }
}

void biaohuitufushu_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Silent);
    const auto mark = [&](const QString& path) {
        if (!app)
            return true;
        const std::optional<SheetCorner> c = sheetCornerOfFile(path);
        if (!c) {
            attempt([&] { app->ActiveDocument().Utility().Prompt(QStringLiteral("\r\n不是图幅文件:") + path); });
            return true;
        }
        attempt([&] {
            cad::Entity* circle = app->ActiveDocument().ModelSpace().AddCircle({c->e + 125, c->n + 100, 0}, 30);
            circle->setColor(6);
        });
        return true;
    };
    DwgFolderListing(ctx, kFolderPrompt, mark, [&](const QString&) {
        if (app)
            activateHost(*app);
    });
}

void zhutufuhao_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Visible});
    cad::Document* doc = nullptr;
    if (!app || !attempt([&] { doc = &app->ActiveDocument(); }))
        return;
    const cad::SelectionFilter filter = cad::SelectionFilter{}.add(0, QStringLiteral("LWPOLYLINE,polyline"));
    cad::SelectionSet& set = cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
    activateHost(*app);
    attempt([&] { app->setWindowState(3); });
    attempt([&] { set.SelectOnScreen(filter); });
    for (cad::Entity* frame : set.entities()) {
        attempt([&] {
            cad::Point lo, hi;
            frame->GetBoundingBox(lo, hi);
            cad::Entity* label = doc->ModelSpace().AddText(StandardSheetNumber({lo.x, lo.y}),
                                                           {lo.x + 25, lo.y + 90, lo.z}, 20);
            label->setScaleFactor(0.8);
            label->setColor(4);
            label->Update();
        });
    }
    attempt([&] { doc->Utility().Prompt(QStringLiteral("程序运行结束")); });
}

} // namespace kelvor::sheets
