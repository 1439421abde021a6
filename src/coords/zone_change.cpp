#include "zone_change.h"

#include "routines/routines.h"
#include "line_stream.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace kelvor::coords {

namespace {

using namespace std::string_view_literals;

const QString ErrorTitle = QStringLiteral("错误");
const QString DxfFilter = QStringLiteral("DXF文件(*.DXF)|*.DXF|所有文件(*.*)|*.*");

bool isXCode(std::string_view l) { return l == " 10"sv || l == " 11"sv; }
bool isYCode(std::string_view l) { return l == " 20"sv || l == " 21"sv; }

// Trimmed of blanks (not tabs), any letter case.
bool isEntitiesTrimmedAnyCase(std::string_view l)
{
    while (!l.empty() && l.front() == ' ')
        l.remove_prefix(1);
    while (!l.empty() && l.back() == ' ')
        l.remove_suffix(1);
    constexpr std::string_view word = "ENTITIES";
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

// A coordinate value: the plain decimal forms take the fast path, anything
// else (blanks, "+", a D exponent) the shared strict conversion.
std::optional<double> valueOf(std::string_view text)
{
    const char* b = text.data();
    const char* e = b + text.size();
    if (b < e && (*b == '-' || *b == '.' || (*b >= '0' && *b <= '9'))) {
        double v = 0;
        const auto r = std::from_chars(b, e, v);
        if (r.ec == std::errc() && r.ptr == e && std::isfinite(v))
            return v;
    }
    return ParseNumber(QString::fromLatin1(b, qsizetype(text.size())));
}

// Reads a line that must be there; a file ending here is truncated.
void need(LineInput& in, std::string_view& line, std::string_view& end)
{
    const qint64 at = in.lineNumber();
    if (!in.next(line, end))
        throw FileLineError(FileLineError::Truncated, at);
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

QString printedNumber(double v)
{
    return SignedNumberText(v) + QLatin1Char(' ');
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

qint64 countDxfCoordinateCodes(const QString& path)
{
    LineInput in(paths::resolve(path));
    std::string_view line, end;
    bool entities = false;
    while (in.next(line, end)) {
        if (line == "ENTITIES"sv) {
            entities = true;
            break;
        }
    }
    qint64 count = 0;
    if (entities) {
        while (in.next(line, end))
            if (isXCode(line))
                ++count;
    }
    return count;
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
    std::string_view line, end;

    while (in.next(line, end)) {
        out.write(line);
        out.write(end);
        if (isEntitiesTrimmedAnyCase(line))
            break;
    }

    constexpr qint64 ProgressEvery = 4096;
    qint64 xCodes = 0;
    qint64 converted = 0;
    // A line's view lasts only until the next read: lines still to be
    // written after a later read are kept in these buffers.
    std::string e, eEnd, v, vEnd;
    QByteArray text;
    std::string_view u, uEnd, line2, end2;
    auto keep = [](std::string& to, std::string_view from) { to.assign(from.data(), from.size()); };
    while (in.next(u, uEnd)) {
        out.write(u);
        out.write(uEnd);
        const bool xCode = isXCode(u);
        const qint64 eLine = in.lineNumber() + 1;
        if (xCode) {
            need(in, line2, end2);
            keep(e, line2);
            keep(eEnd, end2);
            ++xCodes;
            if (progress && xCodes % ProgressEvery == 0)
                progress->advance(xCodes);
        }
        if (!in.next(line2, end2)) {
            // A DXF ends between code-value pairs; only an open pair is truncated.
            if (xCode)
                throw FileLineError(FileLineError::Truncated, in.lineNumber());
            break;
        }
        const bool yCode = isYCode(line2);
        if (!(xCode && yCode)) {
            if (xCode) {
                out.write(e);
                out.write(eEnd);
            }
            out.write(line2);
            out.write(end2);
            if (yCode) {
                need(in, line2, end2);
                out.write(line2);
                out.write(end2);
            }
            continue;
        }
        keep(v, line2);
        keep(vEnd, end2);
        need(in, line2, end2);
        const std::string_view n = line2;
        const std::optional<double> east = valueOf(e);
        if (!east)
            throw FileLineError(FileLineError::NotANumber, eLine, lineText(e));
        const std::optional<double> north = valueOf(n);
        if (!north)
            throw FileLineError(FileLineError::NotANumber, in.lineNumber(), lineText(n));
        double newX = 0, newY = 0;
        try {
            changeZone(*north, *east, l0, l0new, projection, newX, newY);
        } catch (const RunError&) {
            throw FileLineError(FileLineError::OutOfRange, eLine, lineText(e) + QStringLiteral(", ") + lineText(n));
        }
        text = NumberText(newY).toLatin1();
        out.write(std::string_view(text.constData(), size_t(text.size())));
        out.write(eEnd);
        out.write(v);
        out.write(vEnd);
        text = NumberText(newX).toLatin1();
        out.write(std::string_view(text.constData(), size_t(text.size())));
        out.write(end2);
        ++converted;
    }
    out.commit();
    if (progress)
        progress->advance(xCodes);
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
        count = countDxfCoordinateCodes(source);
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

QStringList convertPointLines(const QStringList& input, const ZoneForm& form)
{
    const std::optional<double> l0 = ParseNumber(form.sourceMeridian);
    const std::optional<double> l0new = ParseNumber(form.targetMeridian);
    QStringList out;
    QString heading;
    printItem(heading, form.sourceMeridian);
    printItem(heading, QStringLiteral("到"));
    printItem(heading, form.targetMeridian);
    printItem(heading, QStringLiteral("的换带计算"));
    out << heading << QStringLiteral("点号                          X坐标                              Y坐标");
    const Projection projection = form.projection();
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QString& text = input[i];
        const qint64 lineNo = i + 1;
        const qsizetype c1 = text.indexOf(QLatin1Char(','));
        const qsizetype c2 = c1 < 0 ? -1 : text.indexOf(QLatin1Char(','), c1 + 1);
        if (c2 < 0)
            throw FileLineError(FileLineError::NotANumber, lineNo, text);
        const std::optional<double> number = ParseNumber(text.left(c1));
        const std::optional<double> x = ParseNumber(text.mid(c1 + 1, c2 - c1 - 1));
        const std::optional<double> y = ParseNumber(text.mid(c2 + 1));
        // Any whole number that prints without an exponent; halves go to even.
        if (!number || !x || !y || std::fabs(*number) >= 1E15)
            throw FileLineError(FileLineError::NotANumber, lineNo, text);
        double newX = 0, newY = 0;
        try {
            changeZone(*x, *y, l0.value_or(0), l0new.value_or(0), projection, newX, newY);
        } catch (const RunError&) {
            throw FileLineError(FileLineError::OutOfRange, lineNo, text);
        }
        const double whole = std::nearbyint(*number);
        QString line;
        printItem(line, printedNumber(whole == 0 ? 0.0 : whole));
        printItem(line, QStringLiteral(","));
        printItem(line, printedNumber(newX));
        printItem(line, QStringLiteral(","));
        printItem(line, printedNumber(newY));
        out << line;
    }
    return out;
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
        writeTextLines(target, convertPointLines(readTextLines(source), form));
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
