#pragma once
// Shared routines every subsystem links: numbers and texts, fields, column
// filling, D.MMSS angles, bearings and the traverse angle texts.
//
// "No value" results are std::optional: callers that compute read them as 0
// (orZero), callers that show or write them read them as "" (orEmpty,
// shownText). Numbered errors are kelvor::RunError (platform/errors.h).
#include "platform/blanks.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace kelvor {

class Ui;

// The fifteen-digit pi every degree/radian conversion and bearing uses, so a
// 45 degree bearing comes out as 45.00000000000004.
constexpr double kPi15 = 3.14159265358979;

// ---- no value -------------------------------------------------------------

inline double orZero(const std::optional<double>& v) { return v.value_or(0.0); }
inline QString orEmpty(const std::optional<QString>& v) { return v.value_or(QString()); }
// NumberText of the value, "" for no value.
QString shownText(const std::optional<double>& v);

// The most frames, pages or other items a count worked out from a person's
// figures may reach before any work starts. More come from a mistaken figure
// (a corner picked at the origin, a scale typed in the wrong unit), and the
// command names the count instead of working.
constexpr std::int64_t MaxCountFromFigures = 100000;

// ---- numbers and texts ----------------------------------------------------

// The number at the start of a text; blanks, tabs and line feeds anywhere are
// skipped; sign, digits, one ".", exponent E/D. 0 when nothing is readable,
// and when the number is too large for a double ("1E400"): such a field
// holds no value anyone can compute with. Never fails, always finite.
double LeadingNumber(const QString& text);
// As LeadingNumber, but no value for a leading number too large for a
// double, for a reader that refuses such a field instead of reading 0.
std::optional<double> FiniteLeadingNumber(const QString& text);

// Shortest text with at most 15 significant digits, "." always; exponent
// form for tiny and huge magnitudes ("1E-05", "1E+15"). -0 gives "0".
QString NumberText(double value);

// NumberText with a blank before a non-negative number and no 0 before the
// point below magnitude 1: 0.5 -> " .5", -0.25 -> "-.25", 3723 -> " 3723".
QString SignedNumberText(double value);

// The strict test used wherever a text takes part in arithmetic: the whole
// text is one number. Blanks (U+0020) around it and between sign and digits
// are allowed; digits with at most one "."; optional exponent E or D.
// The empty text is no number; neither is an overflowing one.
bool IsNumber(const QString& text);
// The value of such a text, nullopt otherwise.
std::optional<double> ParseNumber(const QString& text);
// As ParseNumber, but raises error 13 for a text that is not a number
// (error 6 when it overflows).
double StrictNumber(const QString& text);

// Number patterns: optional literal prefix (e.g. "+"), integer placeholders
// "#"/"0", ".", decimal placeholders "0"/"#" ("0.00", "###.####",
// "###0.000", "+###0.00", ".000", "#.000", "#####0.00" ...). The value is
// taken to 15 significant digits, then rounded half away from zero on its
// decimal form; the sign is decided before rounding ("-0.000" stays); the
// point is always "." and is written whenever the pattern has one.
QString FormatPattern(double value, const QString& pattern);
// Text that is no number (IsNumber) comes back unchanged.
QString FormatPattern(const QString& value, const QString& pattern);

// Pattern "###0." and n zeros; "+" in front when plus == 1 and the value is
// positive. FormatFixed(12.6, 0) = "13.", FormatFixed(-0.0004, 3) = "-0.000".
QString FormatFixed(double value, int n, int plus = 0);
// Text that is no number comes back unchanged.
QString FormatFixed(const QString& value, int n, int plus = 0);

// A single-precision value as its text gives it back: 7 significant digits,
// the form in which such values have always been printed and carried.
double sevenDigits(float value);

// ---- fields and columns ---------------------------------------------------

// Trimming removes blanks (U+0020) only: TrimBlanks of platform/blanks.h.

// The n-th (from 1) field between commas / hyphens, trimmed. A missing field
// (n < 1, n above the count, the empty line) raises error 9.
QString CommaField(const QString& line, int n);
QString DashField(const QString& line, int n);

