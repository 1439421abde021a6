#include "commands.h"

#include "closure.h"
#include "searches.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "traverse/data_file.h"

#include <optional>

namespace kelvor::blunder {

namespace {

enum class Source { Sheet, File };

// The file to search: the sheet's snapshot, or the file picked in the shared
// dialog ("" when the user cancelled it).
QString inputPath(Context& ctx, Source source)
{
    if (source == Source::Sheet) {
        traverse::savedx(ctx);
        return traverse::scratchDataFilePath();
    }
    CommonDialog dialog(ctx);
    dialog.setTitle(QStringLiteral("选择导线数据文件"))
        .setFilter(QStringLiteral("所有文件(*.dx)|*.dx"))
        .setFileName(QString());
    const QString file = dialog.showOpen();
    return TrimBlanks(file).isEmpty() ? QString() : file;
}

void showBadNumber(Context& ctx, const QString& text)
{
    ctx.ui().message(text, QStringLiteral("提示"), Icon::Critical);
}

void show(Context& ctx, const Report& r)
{
    ctx.ui().message(r.text, r.title, r.icon);
}

bool isBadNumber(const RunError& e)
{
    return e.number() == err::TypeMismatch || e.number() == err::Overflow; // a number too large
}

bool isMissingFile(const RunError& e)
{
    return e.number() == err::FileNotFound || e.number() == err::PathNotFound;
}

// A file that cannot be read, or that holds no leg, is no traverse to
// search: the user hears so in the entry's words rather than nothing. A name
// typed into the dialog that names no file is said to be missing, not bad
// data.
std::optional<traverse::TraverseData> readInput(Context& ctx, const QString& path, Source source,
                                                const QString& badText)
{
    try {
        traverse::TraverseData data = traverse::ReadTraverseDataFile(path);
        if (data.N >= 2)
            return data;
    } catch (const RunError& e) {
        if (source == Source::File && isMissingFile(e)) {
            ctx.ui().message(missingFileText(path), QStringLiteral("错误"), Icon::Critical);
            return std::nullopt;
        }
    }
    showBadNumber(ctx, badText);
    return std::nullopt;
}

// The traverse of the chosen source; none when the user cancelled the file
// dialog or was told the input is bad or missing.
std::optional<traverse::TraverseData> loadInput(Context& ctx, Source source, const QString& badText)
{
    const QString path = inputPath(ctx, source);
    if (path.isEmpty())
        return std::nullopt;
    return readInput(ctx, path, source, badText);
}

// The busy picture, hidden again however the search ends.
class Busy {
public:
    explicit Busy(Ui& ui) : ui_(ui)
    {
        ui_.setBusy(true);
        ui_.processEvents();
    }
    ~Busy() { ui_.setBusy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    Ui& ui_;
};

void runAngleSearch(Context& ctx, Source source)
{
    const QString bad = source == Source::Sheet ? badNumberTwoLines() : badNumberOneLine();
    const std::optional<traverse::TraverseData> data = loadInput(ctx, source, bad);
    if (!data)
        return;

    Ui& ui = ctx.ui();
    const QString answer =
        ui.input(QStringLiteral("请输入要更改的秒数值(可正负号)！！ "), QStringLiteral("更改的秒值"), QStringLiteral("10"));
    const double lead = LeadingNumber(answer);
    if (!(lead > -200 && lead < 200)) {
        ui.message(QStringLiteral("更改的秒数值太大，不建议使用！！"), QStringLiteral("说明"), Icon::Information);
        return;
    }
    if (TrimBlanks(answer).isEmpty())
        return;
    try {
        const double seconds = StrictNumber(answer);
        const Traverse t = numericTraverse(*data);
        show(ctx, angleReport(seconds, angleSearch(t, seconds)));
    } catch (const RunError& e) {
        if (isBadNumber(e))
            showBadNumber(ctx, bad);
    }
}

void runDistanceSearch(Context& ctx, Source source)
{
    const QString bad = badNumberOneLine();
    const std::optional<traverse::TraverseData> data = loadInput(ctx, source, bad);
    if (!data)
        return;
    std::optional<Traverse> t;
    try {
        t = numericTraverse(*data);
    } catch (const RunError& e) {
        if (isBadNumber(e))
            showBadNumber(ctx, bad);
        return;
    }

    Ui& ui = ctx.ui();
    const QString answer =
        ui.input(QStringLiteral("请输入距离改正值上限(区分正负)！！ "), QStringLiteral("距离改正"), QStringLiteral("20"));
    if (answer.isEmpty())
        return;
    const double limit = LeadingNumber(answer);
    if (!distanceLimitAccepted(limit))
        return;

    std::optional<DistanceSearch> s;
    {
        Busy busy(ui);
        s = distanceSearch(*t, limit);
    }
    show(ctx, distanceReport(limit, *s));
}

void runRouteComparison(Context& ctx, Source source)
{
    const QString bad = source == Source::Sheet ? badNumberTwoLines() : badNumberOneLine();
    const std::optional<traverse::TraverseData> data = loadInput(ctx, source, bad);
    if (!data)
        return;
    try {
        const Traverse t = numericTraverse(*data);
        if (t.N < 3) {
            ctx.ui().message(noIntermediateStationText(), QStringLiteral("提示"), Icon::Exclamation);
            return;
        }
        const RouteComparison r = routeComparison(t);
        const QString watch = paths::scratch(QStringLiteral("watch.txt"));
        writeTextLines(watch, r.watchLines);
        show(ctx, routeReport(r, watch));
    } catch (const RunError& e) {
        if (source == Source::Sheet || isBadNumber(e))
            showBadNumber(ctx, bad);
    }
}

} // namespace

void Command38_Click(Context& ctx)
{
    runAngleSearch(ctx, Source::Sheet);
}

void jdgxselectfile_Click(Context& ctx)
{
    runAngleSearch(ctx, Source::File);
}

void qiujulizhi_Click(Context& ctx)
{
    runDistanceSearch(ctx, Source::Sheet);
}

void jigx_selectfile_Click(Context& ctx)
{
    runDistanceSearch(ctx, Source::File);
}

void Command41_Click(Context& ctx)
{
    runRouteComparison(ctx, Source::Sheet);
}

void zfkxjxselectfile_Click(Context& ctx)
{
    runRouteComparison(ctx, Source::File);
}

void Command44_Click(Context& ctx)
{
    const QString bad = badNumberTwoLines();
    const std::optional<traverse::TraverseData> data = loadInput(ctx, Source::Sheet, bad);
    if (!data)
        return;
    try {
        show(ctx, bearingReport(bearingSearch(numericTraverse(*data))));
    } catch (const RunError& e) {
        if (isBadNumber(e))
            showBadNumber(ctx, bad);
    }
}

void registerBlunderCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("Command38"), Command38_Click);
    registry.add(QStringLiteral("jdgxselectfile"), jdgxselectfile_Click);
    registry.add(QStringLiteral("qiujulizhi"), qiujulizhi_Click);
    registry.add(QStringLiteral("jigx_selectfile"), jigx_selectfile_Click);
    registry.add(QStringLiteral("Command41"), Command41_Click);
    registry.add(QStringLiteral("zfkxjxselectfile"), zfkxjxselectfile_Click);
    registry.add(QStringLiteral("Command44"), Command44_Click);
}

} // namespace kelvor::blunder
