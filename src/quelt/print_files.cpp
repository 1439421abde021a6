#include "print_files.h"

#include "accuracy_stats.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace kelvor::quelt {

QStringList traverseFolders(const QString& resultFolder)
{
    const QDir dir(paths::resolve(resultFolder));
    if (!dir.exists())
        return {};
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

void Command19_Click(Context& ctx)
{
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    writeTextLines(watch, traverseFolders(ctx.setting(QStringLiteral("MydxfileSavepath=")) + QStringLiteral("\\")));
    ctx.ui().openTextWindow(watch);
}

void Command15_Click(Context& ctx, FileDialogRequest& dialog)
{
    Ui& ui = ctx.ui();
    const QString sequencePath = chooseSequenceFile(ui, dialog);
    if (TrimBlanks(sequencePath).isEmpty())
        return;

    const QString resultKey = QStringLiteral("MydxfileSavepath=");
    int k = 1;
    QString name;
    std::unique_ptr<TextWriter> print;
    try {
        TextReader sequence(sequencePath);
        ui.processEvents();
        for (; !sequence.atEnd(); ++k) {
            name = TrimBlanks(sequence.readLine());
            const QString printPath = ctx.setting(resultKey) + QStringLiteral("\\CG-") + QString::number(k) +
                                      QStringLiteral(".txt");
            if (!QFileInfo(paths::resolve(printPath)).absoluteDir().exists())
                raise(err::PathNotFound);
            print = std::make_unique<TextWriter>(printPath);
            for (const char* suffix : {".ou", "G.ou", "H.ou"}) {
                TextReader source = openInFolder(traverseFile(ctx, name, QString::fromLatin1(suffix)));
                do
                    print->writeLine(source.readLine()); // an empty source fails here
                while (!source.atEnd());
            }
            print->commit();
            print.reset();
        }
    } catch (const RunError& e) {
        if (print) {
            try {
                print->commit(); // the lines copied so far stay
            } catch (const RunError&) {
            }
        }
        const QString where = SignedNumberText(k) + QStringLiteral(" 行的") + name + QStringLiteral("。");
        if (e.number() == err::PathNotFound)
            ui.message(QStringLiteral("文件路径不正确,发生在") + where, QStringLiteral("错误"), Icon::Critical);
        else
            ui.message(QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在") + where +
                           QStringLiteral("错误号：") + SignedNumberText(e.number()),
                       QStringLiteral("提示"), Icon::Critical);
        return;
    }
    ui.message(QStringLiteral("处理完成！文件保存在[") + ctx.setting(resultKey) +
                   QStringLiteral("]目录下的以CG开头的文本文件。"),
               QStringLiteral("提示"), Icon::Exclamation);
}

} // namespace kelvor::quelt
