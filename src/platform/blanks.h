#pragma once
#include <QString>

namespace kelvor {

// The text without the blanks (U+0020 only) at either end, as the
// original's Trim: tabs and full-width blanks are kept.
inline QString TrimBlanks(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

} // namespace kelvor
