#include "export.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "traverse/sheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

namespace kelvor::quelt {

using traverse::TraverseSheet;

namespace {

constexpr int Cols = TraverseSheet::Columns;
constexpr int LastName = 108;
constexpr int LastAngle = 109;

// A known coordinate as typed, or the word Quelt shows in its place.
QString coordinate(const TraverseSheet& sheet, int cell, const char* placeholder)
{
    const QString t = sheet.text1(cell);
    return TrimBlanks(t).isEmpty() ? QString::fromUtf8(placeholder) : t;
}

QString cell(const TraverseSheet& sheet, int index)
{
    return TrimBlanks(sheet.text5(index));
}

QString joined(const QStringList& fields)
{
    return fields.join(QLatin1Char(','));
}

// Row i (0-based) as name, angle, distance.
QString planeRow(const QStringList& values, int i)
{
    return joined({values[i * Cols], values[i * Cols + 1], values[i * Cols + 2]});
}

QStringList planeLines(const TraverseSheet& sheet, const QStringList& values, int n)
{
    QStringList out;
    out << QStringLiteral("A");
    out << QStringLiteral("4,") + joined({coordinate(sheet, 4, "测站X"), coordinate(sheet, 5, "测站Y"),
                                          coordinate(sheet, 1, "定向X"), coordinate(sheet, 2, "定向Y")});
    out << joined({coordinate(sheet, 11, "测站X"), coordinate(sheet, 12, "测站Y"), coordinate(sheet, 8, "定向X"),
                   coordinate(sheet, 9, "定向Y")});
    out << QString::number(n + 1) + QLatin1Char(',') + planeRow(values, 0);
    for (int i = 1; i < n; ++i)
        out << planeRow(values, i);
    out << joined({cell(sheet, LastName), cell(sheet, LastAngle), QStringLiteral("0")});
    out << QStringLiteral("1,2,3,4");
    out << QStringLiteral("B");
    return out;
}

QStringList heightLines(const TraverseSheet& sheet, const QStringList& values, int n)
{
    QStringList out;
    out << QStringLiteral("A");
    for (int i = 0; i < n; ++i) {
        const QString next = i + 1 < n ? values[(i + 1) * Cols] : cell(sheet, LastName);
        QStringList f{values[i * Cols], next};
        for (int c = 2; c < Cols; ++c)
            f << values[i * Cols + c];
        out << joined(f);
    }
    out << QStringLiteral("B");
    return out;
}

QStringList rowValues(const TraverseSheet& sheet, int n)
{
    QStringList v;
    for (int k = 0; k < n * Cols; ++k)
        v << cell(sheet, k);
    return v;
}

QString knownCellName(int i)
{
    static const char* const points[] = {"起始定向点", "起始测站", "终止定向点", "终止测站"};
    const int group = i < 3 ? 0 : i < 7 ? 1 : i < 10 ? 2 : 3;
    static const int xCell[] = {1, 4, 8, 11};
    return QString::fromUtf8(points[group]) + (i == xCell[group] ? QStringLiteral("的X坐标") : QStringLiteral("的Y坐标"));
}

QString stationCellName(int k)
{
    static const char* const columns[] = {"点名",       "水平角",     "边长",       "前视竖直角", "前视仪器高",
                                          "前视觇标高", "后视竖直角", "后视仪器高", "后视觇标高"};
    if (k == LastName)
        return QStringLiteral("终点的点名");
    if (k == LastAngle)
        return QStringLiteral("终点的水平角");
    return QStringLiteral("第%1行的").arg(k / Cols + 1) + QString::fromUtf8(columns[k % Cols]);
}

} // namespace

QStringList planeInputLines(const TraverseSheet& sheet, int n)
{
    return planeLines(sheet, rowValues(sheet, n), n);
}

QStringList heightInputLines(const TraverseSheet& sheet, int n)
{
    return heightLines(sheet, rowValues(sheet, n), n);
}

QString cellWithComma(const TraverseSheet& sheet, int n)
{
    const QChar comma = QLatin1Char(',');
    for (int i : {4, 5, 1, 2, 11, 12, 8, 9})
        if (sheet.text1(i).contains(comma))
            return knownCellName(i);
    for (int k = 0; k < n * Cols; ++k)
        if (sheet.text5(k).contains(comma))
            return stationCellName(k);
    for (int k : {LastName, LastAngle})
        if (sheet.text5(k).contains(comma))
            return stationCellName(k);
    return QString();
}

bool isUsableFolderName(const QString& name)
{
    const QString t = TrimBlanks(name);
    if (t.isEmpty() || t == QStringLiteral(".") || t == QStringLiteral(".."))
        return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            return false;
    return true;
}

namespace {

enum class Flow { Go, Stop };

QString drivesRootOf(QChar letter)
{
    return QDir::cleanPath(paths::current().drivesRoot) + QLatin1Char('/') + letter.toLower();
}

// The root folder as a path the program can resolve: a relative one is
// taken inside the program's current folder.
QString anchoredRoot(const Context& ctx, const QString& root)
{
    if (paths::isDrivePath(root) || root.startsWith(QLatin1Char('/')) || root.startsWith(QLatin1Char('\\')))
        return root;
    const QString base = ctx.state().currentFolder.isEmpty() ? paths::programDir() : ctx.state().currentFolder;
    return base + QLatin1Char('\\') + root;
}

// Makes the root the program's current folder: its drive must exist, and
// the root itself.
void enterRoot(Context& ctx, const QString& root)
{
    if (root.isEmpty())
        raise(err::PathNotFound);
    if (paths::isDrivePath(root) && !QFileInfo(drivesRootOf(root[0])).isDir())
        raise(err::DeviceUnavailable);
    const QString anchored = anchoredRoot(ctx, root);
    if (!QFileInfo(paths::resolve(anchored)).isDir())
        raise(err::PathNotFound);
    ctx.state().currentFolder = anchored;
}

void makeFolder(const QString& folder)
{
    const QString real = paths::resolve(folder);
    if (QFileInfo::exists(real))
        raise(err::PathFileAccess);
    if (!QFileInfo(QFileInfo(real).absolutePath()).isDir())
        raise(err::PathNotFound);
    if (!QDir().mkdir(real))
        raise(err::PathFileAccess);
}

Flow onFailure(Context& ctx, const RunError& e, const QString& root)
{
    Ui& ui = ctx.ui();
    switch (e.number()) {
    case err::DeviceUnavailable:
        ui.message(QStringLiteral("保存的目录名或驱动器错误！！！"), QStringLiteral("提示"), Icon::Critical);
        return Flow::Stop;
    case err::PathFileAccess:
        return ui.message(QStringLiteral("目录或许已存在！检查是否有点名重复。是否覆盖？"), QStringLiteral("警告"),
                          Icon::Critical, Buttons::YesNo)
                       == Answer::Yes
                   ? Flow::Go
                   : Flow::Stop;
    case err::PathNotFound:
        ui.message(QStringLiteral("目录没有找到或无法创建目录,检查是否建立了[") + root + QStringLiteral("]。"),
                   QStringLiteral("提示"), Icon::Critical);
        return Flow::Stop;
    default:
        ui.message(QStringLiteral("未知错误") + QString::number(e.number()), QString(), Icon::None, Buttons::OK);
        return Flow::Stop;
    }
}

} // namespace

void Command12_Click(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    const bool toFolder = ctx.state().exportToFolder;
    const QString root = TrimBlanks(ctx.state().exportFolder);

    sheet->hideRowsFromFirstBlankName(2);
    const int n = std::max(1, sheet->rowsInUse());
    const QString name = sheet->text5(Cols);

    const QString commaCell = cellWithComma(*sheet, n);
    if (!commaCell.isEmpty()) {
        ctx.ui().message(QStringLiteral("[") + commaCell +
                             QStringLiteral("]中含有逗号“,”，会使Quelt数据文件错位，请改正后再转换。"),
                         QStringLiteral("提示"), Icon::Critical);
        return;
    }
    if (toFolder && !isUsableFolderName(name)) {
        ctx.ui().message(QStringLiteral("导线名（第二行点名）[") + name +
                             QStringLiteral("]不能用作目录名：不能为空或为“..”，也不能含有 \\ / : * ? \" < > | 等字符。"),
                         QStringLiteral("提示"), Icon::Critical);
        return;
    }

    const QString scratchFile = paths::programDir() + QStringLiteral("/read.tmp");
    QStringList values = rowValues(*sheet, n);
    QString planePath;
    QString heightPath;
    QString planeShown;
    QString heightShown;
    if (toFolder) {
        planeShown = root + QLatin1Char('\\') + name + QLatin1Char('\\') + name + QStringLiteral(".IN");
        heightShown = root + QLatin1Char('\\') + name + QLatin1Char('\\') + name + QStringLiteral("G.IN");
    } else {
        planePath = planeShown = paths::programDir() + QStringLiteral("/PM.tmp");
        heightPath = heightShown = paths::programDir() + QStringLiteral("/GC.tmp");
    }

    const std::function<void()> steps[] = {
        // The row values pass through a scratch list of padded cells.
        [&] {
            TextWriter w(scratchFile);
            for (int k = 0; k < n * Cols; ++k)
                w.writeLine(PadRight(cell(*sheet, k), 10));
            w.commit();
            TextReader r(scratchFile);
            for (int k = 0; k < n * Cols; ++k)
                values[k] = TrimBlanks(r.readLine());
        },
        [&] {
            if (!toFolder)
                return;
            enterRoot(ctx, root);
            const QString folder = ctx.state().currentFolder + QLatin1Char('\\') + name;
            planePath = folder + QLatin1Char('\\') + name + QStringLiteral(".IN");
            heightPath = folder + QLatin1Char('\\') + name + QStringLiteral("G.IN");
            makeFolder(folder);
        },
        [&] { writeTextLines(planePath, planeLines(*sheet, values, n)); },
        [&] { writeTextLines(heightPath, heightLines(*sheet, values, n)); },
        [&] { QFile::remove(paths::resolve(scratchFile)); },
    };
    for (const auto& step : steps) {
        try {
            step();
        } catch (const RunError& e) {
            if (onFailure(ctx, e, root) == Flow::Stop)
                return;
        }
    }

    const QString question =
        toFolder ? QStringLiteral("已经生成") + planeShown + QStringLiteral("、") + heightShown +
                       QStringLiteral("文件,需要查看吗？")
                 : QStringLiteral("已经生成在本程序目录下的PM.tmp、GC.tmp数据文件,需要查看吗？");
    if (ctx.ui().message(question, QStringLiteral("程序处理结果"), Icon::Information, Buttons::YesNo, 2) == Answer::Yes) {
        ctx.ui().openTextWindow(planePath);
        ctx.ui().openTextWindow(heightPath);
    }
}

} // namespace kelvor::quelt
