#include "zone_change.h"

#include "routines/routines.h"
#include "line_stream.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace kelvor::coords {

namespace {

const QString ErrorTitle = QStringLiteral("错误");
const QString DxfFilter = QStringLiteral("DXF文件(*.DXF)|*.DXF|所有文件(*.*)|*.*");

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
