#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kelvor {
class Context;
}

namespace kelvor::exchange {

// The station line of a known point rewritten with the coordinates the
// known-points file (name X Y H per line) holds for it: fields 1 and 2, X, Y,
// H, fields 6 to 8. The last matching point wins; names match without regard
// to case. Nothing when the file has no such point. Raises 53 for a missing
// file, 62 for an empty one, 9 when a matched line lacks a field.
std::optional<QString> rewriteKnownStation(const QString& stationLine, const QString& knownPointsPath);

// The lines of a PCY data file with every known point (attribute "11") of
// its station lists rewritten. Lines go to out as they are done, so a
// failure leaves the finished part there; missing is told each known point
// the file lacks.
void editKnownPoints(const QStringList& data, const QString& knownPointsPath, QStringList& out,
                     const std::function<void(const QString& name)>& missing);

// Field 9 of the first estimate line for this station and target (compared
// without regard to case); nothing without one. Every estimate line read
// must have nine fields (error 9); an empty table raises 62.
std::optional<QString> findEstimate(const QString& estimatePath, const QString& station, const QString& target);

// The lines of a PCY data file with the distance (field 4) of every
// observation line replaced by its estimate. Observation lines are written
// back as their 14 fields trimmed; a line after "[OBSER]" that is empty
// after trimming stays as it is.
QStringList editEstimates(const QStringList& data, const QString& estimatePath);

// 修改已知点数据: known coordinates into a chosen PCY data file.
void huoquyichengguo_Click(Context& ctx);
// 概算表转换: estimated distances into a chosen PCY data file.
void printoutgxb_Click(Context& ctx);

} // namespace kelvor::exchange
