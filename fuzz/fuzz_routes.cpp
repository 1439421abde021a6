// The coordinate-file reader of 展绘导线路线 [批量] over arbitrary bytes:
// every point it keeps is finite and reads back from its own fields, blank
// lines are the only lines without a point, and a file it refuses is refused
// at the first line whose X or Y is too large for a number.
#include "coords/routes.h"
#include "fuzz_support.h"

#include "platform/text_file.h"
#include "routines/routines.h"

#include <cmath>

using namespace kelvor;

KELVOR_FUZZ_INIT

namespace {

bool overflows(const QString& line)
{
    return !FiniteLeadingNumber(orEmpty(BlankField(line, 2))) || !FiniteLeadingNumber(orEmpty(BlankField(line, 3)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const QString path = home.put(QStringLiteral("d:\\r.xyh"), fuzz::bytesOf(data, size));
    QStringList lines;
    try {
        lines = readTextLines(path);
    } catch (const RunError&) {
        fuzz::finding("an existing file was refused");
    }
    const coords::RouteFile route = coords::readRoute(lines);
    if (route.badLine) {
        if (!route.points.empty() || route.badLine > lines.size() || route.badText != lines[route.badLine - 1]
            || !overflows(route.badText))
            fuzz::finding("a refusal that names no overflowing line");
        for (qsizetype i = 0; i + 1 < route.badLine; ++i)
            if (!TrimBlanks(lines[i]).isEmpty() && overflows(lines[i]))
                fuzz::finding("an earlier overflowing line was passed over");
        return 0;
    }
    qsizetype k = 0;
    for (const QString& line : lines) {
        if (TrimBlanks(line).isEmpty())
            continue;
        if (k >= qsizetype(route.points.size()))
            fuzz::finding("a point line without a point");
        const coords::RoutePoint& p = route.points[size_t(k++)];
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            fuzz::finding("a point without finite coordinates");
        if (p.name != orEmpty(BlankField(line, 1)) || p.x != LeadingNumber(orEmpty(BlankField(line, 2)))
            || p.y != LeadingNumber(orEmpty(BlankField(line, 3))))
            fuzz::finding("a point does not read back from its line");
    }
    if (k != qsizetype(route.points.size()))
        fuzz::finding("more points than point lines");
    return 0;
}
