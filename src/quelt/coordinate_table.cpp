#include "coordinate_table.h"

#include "result_files.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>
#include <cmath>
#include <memory>
#include <vector>

namespace kelvor::quelt {

namespace {

// Padded to 10 characters; a longer name is kept whole with nothing after it.
QString paddedName(const QString& name)
{
    return name.size() < 10 ? name + QString(10 - name.size(), QLatin1Char(' ')) : name;
}

int decimals(Context& ctx, const QString& key)
{
    return int(std::lround(std::nearbyint(StrictNumber(ctx.setting(key)))));
}

QString row(Context& ctx, const ResultPoint& p, const QString& height)
{
    const int pm = decimals(ctx, QStringLiteral("QW_PM="));
    const int gc = decimals(ctx, QStringLiteral("QW_GC="));
    return paddedName(p.name) + FormatFixed(p.x, pm) + QStringLiteral("     ") + FormatFixed(p.y, pm) +
           QStringLiteral("     ") + FormatFixed(height, gc);
}

// The open output files; on any end they are closed with what they hold.
class Outputs {
public:
    TextWriter& add(const QString& path)
    {
        files_.push_back(std::make_unique<TextWriter>(path));
        return *files_.back();
    }
    // Closes every file; a failure to write one is raised.
    void commitAll()
    {
        for (auto& f : files_)
            f->commit();
    }
    // Closes every file as far as it can, on the way out of a failure.
    void closeAll()
    {
        for (auto& f : files_) {
            try {
                f->commit();
            } catch (const RunError&) {
            }
        }
    }

private:
    std::vector<std::unique_ptr<TextWriter>> files_;
};

const QString kOrientationQuestion = QStringLiteral(
    "此选项在导线成果表中会出现已知定向点坐标,对成果表的输出没有用处。\r"
    "如需用此文件展点则建议,并请在以下的问答中选择 <否> 。\r"
    "提示：由于Quelt中的处理点号有错误,定向点点号可能错误，但本导线定向的坐标是对的。\r"
    "是否生成定向点的数据！！！(不推荐)");

} // namespace

QString coordinateTablePath(const QString& planeResult)
{
    const qsizetype sep = std::max(planeResult.lastIndexOf(QLatin1Char('\\')), planeResult.lastIndexOf(QLatin1Char('/')));
    const QString folder = planeResult.left(sep + 1);
    const QString file = planeResult.mid(sep + 1);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        raise(err::InvalidArgument);
    return folder + file.left(dot) + QStringLiteral(".XYH");
}

void makeCoordinateTable(Context& ctx, const QString& planeResult, const QString& heightResult)
{
    Ui& ui = ctx.ui();
    const QString plane = TrimBlanks(planeResult);
    Outputs out;
    TextWriter& script = out.add(paths::programDir() + QStringLiteral("/ZD.scr"));
    script.writeLine(QStringLiteral("pline"));
    if (plane.isEmpty()) {
        out.closeAll();
        ui.message(QStringLiteral("文件名不能为空！"), QStringLiteral("提示"), Icon::Critical);
        return;
    }

    try {
        const QString tablePath = coordinateTablePath(plane);
        if (!QFileInfo(QFileInfo(paths::resolve(tablePath)).absolutePath()).isDir())
            raise(err::PathNotFound);
        TextWriter& watch = out.add(paths::scratch(QStringLiteral("watch.txt")));
        TextWriter& table = out.add(tablePath);
        const auto both = [&](const QString& line) {
            watch.writeLine(line);
            table.writeLine(line);
        };

        const bool orientation = ui.message(kOrientationQuestion, QStringLiteral("定向点"), Icon::Exclamation,
                                            Buttons::YesNo, 2) == Answer::Yes;
        if (ui.message(QStringLiteral("是否要坐标表的表头！！"), QStringLiteral("表头"), Icon::Exclamation,
                       Buttons::YesNo) == Answer::Yes)
            both(QStringLiteral(" 点名          X坐标         Y坐标          H高程"));

        const QStringList planeLines = readTextLines(plane);
        NamePair names;
        NamePair xs;
        NamePair ys;
        if (orientation) {
            if (planeLines.size() < 12)
                raise(err::InputPastEnd);
            names = orientationNames(planeLines[9]);
            xs = orientationX(planeLines[10]);
            ys = orientationY(planeLines[11]);
            both(names.start + QStringLiteral("    ") + xs.start + QStringLiteral("   ") + ys.start +
                 QStringLiteral(" (定向点)"));
        }

        ResultPointReader points(planeLines);
        if (!points.looksLikePlaneResult()) {
            out.closeAll();
            ui.message(QStringLiteral("系统检测到该文件不是正确的导线文件，请核准！！"), QStringLiteral("重要提示"),
                       Icon::Information);
            return;
        }

        const QStringList heightLines = readTextLines(TrimBlanks(heightResult));
        const ResultPoint first = *points.next();
        both(row(ctx, first, heightOf(heightLines, first.name).value_or(QString())));

        QStringList labels;
        while (const auto p = points.next()) {
            const auto h = heightOf(heightLines, p->name);
            if (!h) {
                out.closeAll();
                ui.message(QStringLiteral("系统检测到该文件不是正确的高程数据文件，请核准！！"),
                           QStringLiteral("重要提示"), Icon::Information);
                return;
            }
            both(row(ctx, *p, *h));
            const QString at = p->y + QLatin1Char(',') + p->x;
            script.writeLine(at);
            labels << QStringLiteral("TEXt") << at << QStringLiteral("10") << QStringLiteral("0") << paddedName(p->name);
        }

        if (orientation)
            both(names.end + QStringLiteral("    ") + xs.end + QStringLiteral("     ") + ys.end +
                 QStringLiteral("      (定向点)"));
        script.writeLine();
        for (const QString& l : labels)
            script.writeLine(l);
        out.commitAll();
        ui.openTextWindow(tablePath);
    } catch (const RunError&) {
        out.closeAll();
        ui.message(QStringLiteral("错误的文件或文件名！"), QStringLiteral("提示"), Icon::Critical);
    }
}

} // namespace kelvor::quelt
