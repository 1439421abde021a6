// 成果输出: the new points of a result document's coordinate table into
// watch.txt, from the open document or from several chosen ones.
#include "word_documents.h"
#include "word_support.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

namespace kelvor::exchange {

QStringList resultLines(const QStringList& cells)
{
    QStringList lines;
    const int groups = int(cells.size() / 5) - 1;
    for (int g = 1; g <= groups; ++g) {
        const int c = 5 * g; // cells c+1 .. c+5, from 0 here
        if (TrimBlanks(cells[c + 4]).startsWith(QStringLiteral("已知点")))
            continue;
        lines.append(cells[c] + QStringLiteral("   ") + cells[c + 1] + QStringLiteral("  ") + cells[c + 2]
                     + QStringLiteral("  ") + FormatPattern(cells[c + 3], QStringLiteral("0.000")));
    }
    return lines;
}

namespace {

// The cell texts of the last table, each without its end-of-cell mark.
QStringList lastTableCells(doc::Document& d)
{
    QStringList texts;
    for (doc::Range cell : d.table(d.tableCount()).range().cells()) {
        cell.moveEnd(1, -1);
        texts.append(cell.text());
    }
    return texts;
}

void writeLines(TextWriter& out, const QStringList& lines)
{
    for (const QString& line : lines)
        out.writeLine(line);
}

void commitQuietly(std::optional<TextWriter>& out)
{
    try {
        if (out)
            out->commit();
    } catch (const RunError&) {
    }
}

} // namespace

void shuchudangqiancg_Click(Context& ctx)
{
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    std::optional<TextWriter> out;
    try {
        cad::WordApplication& word = cad::ConnectToWord(ctx, cad::WordConnect::AttachShown);
        doc::Document& d = word.activeDocument();
        const int tables = d.tableCount();
        out.emplace(watch);
        if (tables == 0)
            raise(err::SubscriptOutOfRange);
        writeLines(*out, resultLines(lastTableCells(d)));
        out->commit();
    } catch (const RunError& e) {
        commitQuietly(out);
        reportWordError(ctx, WordCommand::CurrentResults, e, QString());
        return;
    }
    ctx.ui().openTextWindow(watch);
}

void piliangoutcg_Click(Context& ctx)
{
    CommonDialog dialog(ctx);
    dialog.setMultiSelect(true)
        .setTitle(QStringLiteral("选择平差易成果文件"))
        .setFilter(QStringLiteral("成果文件(*.doc)|*.doc;*.docx"))
        .setFileName(QString());
    const QStringList chosen = dialog.showOpenFiles();
    if (chosen.isEmpty())
        return;
    std::optional<CaptionProgress> caption(std::in_place, ctx);
    const QString log = QStringLiteral("d:\\bak1.txt");
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    std::optional<TextWriter> logOut;
    std::optional<TextWriter> out;
    QString document;
    try {
        logOut.emplace(log);
        out.emplace(watch);
        for (int k = 1; k <= chosen.size(); ++k) {
            document = chosen[k - 1];
            // The dialog hands back full paths; a single choice is processed too.
            const QString name = QFileInfo(QString(document).replace(u'\\', u'/')).fileName();
            caption->show(QStringLiteral("处理：") + name);
            StartedWord word(ctx, false);
            doc::Document& d = word->open(document);
            const int tables = d.tableCount();
            if (tables > 0) {
                logOut->writeLine(QString::number(k) + name + QStringLiteral("成果表格:") + QString::number(tables));
                writeLines(*out, resultLines(lastTableCells(d)));
            }
            word->close(d);
        }
        logOut->commit();
        out->commit();
    } catch (const RunError& e) {
        commitQuietly(logOut);
        commitQuietly(out);
        reportWordError(ctx, WordCommand::BatchResults, e, document);
        return;
    }
    caption.reset();
    ctx.ui().openTextWindow(watch);
    ctx.ui().openTextWindow(paths::resolve(log));
}

} // namespace kelvor::exchange