// The n-th run of non-blank characters of the trimmed line, for n = 1..6;
// "" when the line has fewer fields; nullopt (no value) for other n.
std::optional<QString> BlankField(const QString& line, int n);

// The ip-th field between commas, trimmed; "" when missing or ip < 1.
// The by-reference form trims the caller's ps in place, as callers expect.
QString selecttx(QString& ps, int ip);
QString selecttx(const QString& ps, int ip);

// value followed by blanks up to width characters, counted on the trimmed
// value (a Chinese character counts one); never cuts; the whole part of
// width - length blanks, none below 1.
QString PadRight(const QString& value, double width);

// ---- D.MMSS angles and bearings --------------------------------------------
// D.MMSS: 114.3000 is 114 deg 30 min 00 s, sign applies to the whole angle.
// The conversions add 1E-10 to |value| before splitting minutes and seconds.
//
// Arguments come by value. The "...InPlace" variants take the caller's
// variable and leave |value| + 1E-10 in it as the originals do to a
// variable passed by reference (a text variable gets its NumberText).

// Never fails for a number.
double DmsToDegrees(double dms);
// A text that is not a number: shows "错误！！" titled "错误" with the
// critical icon on ui (skipped when ui is null) and gives no value.
std::optional<double> DmsToDegrees(const QString& dms, Ui* ui);
double DmsToDegreesInPlace(double& dms);
std::optional<double> DmsToDegreesInPlace(QString& dms, Ui* ui); // unchanged on failure

double DegreesToDms(double degrees);
double DegreesToDms(const QString& degrees); // error 13 for no number
double DegreesToDmsInPlace(double& degrees);
double DegreesToDmsInPlace(QString& degrees); // error 13, unchanged on failure

// DmsToDegrees * kPi15 / 180; 0 after DmsToDegrees's failure message.
double DmsToRadians(double dms);
double DmsToRadians(const QString& dms, Ui* ui);
double DmsToRadiansInPlace(double& dms);
double DmsToRadiansInPlace(QString& dms, Ui* ui);

// Single precision throughout (the nudge is lost): RadiansToDms(1) =
// 57.17448043823242f.
float RadiansToDms(float radians);

// Bearing from (X, Y) to (X1, Y1), X north, clockwise, in [0, 360).
// unit 1 D.MMSS, 2 radians, 3 degrees, any other 0. No value for coincident
// points, and (text form) for a text that is not a number.
enum AzimuthUnit { AzimuthDms = 1, AzimuthRadians = 2, AzimuthDegrees = 3 };
std::optional<double> Azimuth(double X, double Y, double X1, double Y1, int unit);
std::optional<double> Azimuth(const QString& X, const QString& Y, const QString& X1, const QString& Y1,
                              int unit);

// ---- traverse angle texts --------------------------------------------------

// Odd-up even-down rounding of a D.MMSS text to four decimals (奇进偶不进).
// Four decimals or fewer: a_bn itself (blanks kept). No value for a zero
// angle or a last digit other than 0 and 5. A text without "." raises
// error 5.
std::optional<QString> jjobj(const QString& a_bn);

// D.MMSS text to signed total seconds: "+ 3723" for 1.0203, "- 12" for
// -0.0012, " 0" for 0. Error 13 for a text that is not a number. Minutes are
// split with the usual 1E-10 nudge, so 0.2900 gives 1740 seconds.
QString addmiao(const QString& ap_str);

// ap with exactly ass decimals, or unchanged when it has more: "12" ->
// "12.000", "12." -> "12.000", "12.5" -> "12.500" (ass = 3). Error 13 for
// a text that is not a number. A number is taken as its NumberText.
QString addling(const QString& ap, int ass);
QString addling(double ap, int ass);

// 360 deg minus the angle, as "###.####": "90.3000" -> "269.3", "180" ->
// "180.", "359.3" -> ".3". A negative angle gives the negative number,
// returned as its NumberText: "-90.3" -> "-269.3". Error 13 for a text that
// is not a number.
QString panzpany(const QString& assp);
QString panzpany(double assp);

} // namespace kelvor
