#include "folder_batch.h"

#include "pass_over.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>

namespace kelvor::sheets {

QStringList drawingFilesOf(const QString& folder)
{
    const QString base = folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
    const QString letters = cad::kDrawingExtension.mid(1); // "dxf": no dot needed
    QStringList out;
    const QDir dir(paths::resolve(folder));
    for (const QString& name : dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        const QString path = base + name;
        if (TrimBlanks(path).endsWith(letters, Qt::CaseInsensitive))
            out << path;
    }
    return out;
}

namespace {

void listingFailed(Context& ctx, const QString& what, const QString& file, const RunError& e)
{
    ctx.ui().message(what + QStringLiteral("\r") + file + QStringLiteral("\r") + errorReason(e.number()),
                     QStringLiteral("错误"), Icon::Critical);
}

} // namespace

BatchEnd DwgFolderListing(Context& ctx, const QString& prompt, const FileStep& step,
                          const AfterPicker& afterPicker)
{
    const QString folder = TrimBlanks(cad::getpath(ctx, prompt));
    if (afterPicker)
        afterPicker(folder);
    if (folder.isEmpty())
        return BatchEnd::Cancelled;
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    QStringList lines;
    try {
        writeTextLines(watch, drawingFilesOf(folder));
        lines = readTextLines(watch);
    } catch (const RunError& e) {
        listingFailed(ctx, QStringLiteral("无法写入或读取文件列表"), watch, e);
        return BatchEnd::Failed;
    }
    for (const QString& line : lines)
        if (!step(TrimBlanks(line)))
            return BatchEnd::Stopped;
    return BatchEnd::Done;
}

Visited visitDrawing(cad::Application& app, const QString& path,
                     const std::function<VisitEnd(cad::Document&)>& step)
{
    cad::Document* doc = nullptr;
    try {
        doc = &app.DocumentsOpen(path);
    } catch (const RunError&) {
        app.appendTranscript(QStringLiteral("\r\n无法打开图形文件: ") + path);
        return Visited::NotOpened;
    }
    attempt([&] { app.ZoomExtents(); });
    const VisitEnd end = step(*doc);
    if (end == VisitEnd::KeepOpen)
        return Visited::Done;
    bool saved = end != VisitEnd::SaveAsFailed;
    if (end == VisitEnd::Save && !attempt([&] { doc->Save(); })) {
        tellNotSaved(app, path);
        saved = false;
    }
    attempt([&] { doc->Close(); });
    return saved ? Visited::Done : Visited::NotSaved;
}

void tellNotSaved(cad::Application& app, const QString& path)
{
    app.appendTranscript(QStringLiteral("\r\n未能保存:") + path);
}

QString notSavedText(int count)
{
    return QStringLiteral("共有%1个图形文件未能保存！").arg(count);
}

void batchFinished(cad::Application& app, int notSaved)
{
    const QString text = notSaved > 0 ? notSavedText(notSaved) : QStringLiteral("已经完成该操作!");
    attempt([&] { app.ActiveDocument().Utility().Prompt(text); });
}

void prepareBatchTurn(cad::Application& app)
{
    attempt([&] { app.activate(app.Caption()); });
    attempt([&] { app.ActiveDocument().SetVariable(QStringLiteral("osmode"), 1); });
    attempt([&] { app.setVisible(true); });
    attempt([&] { app.activate(app.Caption()); });
}

} // namespace kelvor::sheets
