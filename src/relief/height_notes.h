#pragma once
// Elevation notes on the layers gcd and laheight: a constant added to the
// picked notes, and their height texts rounded to a number of decimals.
#include <QString>
#include <optional>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// The number a note's text begins with (read as LeadingNumber reads it);
// none when the text does not begin with one ("K12", "", "."), so that a
// point name is never taken for the height 0.
std::optional<double> noteNumber(const QString& text);

// The text of a height note raised by c: its leading number plus c in the
// pattern ".00" (0.5 as ".50"); none for a text that does not begin with a
// number, which keeps its contents.
std::optional<QString> offsetNoteText(const QString& text, double c);

// The pattern for a number of decimals: 1 "0.0", 2 "0.00", 3 "0.000";
// none for any other answer.
std::optional<QString> decimalsPattern(double decimals);

// 高程点加一常数 (laheightaddnumber): blocks on gcd or laheight rise by the
// constant, texts take their value plus it in colour 4, each zoomed to.
void laheightaddnumber_Click(Context& ctx);

// 高 程 点 取 位 (laheightgcdqw): the picked height texts rewritten with 1, 2
// or 3 decimals; a text that is not a number keeps its contents.
void laheightgcdqw_Click(Context& ctx);

} // namespace kelvor::relief
