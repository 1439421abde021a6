#pragma once
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// The calculators window `tool`: each button reads its boxes, as typed, and
// answers in a message box (the plot draws in the CAD host instead).

// 高差计算 (Command16): α in D.MMSS, distance, instrument and target height;
// slope = true for "斜距".
void Command16_Click(Context& ctx, const QString& angle, const QString& distance, const QString& instrument,
                     const QString& target, bool slope);
// 弧度->角度 (Command2): a box that is empty or no number is refused.
void Command2_Click(Context& ctx, const QString& radians);
// 角度->弧度 (Command3).
void Command3_Click(Context& ctx, const QString& dms);
// 方位角反算 (Command6): X, Y of the first point, X1, Y1 of the second.
void Command6_Click(Context& ctx, const QString& x, const QString& y, const QString& x1, const QString& y1);
// 展点 (Command1): "name X Y [H]"; the point symbol block at (Y, X, 0) and
// the name beside it.
void Command1_Click(Context& ctx, const QString& pointLine);

// The texts the buttons show, for the window and its tests.
QString heightDifferenceText(double h);
// Seconds as the inverse bearing shows them: never in exponent form, cut
// after the fifth character.
QString bearingSecondsText(double seconds);
QString inverseBearingText(const QString& x, const QString& y, const QString& x1, const QString& y1);

} // namespace kelvor::tools
