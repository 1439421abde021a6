#include "sheet.h"

#include "routines/routines.h"

#include <algorithm>

namespace kelvor::traverse {

TraverseSheet::TraverseSheet(QObject* parent)
    : QObject(parent)
{
    rowVisible_.fill(true);
}

QString TraverseSheet::text1(int index) const
{
    return index >= 0 && index < KnownCells ? text1_[size_t(index)] : QString();
}

void TraverseSheet::setText1(int index, const QString& text)
{
    if (index < 0 || index >= KnownCells || text1_[size_t(index)] == text)
        return;
    text1_[size_t(index)] = text;
    emit changed();
}

QString TraverseSheet::text5(int index) const
{
    return index >= 0 && index < StationCells ? text5_[size_t(index)] : QString();
}

void TraverseSheet::setText5(int index, const QString& text)
{
    if (index < 0 || index >= StationCells || text5_[size_t(index)] == text)
        return;
    text5_[size_t(index)] = text;
    emit changed();
}

bool TraverseSheet::rowVisible(int row) const
{
    return row >= 0 && row < Rows && rowVisible_[size_t(row)];
}

void TraverseSheet::setRowVisible(int row, bool visible)
{
    if (row < 0 || row >= Rows || rowVisible_[size_t(row)] == visible)
        return;
    rowVisible_[size_t(row)] = visible;
    emit changed();
}

int TraverseSheet::shownRows() const
{
    int n = 0;
    while (n < Rows && rowVisible_[size_t(n)])
        ++n;
    return n;
}

bool TraverseSheet::cellVisible(int index) const
{
    if (index >= Rows * Columns)
        return index < StationCells;
    return index >= 0 && rowVisible(index / Columns);
}

int TraverseSheet::firstHiddenCell() const
{
    for (int r = 0; r < Rows; ++r)
        if (!rowVisible_[size_t(r)])
            return r * Columns;
    return Rows * Columns;
}

void TraverseSheet::showAllRows()
{
    bool any = false;
    for (bool& v : rowVisible_) {
        any = any || !v;
        v = true;
    }
    if (any)
        emit changed();
}

void TraverseSheet::hideRowsFromFirstBlankName(int firstRow)
{
    int from = -1;
    for (int r = std::max(firstRow, 0); r < Rows && from < 0; ++r)
        if (TrimBlanks(text5_[size_t(r * Columns)]).isEmpty())
            from = r;
    if (from < 0)
        return;
    bool any = false;
    for (int r = from; r < Rows; ++r) {
        any = any || rowVisible_[size_t(r)];
        rowVisible_[size_t(r)] = false;
    }
    if (any)
        emit changed();
}

void TraverseSheet::clearSheet()
{
    for (QString& t : text1_)
        t.clear();
    for (QString& t : text5_)
        t.clear();
    rowVisible_.fill(true);
    redLabel_ = -1;
    emit changed();
}

void TraverseSheet::setRedLabel(int label)
{
    if (label < -1 || label > Rows)
        label = -1;
    if (redLabel_ == label)
        return;
    redLabel_ = label;
    emit changed();
}

void TraverseSheet::setGrade(const QString& text)
{
    if (grade_ == text)
        return;
    grade_ = text;
    emit changed();
}

void TraverseSheet::setContourInterval(const QString& text)
{
    if (contourInterval_ == text)
        return;
    contourInterval_ = text;
    emit changed();
}

void TraverseSheet::setGradeList(const QStringList& items)
{
    gradeList_ = items;
    emit changed();
}

void TraverseSheet::setContourList(const QStringList& items)
{
    contourList_ = items;
    emit changed();
}

bool TraverseSheet::cellRed(int index) const
{
    return index >= 0 && index < StationCells && cellRed_[size_t(index)];
}

void TraverseSheet::setCellRed(int index, bool red)
{
    if (index < 0 || index >= StationCells || cellRed_[size_t(index)] == red)
        return;
    cellRed_[size_t(index)] = red;
    emit changed();
}

} // namespace kelvor::traverse
