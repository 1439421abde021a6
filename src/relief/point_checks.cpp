#include "relief/point_checks.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "routines/routines.h"

#include <QFile>
#include <cmath>

namespace kelvor::relief {
namespace {

constexpr double kMarkCm = 7.5;    // a row gets "*" from here on
constexpr double kLocateCm = 10;   // a pair gets a locator line from here on

QString numberColumn(int number)
{
    const QString digits = QString::number(number);
    return QLatin1Char(' ') + digits.leftJustified(4, QLatin1Char(' ')) + QStringLiteral("    ");
}

QString dumpLine(double value)
{
    return SignedNumberText(value) + QLatin1Char(' ');
}

} // namespace

QString vertexDumpPath(int line)
{
    return line == 1 ? QStringLiteral("d:\\bak1.txt") : QStringLiteral("d:\\bak2.txt");
}

QString reportPath()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

void writeVertexDump(const QString& path, const std::vector<cad::Pt2>& vertices)
{
    TextWriter out(paths::resolve(path));
    for (const cad::Pt2& v : vertices) {
        out.writeLine(dumpLine(v.y));
        out.writeLine(dumpLine(v.x));
    }
    out.commit();
}

std::vector<cad::Pt2> readVertexDump(const QString& path)
{
    std::vector<cad::Pt2> out;
    if (!textFileExists(path))
        return out;
    const QStringList lines = readTextLines(path);
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2)
        out.push_back({LeadingNumber(lines[i + 1]), LeadingNumber(lines[i])});
    return out;
}

double distanceCm(const cad::Pt2& a, const cad::Pt2& b)
{
    return std::sqrt((a.y - b.y) * (a.y - b.y) + (a.x - b.x) * (a.x - b.x)) * 100;
}

QString pointPairRow(int number, const cad::Pt2& first, const cad::Pt2& second)
{
    const double d = distanceCm(first, second);
    return numberColumn(number) + PadRight(FormatFixed(first.y, 3), 17) + PadRight(FormatFixed(first.x, 3), 16)
        + PadRight(FormatFixed(second.y, 3), 16) + PadRight(FormatFixed(second.x, 3), 13) + FormatFixed(d, 1)
        + (d >= kMarkCm ? QStringLiteral("*") : QString());
}

PairReport pointPairReport(const std::vector<cad::Pt2>& vertices)
{
    PairReport report;
    for (size_t i = 0; i + 1 < vertices.size(); i += 2) {
        const cad::Pt2& a = vertices[i];
        const cad::Pt2& b = vertices[i + 1];
        report.rows << pointPairRow(int(i / 2) + 1, a, b);
        if (distanceCm(a, b) >= kLocateCm)
            report.locators.push_back(a);
    }
    return report;
}

std::vector<VertexLabel> vertexLabels(int count)
{
    std::vector<VertexLabel> out;
    for (int k = 1; k <= count; ++k)
        out.push_back(k % 2 ? VertexLabel{SignedNumberText(k), 1} : VertexLabel{SignedNumberText(k - 1), 7});
    return out;
}

QString lineComparisonHeader()
{
    return QStringLiteral("序号     X1坐标           Y1坐标          X2坐标          Y2坐标       互差CM");
}

QStringList lineComparisonRows(const std::vector<cad::Pt2>& line1, const std::vector<cad::Pt2>& line2)
{
    QStringList rows;
    for (size_t i = 0; i < line1.size(); ++i) {
        const cad::Pt2 partner = i < line2.size() ? line2[i] : line2.empty() ? cad::Pt2{} : line2.back();
        rows << pointPairRow(int(i) + 1, line1[i], partner);
    }
    return rows;
}

std::vector<cad::Pt2> polylineVertices(const cad::Entity& line)
{
    const int last = int(line.Coordinates().size()) - 1;
    std::vector<cad::Pt2> out;
    for (int i = 0; i <= last; ++i) {
        try {
            const cad::Point p = line.Coordinate(i);
            out.push_back({p.x, p.y});
        } catch (const RunError&) {
            break; // past the last vertex
        }
    }
    return out;
}

void removeVertexDumps()
{
    for (int line : {1, 2})
        QFile::remove(paths::resolve(vertexDumpPath(line)));
}

} // namespace kelvor::relief
