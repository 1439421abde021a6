#include "text_tools.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <memory>
#include <optional>
#include <vector>

namespace kelvor::tools {

namespace {

constexpr int kRecordLength = 30;

QString watchInWindir()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

void removeQuietly(const QString& path)
{
    QFile::remove(paths::resolve(path));
}

// Every line of a file; nothing when it cannot be read.
QStringList linesOrNothing(const QString& path)
{
    try {
        return readTextLines(path);
    } catch (const RunError&) {
        return {};
    }
}

// What a line is compared by, before it is made a record: its first 29
// characters, or its first field.
QString recordKey(const QString& line, bool wholeLines)
{
    return wholeLines ? line.left(29) : orEmpty(BlankField(line, 1));
}

void showErrorNumber(Context& ctx, const RunError& e)
{
    ctx.ui().message(QStringLiteral("错误号:") + SignedNumberText(e.number()), QString(), Icon::Critical);
}

// Lines grouped by their record, for the pairs (i, j), i < j, of lines
// with equal records. Time and memory grow with the lines, not the pairs:
// each line keeps its group, each group its record once.
class DuplicateGroups {
public:
    void add(const QString& record)
    {
        auto it = index_.constFind(record);
        if (it == index_.cend()) {
            it = index_.insert(record, int(records_.size()));
            records_.push_back(record);
            later_.push_back(0);
        }
        lineGroup_.push_back(*it);
        ++later_[size_t(*it)];
    }

    qint64 pairs() const
    {
        qint64 n = 0;
        for (const qint64 k : later_)
            n += k * (k - 1) / 2;
        return n;
    }

