#pragma once
// Height notes placed from picks: elevation points interpolated between two
// contours, and water-surface notes.
#include "cad/model/geometry.h"

#include <QDate>
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// Sizes of the elevation notes for the answer to the scale question,
// compared exactly: "2"/"b" 1:1000, "3"/"c" 1:2000, anything else 1:500.
struct NoteScale {
    double textHeight;
    double blockScale;
};
NoteScale noteScale(const QString& answer);

// 内 插 高 程 点 (addgcd): per pass a pick on a contour, one on its
// neighbour and one between; a temporary 3D line between the first two lets
// the nearest snap give the third its interpolated height, noted by a text
// and a "gc200" block on gcd, each with its CASS code. OSMODE stays 512.
void addgcd_Click(Context& ctx);

// One water-surface note at the note point (x, y) for the height h: a rule
// 7 long, the height above it and the date below, which alone carries h.
struct WaterNote {
    cad::Point ruleStart, ruleEnd;
    cad::Point heightAt, dateAt;
    QString height, date;
};
WaterNote waterNote(double x, double y, double h, const QDate& today);

// 注记水面高程 (shuimiangaochenzj): notes on "zj" until a pick is
// cancelled; a missing host or any refused call ends it silently.
void shuimiangaochenzj_Click(Context& ctx);

} // namespace kelvor::relief
