#include "sheet.h"

namespace kelvor::traverse {

TraverseSheet::TraverseSheet(QObject* parent)
    : QObject(parent)
{
    rowVisible_[0] = true;
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

} // namespace kelvor::traverse
