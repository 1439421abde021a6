#include "height_input.h"

#include "accuracy_stats.h"
#include "result_files.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::quelt {

namespace {

// 1-based cut: length characters from start; a start below 1 or a negative
// length cannot be cut.
QString cut(const QString& s, int start, int length)
{
    if (start < 1 || length < 0)
        raise(err::InvalidArgument);
    return s.mid(start - 1, length);
}

QString dropTrailing(const QString& s, int count)
{
    return s.left(s.size() - count);
}

} // namespace

int buildHeightAdjustmentInput(TextReader& source, const QString& firstHeight, const QString& lastHeight,
                               QStringList& lines)
{
    const QString comma = QStringLiteral(",");
    lines.append(QStringLiteral("A"));
    int records = 0;
    bool lastFull = true;
    QString closing; // the name after the last record's ">"
    while (!source.atEnd()) {
        const QString line = source.readLine();
        if (!TrimBlanks(line).contains(QLatin1Char('>')))
            continue;
        ++records;
        QString record[8];
        for (QString& l : record)
            l = source.readLine();

        const QString r = TrimBlanks(line);
        const int n = int(r.size());
        const int from = n / 2;
        const qsizetype dash = r.indexOf(QLatin1Char('-'));
        const QString f = TrimBlanks(dash < 0 ? r : r.left(dash));
        if (from < 1)
            raise(err::InvalidArgument);
        qsizetype p = r.indexOf(QLatin1Char('>'), from - 1) + 1;
        if (p == 0)
            p = n + 1;
        const QString m = TrimBlanks(cut(r, halfOf(n), int(p) - from - 3));

        const QString line2 = TrimBlanks(record[1]);
        const double a2 = StrictNumber(line2.left(9));
        const double b2 = StrictNumber(line2.right(9));
        const QString line8 = TrimBlanks(record[7]);
        const double a8 = LeadingNumber(line8.left(10));
        const double b8 = LeadingNumber(line8.right(10));

        if (m != QLatin1String("0")) {
            lines.append(QStringList{f, NumberText(a8), NumberText(a2), m, NumberText(b8), NumberText(b2)}.join(comma));
            lastFull = true;
        } else {
            const QString head = TrimBlanks(r.left(30));
            const qsizetype gt = head.indexOf(QLatin1Char('>'));
            if (gt < 0)
                raise(err::InvalidArgument);
            const QString z = TrimBlanks(head.mid(gt + 1));
            lines.append(QStringList{f, NumberText(a8), NumberText(a2), z}.join(comma));
            lastFull = false;
        }
        closing = TrimBlanks(r.mid(p));
    }
    if (records == 0)
        raise(err::InvalidArgument);

    const QString first = TrimBlanks(firstHeight);
    const QString last = TrimBlanks(lastHeight);
    if (lastFull) {
        lines.append(QStringList{closing, first, last}.join(comma));
    } else {
        lines.append(QStringList{first, last}.join(comma));
    }
    lines.append(QStringLiteral("B"));
    return lastFull ? 2 * records + 1 : 2 * records;
}

QString heightAdjustmentInputPath(const QString& chosen)
{
    const qsizetype sep = std::max(chosen.lastIndexOf(QLatin1Char('\\')), chosen.lastIndexOf(QLatin1Char('/')));
    const QString file = chosen.mid(sep + 1);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot < 1)
        raise(err::InvalidArgument);
    return chosen.left(sep + 1) + dropTrailing(file.left(dot), 1) + QStringLiteral("H.IN");
}

QString heightInputScratch()
{
    return paths::scratch(QStringLiteral("quelt_hin.tmp"));
}

void Command7_Click(Context& ctx, FileDialogRequest& dialog, const QString& firstHeight, const QString& lastHeight)
{
    Ui& ui = ctx.ui();
    dialog.filter = QStringLiteral("高差计算结果文件(*.ou)|*.ou");
    dialog.multiSelect = false;
    const QString chosen = TrimBlanks(ui.openFile(dialog));
    dialog.fileName = chosen;
    if (chosen.isEmpty())
        return;

    QStringList lines;
    bool scratchWritten = false;
    try {
        TextReader source = openInFolder(chosen);
        const int count = buildHeightAdjustmentInput(source, firstHeight, lastHeight, lines);
        writeTextLines(heightInputScratch(), lines);
        scratchWritten = true;

        const QString target = heightAdjustmentInputPath(chosen);
        lines[1] = QString::number(count) + QLatin1Char(',') + lines[1];
        writeTextLines(target, lines);
        ui.message(QStringLiteral("已经生成文件：") + target, QStringLiteral("提醒"), Icon::Exclamation);
    } catch (const RunError& e) {
        if (!scratchWritten && !lines.isEmpty()) {
            try {
                writeTextLines(heightInputScratch(), lines); // what was made so far
            } catch (const RunError&) {
            }
        }
        if (e.number() == err::PathNotFound)
            ui.message(QStringLiteral("路径没找到！可能是目录名与导线第一个点名不相符！！"), QStringLiteral("错误"),
                       Icon::Critical);
        else
            ui.message(QStringLiteral("数据结构不对或其它。"), QStringLiteral("错误"), Icon::Critical);
    }
}

} // namespace kelvor::quelt
