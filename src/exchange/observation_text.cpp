#include "observation_text.h"

#include "pcy_tools.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <optional>

namespace kelvor::exchange {

namespace {

const QString StationMark = QStringLiteral("测站：");
const QString DataFilter = QStringLiteral("数据文件(*.txt)");

QString watchPath()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

} // namespace

bool isStationLine(const QString& line)
{
    return TrimBlanks(line).startsWith(StationMark);
}

QString stationName(const QString& line)
{
    const QString t = TrimBlanks(line);
    if (line.size() >= 30)
        return TrimBlanks(t.mid(3, 10));
    return TrimBlanks(t.mid(3));
}

int countStations(const QStringList& lines)
{
    int n = 0;
    for (const QString& l : lines) {
        if (isStationLine(l))
            ++n;
    }
    return n;
}

QString stationCountMessage(int count)
{
    return QStringLiteral("总测站") + QString::number(count) + QStringLiteral("个");
}

QStringList repeatedStations(const QStringList& lines)
{
    QStringList out;
    std::optional<QString> previous; // none before the first station
    for (const QString& l : lines) {
        if (!isStationLine(l))
            continue;
        const QString name = stationName(l);
        if (previous && TrimBlanks(name) == TrimBlanks(*previous))
            out.append(QString::number(out.size() + 1) + name + QStringLiteral("重站"));
        previous = name;
    }
    return out;
}

QString observationTextPath(const QString& folder, const QString& sequenceLine)
{
    return folder + QLatin1Char('\\') + sequenceLine + QStringLiteral("gc.txt");
}

void hubinggcsj_Click(Context& ctx)
{
    const QString sequence = chooseOneFile(ctx, QStringLiteral("观测数据合并"), DataFilter);
    if (sequence.isEmpty())
        return;
    const QString folder = ctx.ui().pickFolder(QStringLiteral("请选择要操作的目录"));
    if (folder.isEmpty())
        return;

    const QString watch = watchPath();
    TextWriter out(watch);
    int stations = 0;
    // A missing file ends the join; a file that cannot be read otherwise
    // adds nothing and the join goes on.
    auto readOrSkip = [](const QString& path) {
        try {
            return readTextLines(path);
        } catch (const RunError& e) {
            if (e.number() == err::FileNotFound)
                throw;
            return QStringList();
        }
    };
    try {
        for (const QString& name : readOrSkip(sequence)) {
            const QStringList lines = readOrSkip(observationTextPath(folder, name));
            for (const QString& l : lines)
                out.writeLine(l);
            stations += countStations(lines);
        }
    } catch (const RunError&) {
        try {
            out.commit(); // what was copied stays in watch.txt
        } catch (const RunError&) {
        }
        return;
    }
    try {
        out.commit();
    } catch (const RunError&) {
        // Passed over like the other steps: the count is still shown.
    }
    ctx.ui().message(stationCountMessage(stations));
    ctx.ui().openTextWindow(watch);
}

void huoqucezhanshu_Click(Context& ctx)
{
    const QString path = chooseOneFile(ctx, QStringLiteral("观测数据合并"), DataFilter);
    if (path.isEmpty())
        return;
    QStringList lines;
    try {
        lines = readTextLines(path);
    } catch (const RunError&) {
        return;
    }
    ctx.ui().message(stationCountMessage(countStations(lines)));
    ctx.ui().openTextWindow(paths::resolve(path));
}

void findchongfucezhan_Click(Context& ctx)
{
    const QString path = chooseOneFile(ctx, QStringLiteral("观测数据"), DataFilter);
    if (path.isEmpty())
        return;
    const QString watch = watchPath();
    try {
        TextReader in(path);
        TextWriter out(watch);
        // The text is read to its end after a first line: an empty text
        // reads past its end (62) and leaves watch.txt emptied.
        QStringList lines;
        try {
            do
                lines.append(in.readLine());
            while (!in.atEnd());
        } catch (const RunError&) {
            out.commit();
            throw;
        }
        for (const QString& line : repeatedStations(lines))
            out.writeLine(line);
        out.commit();
    } catch (const RunError& e) {
        if (e.number() != err::FileNotFound)
            ctx.ui().message(failureNumber(e.number()));
        return;
    }
    ctx.ui().openTextWindow(watch);
}

} // namespace kelvor::exchange
