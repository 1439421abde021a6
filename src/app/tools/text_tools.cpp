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
#include <QFileInfo>

#include <algorithm>
#include <functional>
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

QString rightTrimmed(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

// What a line is compared by: the whole line or its first field.
QString recordKey(const QString& line, bool wholeLines)
{
    return wholeLines ? line : orEmpty(BlankField(line, 1));
}

void showErrorNumber(Context& ctx, const RunError& e)
{
    ctx.ui().message(QStringLiteral("错误号:") + SignedNumberText(e.number()), QString(), Icon::Critical);
}

// Remembers keys by a hash of the whole key and where their first line is
// (an id the caller can turn back into the key), never the key text: memory
// grows with the distinct keys at 8 bytes a slot. A slot holds id + 1 in
// its low 40 bits and the top 24 bits of the hash above them; a match of
// those bits is confirmed on the key itself.
class SeenKeys {
public:
    SeenKeys(qsizetype expected, std::function<QString(qint64)> keyOf)
        : keyOf_(std::move(keyOf))
    {
        qsizetype size = 1024;
        while (size < expected + expected / 2)
            size *= 2;
        slots_.assign(size_t(size), 0);
    }

    // True when an earlier id had this key; otherwise remembers id for it.
    bool seen(qint64 id, const QString& key)
    {
        const quint64 h = quint64(qHash(key, 0x5bd1e995u)) * 0x9E3779B97F4A7C15ull;
        const quint64 tag = h >> 40;
        size_t i = size_t(h) & (slots_.size() - 1);
        for (;; i = (i + 1) & (slots_.size() - 1)) {
            const quint64 slot = slots_[i];
            if (slot == 0)
                break;
            if ((slot >> 40) == tag && keyOf_(qint64(slot & kIdMask) - 1) == key)
                return true;
        }
        slots_[i] = (tag << 40) | quint64(id + 1);
        if (++used_ * 4 > qsizetype(slots_.size()) * 3)
            grow();
        return false;
    }

private:
    static constexpr quint64 kIdMask = (quint64(1) << 40) - 1;

    void grow()
    {
        std::vector<quint64> old(slots_.size() * 2, 0);
        old.swap(slots_);
        for (const quint64 slot : old) {
            if (slot == 0)
                continue;
            const QString key = keyOf_(qint64(slot & kIdMask) - 1);
            const quint64 h = quint64(qHash(key, 0x5bd1e995u)) * 0x9E3779B97F4A7C15ull;
            size_t i = size_t(h) & (slots_.size() - 1);
            while (slots_[i] != 0)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = slot;
        }
    }

    std::function<QString(qint64)> keyOf_;
    std::vector<quint64> slots_;
    qsizetype used_ = 0;
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

// What a line is compared by: the whole line less its trailing blanks (as
// the record's padding has always made them), or its first field as record.
QString comparedKey(const QString& line, bool wholeLines)
{
    return wholeLines ? rightTrimmed(line) : duplicateRecord(recordKey(line, false));
}

QStringList duplicateReport(const QStringList& lines, bool wholeLines)
{
    SeenKeys seen(lines.size(), [&](qint64 i) { return comparedKey(lines[qsizetype(i)], wholeLines); });
    QStringList report;
    for (qsizetype j = 0; j < lines.size(); ++j) {
        if (seen.seen(j, comparedKey(lines[j], wholeLines)))
            report.append(duplicateRecord(recordKey(lines[j], wholeLines)) + QStringLiteral("数据重复"));
    }
    return report;
}

namespace {

// About the file's lines, counted without decoding them: the table is sized
// once instead of growing.
qsizetype lineCount(const QString& path)
{
    QFile f(paths::resolve(path));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    qsizetype lf = 0, cr = 0;
    char buf[1 << 16];
    for (qint64 got; (got = f.read(buf, sizeof buf)) > 0;) {
        lf += std::count(buf, buf + got, '\n');
        cr += std::count(buf, buf + got, '\r');
    }
    return std::max(lf, cr) + 1;
}

} // namespace

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

    // One pass: each line's record goes to the record file, left behind as
    // it always was (its failure is passed over), and each repeat to the
    // report as it is found.
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
        TextWriter report(duplicateReportPath());
        SeenKeys seen(lineCount(file), [&](qint64 at) { return comparedKey(in->lineAt(qsizetype(at)), wholeLines); });
        while (!in->atEnd()) {
            const qint64 at = in->position();
            const QString line = in->readLine();
            const QString record = duplicateRecord(recordKey(line, wholeLines));
            keepRecord(record);
            if (seen.seen(at, comparedKey(line, wholeLines))) {
                report.writeLine(record + QStringLiteral("数据重复"));
                ++count;
            }
        }
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
