#pragma once
#include <QString>

namespace kelvor::cad {

// The shortest text of a number with at most 15 significant digits ("1E-05"
// and "1E+15" beyond the plain range), and the same with a blank in front of
// a non-negative number and no 0 before the point below 1 (" .5", "-.25").
// A private copy: the platform library does not depend on the app routines.
QString numberText(double v);
QString signedNumberText(double v);
// The number at the start of a text (0 when none).
double leadingNumber(const QString& text);

} // namespace kelvor::cad
