#include "batch_save.h"

#include "folder_batch.h"
#include "pass_over.h"

#include "cad/cad.h"
#include "platform/context.h"

namespace kelvor::sheets {

void tongyituyanse_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {});
    if (!app)
        return;
    DwgFolderListing(ctx, kFolderPrompt, [&](const QString& path) {
        activateHost(*app);
        attempt([&] { app->setWindowState(3); });
        visitDrawing(*app, path, [](cad::Document& doc) {
            attempt([&] { cad::CommandLineScript(doc, {"-layer", "s", "0", ""}); });
            attempt([&] { cad::CommandLineScript(doc, {"change", "all", "", "p", "color", "bylayer", ""}); });
            return VisitEnd::Save;
        });
        return true;
    });
}

void zoomalldwg_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {});
    if (!app)
        return;
    int notSaved = 0;
    const BatchEnd end = DwgFolderListing(
        ctx, kFolderPrompt,
        [&](const QString& path) {
            const Visited v = visitDrawing(*app, path, [](cad::Document& doc) {
                attempt([&] { doc.PurgeAll(); });
                return VisitEnd::Save;
            });
            notSaved += v == Visited::NotSaved;
            return true;
        },
        [&](const QString&) { activateHost(*app); });
    if (end == BatchEnd::Done)
        ctx.ui().message(notSaved > 0 ? notSavedText(notSaved) : QStringLiteral("已完成对图形文件的全图显示保存！"),
                         QStringLiteral("提示"), Icon::Exclamation);
}

} // namespace kelvor::sheets
