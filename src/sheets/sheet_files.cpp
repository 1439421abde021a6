#include "sheet_files.h"

#include "pass_over.h"
#include "sheet_numbers.h"

#include "platform/common_file.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/text_file.h"

namespace kelvor::sheets {

void insertdwgfiles_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Silent);
    const QString file = commonFile(ctx);
    if (file.isEmpty()) {
        ctx.ui().message(QStringLiteral("请在[输出]菜单中的[通用文件名为空]下选择所需的文件！"), QStringLiteral("错误"),
                         Icon::Critical);
        return;
    }
    if (!app)
        return;
    const QString drawing = cad::drawingPath(file);
    if (textFileExists(drawing) && !holdsTextData(drawing)) {
        ctx.ui().message(badDataText(file), QStringLiteral("错误"), Icon::Critical);
        return; // an empty or binary file is no drawing
    }
    attempt([&] { app->activate(app->Caption()); });
    cad::Entity* ref = nullptr;
    if (!attempt([&] { ref = app->ActiveDocument().ModelSpace().InsertBlock({0, 0, 0}, file, 1, 1, 1, 0); }))
        return;
    attempt([&] { ref->Explode(); });
    attempt([&] { ref->Delete(); });
}

void openzhidingtufu_Click(Context& ctx)
{
    try {
        cad::Application& app = cad::attachCad(ctx);
        app.activate(app.Caption());
        const cad::Point p = app.ActiveDocument().Utility().GetPoint(QStringLiteral("\r\n图幅内点:"));
        const QString folder = ctx.setting(QStringLiteral("Queltdxfilesavepath="));
        const QString number = StandardSheetNumber(StandardSheetGrid(p.x, p.y));
        app.DocumentsOpen(folder + QLatin1Char('\\') + number + cad::kDrawingExtension);
    } catch (const RunError&) {
        ctx.ui().message(QStringLiteral("无法找到文件或其它错误!"), QStringLiteral("提示"), Icon::Critical);
    }
}

} // namespace kelvor::sheets
