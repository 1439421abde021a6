#include "coords/coordinate_input.h"

#include "routines/routines.h"

#include <cmath>

namespace kelvor::coords {

namespace {

// Minutes and seconds of a dd.mmss text are its digits, so they are read from
// the number's 15-digit form rather than by floating-point subtraction.
bool minutesOrSecondsTooLarge(double v)
{
    const double a = std::abs(v);
    const double minutesSeconds = std::round((a - std::floor(a)) * 1e10); // mmss as 10 digits
    const double minutes = std::floor(minutesSeconds / 1e8);
    const double seconds = (minutesSeconds - minutes * 1e8) / 1e6;
    return minutes >= 60 || seconds >= 60;
}

} // namespace

std::optional<QString> coordinateInputFault(const std::vector<CoordinateField>& fields)
{
    for (const CoordinateField& f : fields) {
        const std::optional<double> v = ParseNumber(f.text);
        if (!v || !std::isfinite(*v))
            return QStringLiteral("%1：数据为空或非法的数字或字符。").arg(f.name);
        if (f.latitude && std::abs(*v) > 90)
            return QStringLiteral("%1：纬度必须在±90°之间。").arg(f.name);
        if (f.angle && minutesOrSecondsTooLarge(*v))
            return QStringLiteral("%1：分和秒必须小于60。").arg(f.name);
    }
    return std::nullopt;
}

} // namespace kelvor::coords
