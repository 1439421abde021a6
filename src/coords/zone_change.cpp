#include "zone_change.h"

#include "routines/routines.h"
#include "line_stream.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

#include <chrono>
#include <cmath>
#include <cstring>
#include <string_view>

namespace kelvor::coords {

namespace {

using namespace std::string_view_literals;

const QString ErrorTitle = QStringLiteral("错误");
const QString DxfFilter = QStringLiteral("DXF文件(*.DXF)|*.DXF|所有文件(*.*)|*.*");

bool isXCode(std::string_view l) { return l == " 10"sv || l == " 11"sv; }
bool isYCode(std::string_view l) { return l == " 20"sv || l == " 21"sv; }

// Trimmed of blanks (not tabs), any letter case.
bool isWordTrimmedAnyCase(std::string_view l, std::string_view word)
{
    while (!l.empty() && l.front() == ' ')
        l.remove_prefix(1);
    while (!l.empty() && l.back() == ' ')
        l.remove_suffix(1);
    if (l.size() != word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        char c = l[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != word[i])
            return false;
    }
    return true;
}

bool isZeroCode(std::string_view l)
{
    while (!l.empty() && l.front() == ' ')
        l.remove_prefix(1);
    return l == "0"sv;
}

// The window repaints its bar at most this often; progress between is dropped.
class ProgressPacer {
public:
    explicit ProgressPacer(DxfProgress* p)
        : progress_(p)
    {
    }
    void maybe(qint64 bytesRead)
    {
        if (!progress_ || ++calls_ % 4096 != 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(50))
            return;
        last_ = now;
        progress_->advance(bytesRead);
    }

private:
    DxfProgress* progress_;
    unsigned calls_ = 0;
    std::chrono::steady_clock::time_point last_{};
};

void writeNumber(LineOutput& out, double v)
{
    out.wrote(putNumberText(out.room(32), v));
}

// The whole-degree checks of the meridian boxes use the leading number.
bool checkMeridians(Context& ctx, const ZoneForm& form)
{
    if (LeadingNumber(form.sourceMeridian) == 0) {
        ctx.ui().message(QStringLiteral("错误的转换前中央子午线！"), ErrorTitle, Icon::Critical);
        return false;
    }
    if (LeadingNumber(form.targetMeridian) == 0) {
        ctx.ui().message(QStringLiteral("错误的转换后中央子午线！"), ErrorTitle, Icon::Critical);
        return false;
    }
    return true;
}

void reportFailure(Context& ctx, int number)
{
    ctx.ui().message(QStringLiteral("文件读写失败，错误号：%1").arg(number), ErrorTitle, Icon::Critical);
}

// Print-zone layout of a file line: each item starts at the next zone of 14
// columns after what is already on the line.
void printItem(QString& line, const QString& item)
{
    if (!line.isEmpty()) {
        const qsizetype zone = (line.size() / 14 + 1) * 14;
        line += QString(zone - line.size(), QLatin1Char(' '));
    }
    line += item;
}

} // namespace

Projection ZoneForm::projection() const
{
    return Projection{seriesForDatum(targetDatum), seriesForDatum(sourceDatum), falseEasting};
}

FileLineError::FileLineError(Kind kind, qint64 line, const QString& text)
    : std::runtime_error("file line error")
    , kind_(kind)
    , line_(line)
    , text_(text)
{
}

QString FileLineError::message() const
{
    switch (kind_) {
    case Truncated:
        return QStringLiteral("文件在第 %1 行后意外结束，数据不完整！").arg(line_);
    case NotANumber:
        return QStringLiteral("第 %1 行不是合法的数字：%2").arg(line_).arg(text_);
    case OutOfRange:
        return QStringLiteral("第 %1 行的坐标无法换带计算：%2").arg(line_).arg(text_);
    case SameFile:
        break;
    }
    return QStringLiteral("源文件与目标文件不能是同一个文件！");
}

qint64 convertDxfZone(const QString& source, const QString& target, double l0, double l0new,
                      const Projection& projection, DxfProgress* progress)
{
    const QString src = paths::resolve(source);
    const QString dst = paths::resolve(target);
    if (sameFile(src, dst))
        throw FileLineError(FileLineError::SameFile, 0);

    LineInput in(src);
    LineOutput out(dst);
    ProgressPacer pacer(progress);
    using Line = LineInput::Line;
    using Found = LineInput::Found;

    // Unchanged bytes are copied in runs: `run` is where the bytes not yet
    // written start, `at` where the next group of lines starts, both in the
    // input's window; `lineNo` counts the lines before `at`.
    std::string_view w = in.window();
    size_t run = 0, at = 0;
    qint64 lineNo = 0;
    auto text = [&w](const Line& l) { return w.substr(l.start, l.length); };
    // Writes what is pending, hands the window's used bytes out, reads on.
    auto readOn = [&] {
        out.write(w.substr(run, at - run));
        in.consume(at);
        run = at = 0;
        const bool got = in.more();
        w = in.window();
        return got;
    };
    enum class Phase { Before, Entities, After } phase = Phase::Before;
    qint64 converted = 0;
    Line l[4];
    bool needMore = false;
    auto take = [&](int i) {
        const Found f = LineInput::lineAt(w, i == 0 ? at : l[i - 1].next, in.atEnd(), l[i], in.loneCr());
        needMore = f == Found::NeedMore;
        return f == Found::Line;
    };
    // A line that must be there is missing: the file is cut short, or the
    // group only reaches past the window (-1).
    auto missing = [&](qint64 line) {
        if (!needMore)
            throw FileLineError(FileLineError::Truncated, line);
        return -1;
    };
    // The lines of the group at `at` (a code line and what belongs to it),
    // 0 at the end of the file, -1 when the group reaches past the window.
    auto group = [&]() -> int {
        if (!take(0))
            return needMore ? -1 : 0;
        const qint64 k = lineNo + 1; // line number of the code line
        if (phase == Phase::Before) {
            if (isWordTrimmedAnyCase(text(l[0]), "ENTITIES"sv))
                phase = Phase::Entities;
            return 1;
        }
        if (!isXCode(text(l[0]))) {
            if (!take(1))
                return needMore ? -1 : 1;
            if (isZeroCode(text(l[0])) && isWordTrimmedAnyCase(text(l[1]), "ENDSEC"sv)) {
                phase = Phase::After; // what follows the entities (objects: layouts, plot data) stays
                return 2;
            }
            if (!isYCode(text(l[1])))
                return 2;
            return take(2) ? 3 : missing(k + 1);
        }
        if (!take(1))
            return missing(k);
        if (!take(2))
            return missing(k + 1);
        if (!isYCode(text(l[2])))
            return 3;
        if (!take(3))
            return missing(k + 2);
        const std::string_view e = text(l[1]), n = text(l[3]);
        const std::optional<double> east = numberIn(e);
        if (!east)
            throw FileLineError(FileLineError::NotANumber, k + 1, lineText(e));
        const std::optional<double> north = numberIn(n);
        if (!north)
            throw FileLineError(FileLineError::NotANumber, k + 3, lineText(n));
        double newX = 0, newY = 0;
        try {
            changeZone(*north, *east, l0, l0new, projection, newX, newY);
        } catch (const RunError&) {
            throw FileLineError(FileLineError::OutOfRange, k + 1, lineText(e) + QStringLiteral(", ") + lineText(n));
        }
        out.write(w.substr(run, l[1].start - run));
        writeNumber(out, newY);
        const size_t eEnd = l[1].start + l[1].length;
        out.write(w.substr(eEnd, l[3].start - eEnd));
        writeNumber(out, newX);
        run = l[3].start + l[3].length;
        ++converted;
        return 4;
    };
    while (phase != Phase::After) {
        const int lines = group();
        if (lines == 0)
            break;
        if (lines < 0) {
            readOn();
            continue;
        }
        at = l[lines - 1].next;
        lineNo += lines;
        pacer.maybe(in.bytesRead() + qint64(at));
    }
    do
        at = w.size();
    while (readOn());
    out.commit();
    if (progress)
        progress->advance(in.bytesRead());
    return converted;
}

void dxfZoneChange(Context& ctx, const ZoneForm& form, DxfProgress* progress)
{
    if (!checkMeridians(ctx, form))
        return;
    Ui& ui = ctx.ui();
    FileDialogRequest open;
    open.title = QStringLiteral("打开DXF文件");
    open.filter = DxfFilter;
    const QString source = ui.openFile(open).trimmed();
    if (source.isEmpty())
        return;
    FileDialogRequest save;
    save.title = QStringLiteral("保存DXF文件");
    save.filter = DxfFilter;
    const QString target = ui.saveFile(save).trimmed();
    if (target.isEmpty())
        return;

    const double l0 = LeadingNumber(form.sourceMeridian);
    const double l0new = LeadingNumber(form.targetMeridian);
    qint64 count = 0;
    try {
        if (sameFile(paths::resolve(source), paths::resolve(target)))
            throw FileLineError(FileLineError::SameFile, 0);
        ui.processEvents();
        if (progress)
            progress->analysing();
        count = QFileInfo(paths::resolve(source)).size();
        ui.processEvents();
        if (progress)
            progress->converting(count);
        convertDxfZone(source, target, l0, l0new, form.projection(), progress);
    } catch (const FileLineError& e) {
        if (progress)
            progress->finished(count);
        ui.message(e.message(), ErrorTitle, Icon::Critical);
        return;
    } catch (const RunError& e) {
        if (progress)
            progress->finished(count);
        reportFailure(ctx, e.number());
        return;
    }
    if (progress)
        progress->finished(count);
    ui.message(QStringLiteral("Dxf 文件由[ ") + form.sourceDatum + QStringLiteral("(") + form.sourceMeridian
                   + QStringLiteral(") ] 转换为 [ ") + form.targetDatum + QStringLiteral("(")
                   + form.targetMeridian + QStringLiteral(") ]"),
               QStringLiteral("完成"), Icon::Exclamation);
}

QString pointListHeading(const ZoneForm& form)
{
    QString heading;
    printItem(heading, form.sourceMeridian);
    printItem(heading, QStringLiteral("到"));
    printItem(heading, form.targetMeridian);
    printItem(heading, QStringLiteral("的换带计算"));
    return heading;
}

qint64 convertPointFile(const QString& source, const QString& target, const ZoneForm& form)
{
    const std::optional<double> l0 = ParseNumber(form.sourceMeridian);
    const std::optional<double> l0new = ParseNumber(form.targetMeridian);
    const Projection projection = form.projection();
    LineInput in(source);
    LineOutput out(target);
    const QByteArray head = encodeGbk(pointListHeading(form) + QStringLiteral("\r\n")
                                      + QStringLiteral("点号                          X坐标                              Y坐标\r\n"));
    out.write(std::string_view(head.constData(), size_t(head.size())));
    std::string_view text, end;
    while (in.next(text, end)) {
        const qint64 lineNo = in.lineNumber();
        auto bad = [&](FileLineError::Kind kind) { return FileLineError(kind, lineNo, lineText(text)); };
        const size_t c1 = text.find(',');
        const size_t c2 = c1 == text.npos ? text.npos : text.find(',', c1 + 1);
        if (c2 == text.npos)
            throw bad(FileLineError::NotANumber);
        const std::optional<double> number = numberIn(text.substr(0, c1));
        const std::optional<double> x = numberIn(text.substr(c1 + 1, c2 - c1 - 1));
        const std::optional<double> y = numberIn(text.substr(c2 + 1));
        // Any whole number that prints without an exponent; halves go to even.
        if (!number || !x || !y || std::fabs(*number) >= 1E15)
            throw bad(FileLineError::NotANumber);
        double newX = 0, newY = 0;
        try {
            changeZone(*x, *y, l0.value_or(0), l0new.value_or(0), projection, newX, newY);
        } catch (const RunError&) {
            throw bad(FileLineError::OutOfRange);
        }
        const double whole = std::nearbyint(*number);
        // Print zones as in printItem; every item here is ASCII, so bytes are columns.
        char* const start = out.room(256);
        char* p = start;
        auto item = [&](auto&& put) {
            if (p != start) {
                char* const zone = start + ((p - start) / 14 + 1) * 14;
                std::memset(p, ' ', size_t(zone - p));
                p = zone;
            }
            put();
        };
        auto signedNumber = [&](double v) {
            return [&p, v] {
                char digits[32];
                char* e = putNumberText(digits, v);
                const char* d = digits;
                const bool negative = *d == '-';
                if (negative)
                    ++d;
                if (e - d > 1 && d[0] == '0' && d[1] == '.')
                    ++d;
                *p++ = negative ? '-' : ' ';
                std::memcpy(p, d, size_t(e - d));
                p += e - d;
                *p++ = ' ';
            };
        };
        auto comma = [&p] { *p++ = ','; };
        item(signedNumber(whole == 0 ? 0.0 : whole));
        item(comma);
        item(signedNumber(newX));
        item(comma);
        item(signedNumber(newY));
        *p++ = '\r';
        *p++ = '\n';
        out.wrote(p);
    }
    out.commit();
    return in.lineNumber();
}

void textZoneChange(Context& ctx, const ZoneForm& form)
{
    const QString source = QStringLiteral("d:\\1.txt");
    const QString target = QStringLiteral("d:\\2.txt");
    Ui& ui = ctx.ui();
    if (!ParseNumber(form.sourceMeridian)) {
        ui.message(QStringLiteral("错误的转换前中央子午线！"), ErrorTitle, Icon::Critical);
        return;
    }
    if (!ParseNumber(form.targetMeridian)) {
        ui.message(QStringLiteral("错误的转换后中央子午线！"), ErrorTitle, Icon::Critical);
        return;
    }
    try {
        if (!textFileExists(source)) {
            ui.message(QStringLiteral("找不到点文件 d:\\1.txt！"), ErrorTitle, Icon::Critical);
            return;
        }
        // All lines convert before "d:\2.txt" is replaced.
        convertPointFile(paths::resolve(source), paths::resolve(target), form);
    } catch (const FileLineError& e) {
        ui.message(e.message(), ErrorTitle, Icon::Critical);
        return;
    } catch (const RunError& e) {
        reportFailure(ctx, e.number());
        return;
    }
    ui.message(QStringLiteral("txt文件已完成换带"));
}

} // namespace kelvor::coords
