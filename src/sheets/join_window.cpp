#include "join_window.h"

#include "folder_batch.h"
#include "pass_over.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"

namespace kelvor::sheets {

QString frameBlockOf(FrameOption option)
{
    return option == FrameOption::Sheet5050 ? QStringLiteral("ac50tk") : QStringLiteral("ac45tk");
}

JoinGeometry geometryOf(FrameOption option)
{
    return option == FrameOption::Sheet5050 ? kSheet5050 : kSheet5040;
}

namespace {

// The frame is sought by the option as it stands before the search, the
// table laid out by the option as it stands after it. False: no frame.
bool writeWindowTable(cad::Document& doc, const OptionReader& option)
{
    std::optional<cad::Point> frame;
    attempt([&] { frame = SheetFrameBlock(doc, frameBlockOf(option())); });
    if (!frame)
        return false;
    SheetJoinTable(doc.ModelSpace(), joinTableTexts({frame->x, frame->y}, frame->z, geometryOf(option())));
    return true;
}

// One drawing of a batch. A drawing without the frame gets nothing and is
// closed as it was.
Visited batchTurn(cad::Application& app, const QString& path, const OptionReader& option)
{
    prepareBatchTurn(app);
    return visitDrawing(app, path, [&](cad::Document& doc) {
        if (!writeWindowTable(doc, option))
            return VisitEnd::Close;
        attempt([&] { app.ZoomExtents(); });
        return VisitEnd::Save;
    });
}

} // namespace

void AddJoinTableToDrawing(Context& ctx, const OptionReader& option)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Activate}, cad::ConnectFailure::Unavailable);
    if (!app)
        return;
    cad::Document* doc = nullptr;
    if (!attempt([&] { doc = &app->ActiveDocument(); }))
        return;
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 1); });
    writeWindowTable(*doc, option);
    attempt([&] { doc->Utility().Prompt(QStringLiteral("OK！finish")); });
}

void AddJoinTableToFiles(Context& ctx, const OptionReader& option)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::NotStarted);
    if (!app)
        return;
    // The window's own file dialog, apart from the main window's. Its list
    // of paths is taken as it comes, so names with blanks stay whole.
    FileDialogRequest request;
    request.title = QStringLiteral("批量注记接合表数据");
    request.filter = QStringLiteral("所有文件(*%1)|*%1").arg(cad::kDrawingExtension);
    request.multiSelect = true;
    QStringList files;
    for (const QString& p : ctx.ui().openFiles(request))
        if (!TrimBlanks(p).isEmpty())
            files << paths::toWindows(p);
    if (files.isEmpty())
        return;
    int notSaved = 0;
    for (const QString& path : files)
        notSaved += batchTurn(*app, path, option) == Visited::NotSaved;
    batchFinished(*app, notSaved);
}

void jhbCommand2_Click(Context& ctx, const OptionReader& option)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::NotStarted);
    if (!app)
        return;
    int notSaved = 0;
    const BatchEnd end = DwgFolderListing(
        ctx, kFolderPrompt,
        [&](const QString& path) {
            notSaved += batchTurn(*app, path, option) == Visited::NotSaved;
            return true;
        },
        [&](const QString&) { activateHost(*app); });
    if (end == BatchEnd::Done)
        batchFinished(*app, notSaved);
}

void jhbCommand1_Click(Context& ctx, const std::function<bool()>& ticked, const OptionReader& option)
{
    if (ticked())
        AddJoinTableToFiles(ctx, option);
    if (!ticked())
        AddJoinTableToDrawing(ctx, option);
}

} // namespace kelvor::sheets
