#include "data_file.h"

#include "sheet.h"
#include "sheet_rules.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::traverse {

namespace {

QString field(const QString& line, int n)
{
    return selecttx(line, n);
}

DataKnownPoint knownPoint(const QString& line, int first, bool withHeight)
{
    DataKnownPoint p;
    p.name = field(line, first);
    p.x = field(line, first + 1);
    p.y = field(line, first + 2);
    if (withHeight)
        p.h = field(line, first + 3);
    return p;
}

} // namespace

TraverseData ReadTraverseDataFile(const QString& path)
{
    // First pass: the count of lines up to and with the end line.
    int count = 0;
    {
        TextReader reader(path);
        if (reader.atEnd())
            raise(err::InputPastEnd);
        bool ended = false;
        while (!reader.atEnd()) {
            ++count;
            if (TrimBlanks(reader.readLine()) == QLatin1String("EOF")) {
                ended = true;
                break;
            }
        }
        // A file that lost its end marker still keeps its last station.
        if (!ended)
            ++count;
    }

    TraverseData data;
    data.N = count - 3;

    TextReader reader(path);
    const QString line1 = reader.readLine();
    data.startStation = knownPoint(line1, 1, true);
    data.startOrientation = knownPoint(line1, 5, false);
    const QString line2 = reader.readLine();
    data.endStation = knownPoint(line2, 1, true);
    data.endOrientation = knownPoint(line2, 5, false);

    for (int i = 1; i <= data.N - 1; ++i) {
        const QString line = reader.readLine();
        DataStation s;
        s.name = field(line, 1);
        s.angle = field(line, 2);
        s.distance = field(line, 3);
        s.foreVertical = field(line, 4);
        s.foreInstrument = field(line, 5);
        s.foreTarget = field(line, 6);
        s.backVertical = field(line, 7);
        s.backInstrument = field(line, 8);
        s.backTarget = field(line, 9);
        data.stations.push_back(s);
    }
    const QString lastLine = reader.readLine();
    data.last.name = field(lastLine, 1);
    data.last.angle = field(lastLine, 2);
    return data;
}

QStringList traverseDataLines(const TraverseSheet& sheet, bool trimLastStation)
{
    const auto join = [&](std::initializer_list<int> cells) {
        QStringList f;
        for (int i : cells)
            f << sheet.text1(i);
        return f.join(QLatin1Char(','));
    };
    QStringList lines;
    lines << join({3, 4, 5, 6, 0, 1, 2});
    lines << join({10, 11, 12, 13, 7, 8, 9});
    const int rows = sheet.rowsInUse();
    for (int r = 0; r < rows; ++r) {
        QStringList f;
        for (int c = 0; c < TraverseSheet::Columns; ++c)
            f << sheet.text5(r * TraverseSheet::Columns + c);
        lines << f.join(QLatin1Char(','));
    }
    QString name = sheet.text5(108);
    QString angle = sheet.text5(109);
    if (trimLastStation) {
        name = TrimBlanks(name);
        angle = TrimBlanks(angle);
    }
    lines << name + QLatin1Char(',') + angle;
    lines << QStringLiteral("EOF");
    return lines;
}

QString scratchDataFilePath()
{
    return paths::scratch(QStringLiteral("read.dx"));
}

bool writeTraverseDataFile(const TraverseSheet& sheet, const QString& path, bool trimLastStation)
{
    try {
        writeTextLines(path, traverseDataLines(sheet, trimLastStation));
        return true;
    } catch (const RunError&) {
        return false;
    }
}

void savedx(const TraverseSheet& sheet)
{
    writeTraverseDataFile(sheet, scratchDataFilePath());
}

void savedx(Context& ctx)
{
    if (ctx.sheet())
        savedx(*ctx.sheet());
}

void printsj_Click(Context& ctx)
{
    const QString path = scratchDataFilePath();
    if (ctx.sheet())
        writeTraverseDataFile(*ctx.sheet(), path, true);
    ctx.ui().message(QStringLiteral("已经生成") + path + QStringLiteral("数据文件"));
    ctx.ui().openTextWindow(path);
}

void newfile_Click(Context& ctx)
{
    Command9_Click(ctx);
}

} // namespace kelvor::traverse
