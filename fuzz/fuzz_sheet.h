#pragma once
// The traverse sheet as plain values, to tell whether a refused file left
// it untouched.
#include "fuzz_support.h"
#include "traverse/sheet.h"

#include <QStringList>

namespace kelvor::fuzz {

inline QStringList sheetState(const traverse::TraverseSheet& s)
{
    QStringList out;
    for (int i = 0; i < traverse::TraverseSheet::KnownCells; ++i)
        out << s.text1(i);
    for (int i = 0; i < traverse::TraverseSheet::StationCells; ++i)
        out << s.text5(i);
    for (int r = 0; r < traverse::TraverseSheet::Rows; ++r)
        out << (s.rowVisible(r) ? QStringLiteral("v") : QStringLiteral("h"));
    out << s.grade() << s.contourInterval();
    return out;
}

// A sheet with something in every cell, so that a load that half-happened
// shows.
inline void fillSheet(traverse::TraverseSheet& s)
{
    for (int i = 0; i < traverse::TraverseSheet::KnownCells; ++i)
        s.setText1(i, QStringLiteral("k%1").arg(i));
    for (int i = 0; i < traverse::TraverseSheet::StationCells; ++i)
        s.setText5(i, QStringLiteral("c%1").arg(i));
    s.showAllRows();
}

// A fresh home whose context shows the given sheet, filled.
inline Home& homeWithSheet(traverse::TraverseSheet& sheet)
{
    Home& home = Home::fresh();
    fillSheet(sheet);
    home.context.setSheet(&sheet);
    return home;
}

// A loader run the way its menu item runs it: a fresh home, a filled sheet,
// the input as the file the open dialog is answered with.
template <class Load>
void loadIntoSheet(const uint8_t* data, size_t size, Load load)
{
    traverse::TraverseSheet sheet;
    Home& home = homeWithSheet(sheet);
    home.put(QStringLiteral("d:\\in.txt"), bytesOf(data, size));
    home.answerOpen(QStringLiteral("d:\\in.txt"));
    load(home);
}

} // namespace kelvor::fuzz
