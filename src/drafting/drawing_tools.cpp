#include "drawing_tools.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"

namespace kelvor::drafting {

using namespace cad;

namespace {

const QString kTemporaryBlock = QStringLiteral("d:\\bak1.dwg");

std::vector<Entity*> pick(Document& doc, const QString& types)
{
    std::vector<Entity*> out;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text"));
        set.SelectOnScreen(BuildFilter({0, types}));
        out = set.entities();
    });
    return out;
}

void prompt(Document& doc, const QString& text)
{
    attempt([&] { doc.Utility().Prompt(text); });
}

} // namespace

void shengchenglinshikuai_Click(Context& ctx, int index)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(
        ctx, app, index == 0 ? std::vector<Forward>{Forward::Visible, Forward::Maximise, Forward::Activate}
                             : std::vector<Forward>{Forward::Activate});
    if (!doc)
        return;
    if (index == 0) {
        SelectionSet* set = nullptr;
        const bool picked = attempt([&] {
            set = &ScratchSelectionSet(*doc, QStringLiteral("text"));
            attempt([&] { app->activate(app->Caption()); });
            set->SelectOnScreen();
        });
        // an empty pick writes nothing; a write that fails is named
        if (picked && !set->entities().empty())
            writeOrTell(*app, paths::toWindows(drawingPath(kTemporaryBlock)),
                        [&] { doc->Wblock(kTemporaryBlock, *set); });
        return;
    }
    Entity* ref = nullptr;
    attempt([&] { ref = doc->ModelSpace().InsertBlock({0, 0, 0}, kTemporaryBlock, 1, 1, 1, 0); });
    if (!ref)
        return;
    attempt([&] { ref->Explode(); });
    attempt([&] { ref->Delete(); });
}

void polylinewidth_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Activate, Forward::Maximise});
    if (!doc)
        return;
    const std::vector<Entity*> lines = pick(*doc, QStringLiteral("LWPOLYLINE,POLYLINE"));
    if (lines.empty()) {
        prompt(*doc, QStringLiteral("没有选择任何线型！"));
        return;
    }
    double width = 0;
    try {
        width = doc->Utility().GetReal(QStringLiteral("输入要修改的线宽值:"));
    } catch (const RunError& e) {
        // Enter reads as 0; Esc leaves every polyline as it was
        if (e.number() != fail::NullInput)
            return;
    }
    if (width < 0)
        return;
    for (Entity* e : lines)
        attempt([&] {
            e->setConstantWidth(width); // a 3D polyline or mesh has none: passed over
            e->Update();
        });
    prompt(*doc, QStringLiteral("已修改线型宽度为：") + NumberText(width));
}

void plineatspline_Click(Context& ctx, int index)
{
    Document* doc = ConnectToDrawing(ctx);
    if (!doc)
        return;
    const QString option = index == 0 ? QStringLiteral("d") : QStringLiteral("s");
    for (Entity* e : pick(*doc, QStringLiteral("POLYLINE,lwPOLYLINE")))
        attempt([&] { CommandLineScript(*doc, {QStringLiteral("_PEDIT"), axEnt2lspEnt(*e), option, QString()}); });
    prompt(*doc, QStringLiteral("已完成操作!"));
}

void tuxiangcaijian_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    try {
        Document& doc = app->ActiveDocument();
        Point at;
        Entity* image = doc.Utility().GetEntity(at, QStringLiteral("请选择图片："));
        Entity* boundary = doc.Utility().GetEntity(at, QStringLiteral("请选择范围线："));
        const std::vector<double> xy = boundary->Coordinates();
        QStringList script{QStringLiteral("_imageclip"), axEnt2lspEnt(*image), QStringLiteral("NEW"), QStringLiteral("P")};
        for (size_t i = 0; i + 1 < xy.size(); i += 2)
            script << NumberText(xy[i]) + QLatin1Char(',') + NumberText(xy[i + 1]);
        if (xy.size() >= 2)
            script << NumberText(xy[0]) + QLatin1Char(',') + NumberText(xy[1]);
        script << QString();
        CommandLineScript(doc, script);
    } catch (const RunError&) {
        // a cancelled pick sends nothing
    }
}

void tuxiangkuangjia_Click(Context& ctx)
{
    if (Document* doc = ConnectToDrawing(ctx, {Forward::Activate, Forward::Maximise}))
        attempt([&] { CommandLineScript(*doc, {QStringLiteral("_imageframe")}); });
}

void tuxiangtaomingtu_Click(Context& ctx)
{
    if (Document* doc = ConnectToDrawing(ctx, {Forward::Activate, Forward::Maximise}))
        attempt([&] { CommandLineScript(*doc, {QStringLiteral(" _transparency")}); });
}

} // namespace kelvor::drafting
