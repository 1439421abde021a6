#include "orient_names.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <cmath>

namespace kelvor::quelt {

namespace {

const QString kPlaneTitle = QStringLiteral("导 线 平 差 计 算");

} // namespace

OrientationXValues orientationXValues(const QString& line11)
{
    const QString t = TrimBlanks(line11);
    const int n = int(t.size());
    const int h = halfOf(n);

    // Start: the first "=" of the first half; the value runs to the middle.
    const int p = int(t.left(h).indexOf(QLatin1Char('='))) + 1;
    const int count = halfOf(double(n) - 2.0 * p); // n/2 - p, halves to even
    if (count < 0)
        raise(err::InvalidArgument);
    const double start = LeadingNumber(TrimBlanks(t.mid(p, count)));

    // End: the first "=" from the middle (whole part) on.
    const int from = n / 2;
    if (from < 1)
        raise(err::InvalidArgument);
    const int q = int(t.indexOf(QLatin1Char('='), from - 1)) + 1;
    const double end = LeadingNumber(TrimBlanks(t.mid(q, h)));
    return {start, end};
}

NamePair namesByX(const QStringList& knownPoints, const OrientationXValues& x)
{
    NamePair names;
    for (const QString& line : knownPoints) {
        const QString name = orEmpty(BlankField(line, 1));
        const double value = LeadingNumber(orEmpty(BlankField(line, 2)));
        if (value == x.start)
            names.start = name;
        if (value == x.end)
            names.end = name;
    }
    return names;
}

QString orientationNamesLine(const NamePair& names)
{
    return QString(11, QLatin1Char(' ')) + TrimBlanks(names.start) + QString(21, QLatin1Char(' ')) +
           TrimBlanks(names.end);
}

void Command60_Click(Context& ctx, FileDialogRequest& dialog, const QString& knownPointsPath)
{
    Ui& ui = ctx.ui();
    dialog.title = QStringLiteral("选择文件");
    dialog.filter = QStringLiteral("平面结果文件(*.OU)|*.OU");
    dialog.multiSelect = false;
    const QString path = ui.openFile(dialog);
    dialog.fileName = path;
    if (path.isEmpty())
        return;

    try {
        const QStringList lines = readTextLines(path);
        if (lines.isEmpty())
            raise(err::InputPastEnd);
        if (TrimBlanks(lines.first()) != kPlaneTitle) {
            ui.message(QStringLiteral("不是正确的导线结果文件！请核实。"), QStringLiteral("错误"), Icon::Critical);
            return;
        }
        if (lines.size() < 12)
            raise(err::InputPastEnd);
        const OrientationXValues x = orientationXValues(lines.at(10));
        const NamePair names = namesByX(readTextLines(TrimBlanks(knownPointsPath)), x);

        // The result file is replaced whole or not at all.
        TextWriter out(path);
        for (qsizetype i = 0; i < lines.size(); ++i)
            out.writeLine(i == 9 ? orientationNamesLine(names) : lines.at(i));
        out.commit();
    } catch (const RunError&) {
        ui.message(QStringLiteral("未知的错误！"), QStringLiteral("错误"), Icon::Critical);
        return;
    }
    ui.openTextWindow(path);
}

} // namespace kelvor::quelt