    // In the order of the pairs (i, j): for each line i, its record and the
    // number of later lines j that share it. Once only.
    template <class Visit>
    void eachLine(Visit visit)
    {
        for (const int g : lineGroup_) {
            const qint64 later = --later_[size_t(g)];
            if (later > 0)
                visit(records_[size_t(g)], later);
        }
    }

private:
    QHash<QString, int> index_;
    std::vector<QString> records_;
    std::vector<qint64> later_;
    std::vector<int> lineGroup_;
};

// Writes watch.txt through fill and shows it; a failure shows its number
// instead.
template <class Fill>
void writeWatchAndShow(Context& ctx, Fill fill)
{
    try {
        TextWriter out(watchInWindir());
        fill(out);
        out.commit();
    } catch (const RunError& e) {
        showErrorNumber(ctx, e);
        return;
    }
    ctx.ui().openTextWindow(watchInWindir());
}

} // namespace

QString duplicateReportPath()
{
    return QStringLiteral("d:\\watch.txt");
}

QString duplicateRecordsPath()
{
    return QStringLiteral("d:\\bakbak1.txt");
}

QString duplicateCopyPath()
{
    return QStringLiteral("d:\\bakbak2.txt");
}

QString duplicateRecord(const QString& key)
{
    return key.left(kRecordLength).leftJustified(kRecordLength, QLatin1Char(' '));
}

QStringList duplicateReport(const QStringList& lines, bool wholeLines)
{
    DuplicateGroups groups;
    for (const QString& line : lines)
        groups.add(duplicateRecord(recordKey(line, wholeLines)));
    QStringList report;
    groups.eachLine([&](const QString& record, qint64 later) {
        for (qint64 n = 0; n < later; ++n)
            report.append(record + QStringLiteral("数据重复"));
    });
    return report;
}

void checkshu_Click(Context& ctx)
{
    removeQuietly(duplicateRecordsPath());
    removeQuietly(duplicateCopyPath());

    const QString file = CommonDialog(ctx)
                             .setTitle(QStringLiteral("选择文件"))
                             .setFilter(QStringLiteral("数据文件(*.Txt)|*.Txt"))
                             .setMultiSelect(false)
                             .showOpen();
    if (file.isEmpty())
        return;
    std::optional<TextReader> in;
    try {
        in.emplace(file);
    } catch (const RunError& e) {
        showErrorNumber(ctx, e);
        return;
    }

    const Answer answer = ctx.ui().message(QStringLiteral("按整行比较请选择'是'\r\n按第一列比较请选择'否'！"),
                                           QStringLiteral("选项"), Icon::Exclamation, Buttons::YesNoCancel, 2);
    if (answer == Answer::Cancel)
        return;
    const bool wholeLines = answer == Answer::Yes;

    // Each line's record goes to the record file, left behind as it always
    // was (its failure is passed over); then every pair of equal records
    // goes to the report, streaming, one line per pair.
    std::unique_ptr<TextWriter> records = std::make_unique<TextWriter>(duplicateRecordsPath());
    const auto keepRecord = [&](const QString& record) {
        try {
            if (records)
                records->write(record);
        } catch (const RunError&) {
            records.reset();
        }
    };
    qint64 count = 0;
    try {
        BusyCursor busy(ctx.ui());
        DuplicateGroups groups;
        while (!in->atEnd()) {
            const QString record = duplicateRecord(recordKey(in->readLine(), wholeLines));
            keepRecord(record);
            groups.add(record);
        }
        in.reset();
        count = groups.pairs();
        TextWriter report(duplicateReportPath());
        groups.eachLine([&](const QString& record, qint64 later) {
            const QByteArray line = encodeGbk(record + QStringLiteral("数据重复\r\n"));
            for (qint64 n = 0; n < later; ++n)
                report.writeRaw(line);
        });
        report.commit();
    } catch (const RunError& e) {
        showErrorNumber(ctx, e);
        return;
    }
    try {
        if (records)
            records->commit();
    } catch (const RunError&) {
    }

    if (count == 0) {
        ctx.ui().message(QStringLiteral("没发现重复数据！"), QStringLiteral("查找结果"), Icon::Exclamation);
        return;
    }
    ctx.ui().message(QStringLiteral("共发现") + SignedNumberText(double(count)) + QStringLiteral("个重复数据！"),
                     QStringLiteral("查找结果"), Icon::Exclamation);
    if (ctx.ui().message(QStringLiteral("已经生成数据文件d:\\watch.txt\r需要查看吗？"), QStringLiteral("重要提示"),
                         Icon::Information, Buttons::OKCancel)
        == Answer::OK)
        ctx.ui().openTextWindow(paths::resolve(duplicateReportPath()));
}

QString numberedLine(int n, const QString& line)
{
    return QString::number(n).leftJustified(5, QLatin1Char(' ')) + QStringLiteral("   ") + line;
}

void setnumber_Click(Context& ctx)
{
    const QString file = CommonDialog(ctx)
                             .setTitle(QStringLiteral("选择文件"))
                             .setFilter(QStringLiteral("所有文件(*.*)|*.*"))
                             .setMultiSelect(false)
                             .showOpen();
    if (file.isEmpty())
        return;
    try {
        const QStringList lines = readTextLines(file);
        QStringList numbered;
        for (int n = 1; n <= lines.size(); ++n)
            numbered.append(numberedLine(n, lines[n - 1]));
        writeTextLines(duplicateReportPath(), numbered);
        if (lines.isEmpty())
            return;
    } catch (const RunError&) {
        return;
    }
    ctx.ui().openTextWindow(paths::resolve(duplicateReportPath()));
}

QStringList folderFiles(const QString& folder)
{
    const QString native = paths::resolve(folder);
    QDir dir(native);
    if (native.isEmpty() || !dir.exists())
        raise(err::PathNotFound);
    // Names in the order a Windows listing gives them: ignoring letter case.
    return dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

bool matchesExtension(const QString& path, const QString& extension)
{
    if (extension == QStringLiteral("*.*"))
        return true;
    const qsizetype n = extension.size();
    return path.right(n).toUpper() == extension.toUpper();
}

void shengchengfilespath_Click(Context& ctx)
{
    QString folder = cad::getpath(ctx, QStringLiteral("请选择目录"));
    const QString answer = ctx.ui().input(
        QStringLiteral("请输入要输出的文件扩展名(如:Dwg,则输出以Dwg为扩展名的文件。)以作过滤,输出全部请输入*.*！"),
        QStringLiteral("文件扩展名"), QStringLiteral("*.*"));
    if (TrimBlanks(folder).isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('\\');
    const QString extension = TrimBlanks(answer);
    writeWatchAndShow(ctx, [&](TextWriter& out) {
        for (const QString& name : folderFiles(folder)) {
            const QString full = folder + name;
            if (matchesExtension(full, extension))
                out.writeLine(full);
        }
    });
}

void addfilepl_Click(Context& ctx)
{
    const QStringList files = CommonDialog(ctx)
                                  .setTitle(QStringLiteral("选择坐标文件"))
                                  .setFilter(QStringLiteral("坐标文件(*.xyh)|*.xyh|文本文件(*.TXT)|*.txt"))
                                  .setFileName(QString())
                                  .setMultiSelect(true)
                                  .showOpenFiles();
    if (files.isEmpty())
        return;
    writeWatchAndShow(ctx, [&](TextWriter& out) {
        // A file that cannot be read, or is empty, adds nothing.
        for (const QString& file : files) {
            for (const QString& line : linesOrNothing(file))
                out.writeLine(line);
        }
    });
}

void opentextfile_Click(Context& ctx)
{
    const QString file = CommonDialog(ctx)
                             .setFilter(QStringLiteral("text files(*.txt)|*.txt"))
                             .setFilterIndex(1)
                             .setFileName(QString())
                             .setMultiSelect(false)
                             .showOpen();
    if (TrimBlanks(file).isEmpty())
        return;
    ctx.ui().openTextWindow(paths::resolve(TrimBlanks(file)));
}

void newfiles_Click(Context& ctx)
{
    ctx.ui().openTextWindow(QString());
}

} // namespace kelvor::tools
