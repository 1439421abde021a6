#include "sheet_numbers.h"

#include "routines/routines.h"
#include "cad/model/geometry.h"

#include <QRegularExpression>
#include <cmath>

namespace kelvor::sheets {

SheetCorner StandardSheetGrid(double x, double y)
{
    return {kSheetWidth * std::floor(x / kSheetWidth), kSheetHeight * std::floor(y / kSheetHeight)};
}

SheetCorner neighbourCorner(const SheetCorner& c, int i, int j, double northStep)
{
    return {c.e + kSheetWidth * i, c.n + northStep * j};
}

namespace {

QString kilometres(double metres)
{
    return FormatPattern(metres / 1000, QStringLiteral("0.00"));
}

} // namespace

QString StandardSheetNumber(const SheetCorner& c)
{
    return kilometres(c.n) + QLatin1Char('-') + kilometres(c.e);
}

QString StandardSheetFile(const QString& folder, const QString& number)
{
    const QString dir = folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
    return dir + number + cad::kDrawingExtension;
}

std::optional<SheetCorner> sheetCornerOfFile(const QString& path)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{4}\\.\\d{2})-(\\d{3}\\.\\d{2})$"));
    const qsizetype ext = cad::kDrawingExtension.size();
    if (path.size() < 14 + ext || !path.endsWith(cad::kDrawingExtension, Qt::CaseInsensitive))
        return std::nullopt;
    const QRegularExpressionMatch m = name.match(path.mid(path.size() - 14 - ext, 14));
    if (!m.hasMatch())
        return std::nullopt;
    return SheetCorner{LeadingNumber(m.captured(2)) * 1000, LeadingNumber(m.captured(1)) * 1000};
}

std::optional<int> findtfh(double coordx, double coordy)
{
    // Fractions are compared as the "0.00" texts they print as: rounding,
    // not snapping, decides the cell.
    static const QStringList columns{"0.00", "0.25", "0.50", "0.75"};
    static const QStringList rows{"0.00", "0.20", "0.40", "0.60", "0.80"}; // from the south
    const double e = coordx / 1000, n = coordy / 1000;
    const int col = int(columns.indexOf(FormatPattern(e - std::trunc(e), QStringLiteral("0.00"))));
    const int row = int(rows.indexOf(FormatPattern(n - std::trunc(n), QStringLiteral("0.00"))));
    if (col < 0 || row < 0)
        return std::nullopt;
    return 4 * (4 - row) + col + 1;
}

std::optional<int> findtfh(const QString& coordx, const QString& coordy)
{
    return findtfh(LeadingNumber(coordx), LeadingNumber(coordy));
}

QString CompanySheetNumber(double easting, double northing)
{
    const double ekm = LeadingNumber(kilometres(easting));
    const double nkm = LeadingNumber(kilometres(northing));
    const std::optional<int> place = findtfh(ekm * 1000, nkm * 1000);
    const auto whole = [](double km) { return QString::number(qint64(std::trunc(km))); };
    return whole(nkm) + QLatin1Char('-') + whole(ekm) + QLatin1Char('-')
        + QStringLiteral("%1").arg(place.value_or(0), 2, 10, QLatin1Char('0'));
}

} // namespace kelvor::sheets
