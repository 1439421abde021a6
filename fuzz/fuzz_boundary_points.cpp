// The BoundaryPointFile reader of 绘界址点坐标表 over arbitrary bytes: every
// point it keeps has finite coordinates and reads back from its own line,
// and the table takes exactly one row per point.
#include "fuzz_support.h"
#include "landuse/boundary_table.h"
#include "routines/routines.h"

#include <cmath>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const QString path = home.put(QStringLiteral("d:\\jzd.txt"), fuzz::bytesOf(data, size));
    std::vector<landuse::TablePoint> points;
    try {
        points = landuse::readBoundaryPointFile(path);
    } catch (const RunError&) {
        fuzz::finding("an existing file was refused");
    }
    for (const landuse::TablePoint& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            fuzz::finding("a point without finite coordinates");
        const QString line = p.name + QStringLiteral(",") + NumberText(p.x) + QStringLiteral(",") + NumberText(p.y);
        const std::optional<landuse::TablePoint> again = landuse::tablePointOf(line);
        if (p.name.contains(QLatin1Char(',')) || !again || again->name != p.name)
            fuzz::finding("a kept point does not read back");
    }
    const landuse::BoundaryTable t = landuse::boundaryTable(points, {1000, 2000, 0}, 1);
    const size_t n = points.size();
    const size_t pages = n == 0 ? 1 : (n + landuse::kRowsPerPage - 1) / landuse::kRowsPerPage;
    if (t.pages.size() != pages || t.cells.size() != 5 * n - n / landuse::kRowsPerPage
        || t.texts.size() != 3 * n + (n ? n - 1 : 0) + (n ? pages : 0))
        fuzz::finding("the table's rows do not match the points");
    return 0;
}
