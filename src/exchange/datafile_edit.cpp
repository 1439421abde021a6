#include "datafile_edit.h"

#include "pcy_tools.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::exchange {

namespace {

const QString StationHeading = QStringLiteral("[STATION]");
const QString ObservationHeading = QStringLiteral("[OBSER]");
constexpr int ObservationFields = 14;

QString nameKey(const QString& name)
{
    return TrimBlanks(name).toUpper();
}

// The edited text goes to the scratch file first, then replaces the data
// file in one step, so the data file is either the old or the new text.
void storeEdit(const QString& scratch, const QString& dataFile, const QStringList& lines)
{
    writeTextLines(scratch, lines);
    writeTextLines(dataFile, lines);
}

} // namespace

std::optional<QString> rewriteKnownStation(const QString& stationLine, const QString& knownPointsPath)
{
    const QString key = nameKey(CommaField(stationLine, 1));
    std::optional<QString> result;
    TextReader known(knownPointsPath);
    do {
        const QString point = known.readLine();
        if (nameKey(orEmpty(BlankField(point, 1))) != key)
            continue;
        const QStringList fields{CommaField(stationLine, 1),       CommaField(stationLine, 2),
                                 orEmpty(BlankField(point, 2)),    orEmpty(BlankField(point, 3)),
                                 orEmpty(BlankField(point, 4)),    CommaField(stationLine, 6),
                                 CommaField(stationLine, 7),       CommaField(stationLine, 8)};
        result = fields.join(QLatin1Char(','));
    } while (!known.atEnd());
    return result;
}

void editKnownPoints(const QStringList& data, const QString& knownPointsPath, QStringList& out,
                     const std::function<void(const QString& name)>& missing)
{
    for (qsizetype i = 0; i < data.size(); ++i) {
        out.append(data[i]);
        if (TrimBlanks(data[i]) != StationHeading)
            continue;
        while (++i < data.size()) {
            const QString& line = data[i];
            if (TrimBlanks(line).isEmpty()) {
                out.append(QString());
                break;
            }
            if (CommaField(line, 2) == QLatin1String("11")) {
                if (const auto rewritten = rewriteKnownStation(line, knownPointsPath)) {
                    out.append(*rewritten);
                    continue;
                }
                missing(CommaField(line, 1));
            }
            out.append(line);
        }
    }
}

std::optional<QString> findEstimate(const QString& estimatePath, const QString& station, const QString& target)
{
    const QString s = station.toUpper();
    const QString t = target.toUpper();
    TextReader table(estimatePath);
    do {
        const QString line = table.readLine();
        const QString value = CommaField(line, 9);
        if (CommaField(line, 1).toUpper() == s && CommaField(line, 2).toUpper() == t)
            return value;
    } while (!table.atEnd());
    return std::nullopt;
}

QStringList editEstimates(const QStringList& data, const QString& estimatePath)
{
    QStringList out;
    qsizetype i = 0;
    while (i < data.size()) {
        out.append(data[i]);
        if (TrimBlanks(data[i++]) == ObservationHeading)
            break;
    }
    for (; i < data.size(); ++i) {
        const QString& line = data[i];
        if (TrimBlanks(line).isEmpty()) {
            out.append(line);
            continue;
        }
        QStringList fields;
        for (int n = 1; n <= ObservationFields; ++n)
            fields.append(CommaField(line, n));
        if (const auto estimate = findEstimate(estimatePath, fields[0], fields[1]))
            fields[3] = *estimate;
        out.append(fields.join(QLatin1Char(',')));
    }
    return out;
}

void huoquyichengguo_Click(Context& ctx)
{
    const QString known = TrimBlanks(ctx.setting(QStringLiteral("已知点成果=")));
    if (!textFileExists(known)) {
        ctx.ui().message(QStringLiteral("不能找到已知点坐标文件，请在参数设定中更改！"), QStringLiteral("错误"),
                         Icon::Critical);
        return;
    }
    const QString dataFile = chooseOneFile(ctx, QStringLiteral("选择文件"), QStringLiteral("所有文件(*.*)|*.*"));
    if (dataFile.isEmpty())
        return;

    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    QStringList out;
    bool started = false; // watch.txt is rewritten once the data file is open
    try {
        const QStringList data = readTextLines(dataFile);
        started = true;
        editKnownPoints(data, known, out, [&ctx](const QString& name) {
            ctx.ui().message(QStringLiteral("不能找到已知点：") + name, QStringLiteral("提示"), Icon::Exclamation);
        });
        storeEdit(watch, dataFile, out);
    } catch (const RunError& e) {
        try {
            if (started)
                writeTextLines(watch, out); // the scratch copy keeps what was done
        } catch (const RunError&) {
        }
        ctx.ui().message(failureNumber(e.number()));
        return;
    }
    ctx.ui().message(QStringLiteral("处理完成！更改后的文件为原来的文件名。"), QStringLiteral("提示"),
                     Icon::Exclamation);
}

void printoutgxb_Click(Context& ctx)
{
    const QString filter = QStringLiteral("文本文件(*.txt)|*.txt");
    const QString estimates = chooseOneFile(ctx, QStringLiteral("选择概算值文件"), filter);
    if (estimates.isEmpty())
        return;
    const QString dataFile = chooseOneFile(ctx, QStringLiteral("选择导线文件"), filter);
    if (dataFile.isEmpty())
        return;

    try {
        const QStringList out = editEstimates(readTextLines(dataFile), estimates);
        storeEdit(QStringLiteral("d:\\bak1.txt"), dataFile, out);
    } catch (const RunError& e) {
        ctx.ui().message(QStringLiteral("错误号:") + SignedNumberText(e.number()), QStringLiteral("错误"),
                         Icon::Critical);
        return;
    }
    ctx.ui().openTextWindow(paths::resolve(dataFile));
}

} // namespace kelvor::exchange
