#include "load_sj.h"

#include "loaders_commands.h"
#include "pcy_tools.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "traverse/sheet.h"

#include <optional>

namespace kelvor::exchange {

namespace {

using traverse::TraverseSheet;

constexpr int Columns = TraverseSheet::Columns;
constexpr int LastName = 108;

// The rounded angle; a text the rounding gives nothing for (or cannot
// treat) leaves the cell empty.
QString rounded(const std::optional<QString>& angle)
{
    if (!angle)
        return QString();
    try {
        return orEmpty(jjobj(*angle));
    } catch (const RunError&) {
        return QString();
    }
}

// The `count` characters after the first occurrence of label, trimmed;
// empty when the line lacks the label.
QString afterLabel(const QString& line, const QString& label, int count)
{
    const qsizetype at = line.indexOf(label);
    if (at < 0)
        return QString();
    return TrimBlanks(line.mid(at + label.size(), count));
}

class Record {
public:
    explicit Record(const QStringList& lines)
        : raw_(lines)
    {
        for (const QString& l : lines)
            t_.append(TrimBlanks(l));
    }

    qsizetype size() const { return t_.size(); }
    const QString& trimmed(qsizetype i) const { return t_[i]; }
    // Line i + n of the file when it has it; the record is cut short otherwise.
    std::optional<QString> at(qsizetype i) const
    {
        return i < t_.size() ? std::optional<QString>(t_[i]) : std::nullopt;
    }
    std::optional<QString> rawAt(qsizetype i) const
    {
        return i < raw_.size() ? std::optional<QString>(raw_[i]) : std::nullopt;
    }

private:
    QStringList raw_;
    QStringList t_;
};

bool isStation(const QString& t)
{
    return TrimBlanks(t.mid(2, 10)) == QLatin1String("CE ZHEN:");
}

int stations(TraverseSheet& sheet, const Record& rec)
{
    int k = 0;
    std::optional<QString> foreSight;
    qsizetype i = 0;
    while (i < rec.size()) {
        if (!isStation(rec.trimmed(i))) {
            ++i;
            continue;
        }
        const QString name = TrimBlanks(rec.trimmed(i).right(7));
        sheet.setText5(k * Columns, name);
        if (k == 0)
            sheet.setText1(3, name);
        const std::optional<QString> angle = rec.at(i + 7);
        sheet.setText5(k * Columns + 1,
                       rounded(angle ? std::optional<QString>(TrimBlanks(angle->right(10))) : std::nullopt));
        if (k == 0) {
            if (const std::optional<QString> back = rec.at(i + 10))
                sheet.setText1(0, afterLabel(*back, QStringLiteral("U 1"), 10));
        }
        ++k;
        foreSight = rec.at(i + 11);
        i += 12;
    }
    sheet.setText1(7, foreSight ? TrimBlanks(foreSight->mid(1, 8)) : QString());
    return k;
}

void instruments(TraverseSheet& sheet, const Record& rec)
{
    int j = 0;
    qsizetype i = 0;
    while (i < rec.size()) {
        const QString& line = rec.trimmed(i);
        if (!line.contains(QLatin1String("YI QI"))) {
            ++i;
            continue;
        }
        const QString instrument = afterLabel(line, QStringLiteral("K="), 8);
        const QString target = afterLabel(line, QStringLiteral("a="), 8);
        const std::optional<QString> third = rec.rawAt(i + 3);
        const QString vertical = rounded(third ? std::optional<QString>(TrimBlanks(third->right(10))) : std::nullopt);
        ++j;
        // Odd records are sights forward from a leg's first station, even
        // ones sights back from its second.
        const int cell = j % 2 == 1 ? (j - 1) / 2 * Columns + 3 : (j / 2 - 1) * Columns + 6;
        sheet.setText5(cell, vertical);
        sheet.setText5(cell + 1, instrument);
        sheet.setText5(cell + 2, target);
        i += 4;
    }
}

void distances(TraverseSheet& sheet, const Record& rec)
{
    int k = 0;
    qsizetype i = 0;
    while (i < rec.size()) {
        if (!rec.trimmed(i).startsWith(QLatin1String("QI YA"))) {
            ++i;
            continue;
        }
        const std::optional<QString> line = rec.at(i + 6);
        sheet.setText5(k * Columns + 2, line ? afterLabel(line->right(15), QStringLiteral("D="), 15) : QString());
        ++k;
        i += 7;
    }
}

} // namespace

void emptySheetForRecord(TraverseSheet& sheet)
{
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        sheet.setText1(i, QString());
    for (int i = 0; i < TraverseSheet::StationCells; ++i)
        sheet.setText5(i, QString());
    sheet.showAllRows();
}

int fillSheetFromRecord(TraverseSheet& sheet, const QStringList& lines)
{
    const Record rec(lines);
    const int k = stations(sheet, rec);
    moveToLastStation(sheet, k);
    sheet.setText1(10, TrimBlanks(sheet.text5(LastName)));
    instruments(sheet, rec);
    distances(sheet, rec);
    return k;
}

void outcordnumber_Click(Context& ctx)
{
    const QString path =
        chooseOneFile(ctx, QStringLiteral("选择导线数据记录文件"), QStringLiteral("导线数据记录文件(*.SJ)|*.SJ"));
    if (path.isEmpty())
        return;
    if (TraverseSheet* sheet = ctx.sheet()) {
        emptySheetForRecord(*sheet);
        try {
            BusyCursor busy(ctx.ui());
            fillSheetFromRecord(*sheet, readTextLines(path));
        } catch (const RunError&) {
            // An unreadable record leaves the emptied sheet.
        }
    }
    runKnownPointLookup(ctx);
}

} // namespace kelvor::exchange
