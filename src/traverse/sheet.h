#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

namespace kelvor::traverse {

// The traverse sheet of the main window as a model: every cell holds the
// text as typed. Windows draw it and tests drive it; the loaders of other
// subsystems fill it and the adjustment reads it.
//   Text1(0..13): the four known points (StartOrientation A, StartStation B,
//                 EndOrientation D, EndStation C).
//   Text5(0..107): twelve station rows of nine columns (row r, column c is
//                 cell 9*r + c); Text5(108), Text5(109): the last station.
//   Combo1: the grade; Combo2: the contour interval.
//   Label5(1..12): row labels "1".."12"; Label5(0): "13", the last station.
class TraverseSheet : public QObject {
    Q_OBJECT
public:
    static constexpr int KnownCells = 14;
    static constexpr int StationCells = 110;
    static constexpr int Rows = 12;
    static constexpr int Columns = 9;

    explicit TraverseSheet(QObject* parent = nullptr);

    QString text1(int index) const;
    void setText1(int index, const QString& text);
    QString text5(int index) const;
    void setText5(int index, const QString& text);

    // Rows 0..R-1 are shown; row 0 always is.
    bool rowVisible(int row) const;
    void setRowVisible(int row, bool visible);
    int shownRows() const;
    // Whether grid cell k (0..107) is shown; the last station always is.
    bool cellVisible(int index) const;
    // F: the first hidden grid cell, 108 when every row is shown.
    int firstHiddenCell() const;
    // R = F / 9, the rows every writer of the sheet takes.
    int rowsInUse() const { return firstHiddenCell() / Columns; }
    // N = R + 1: the rows in use and the last station.
    int stationCount() const { return rowsInUse() + 1; }
    void showAllRows();
    // From firstRow on, the first row whose trimmed name is empty and every
    // row after it are hidden; rows hidden before stay hidden.
    void hideRowsFromFirstBlankName(int firstRow);

    // ClearSheet: every Text1 and Text5 text emptied, all rows shown, no
    // row label red. The grade and contour boxes stay.
    void clearSheet();

    // The row label painted red (Label5 index 1..12, 0 for the last
    // station's line), -1 when none is. Label5(1) starts red.
    int redLabel() const { return redLabel_; }
    void setRedLabel(int label);

    // A Text5 cell whose text is painted red until it next loses the focus
    // (the distances the projection correction changed).
    bool cellRed(int index) const;
    void setCellRed(int index, bool red);

    QString grade() const { return grade_; }                     // Combo1 text
    void setGrade(const QString& text);
    QString contourInterval() const { return contourInterval_; } // Combo2 text
    void setContourInterval(const QString& text);
    QStringList gradeList() const { return gradeList_; }
    void setGradeList(const QStringList& items);
    QStringList contourList() const { return contourList_; }
    void setContourList(const QStringList& items);

signals:
    void changed();

private:
    std::array<QString, KnownCells> text1_;
    std::array<QString, StationCells> text5_;
    std::array<bool, Rows> rowVisible_{};
    int redLabel_ = 1;
    std::array<bool, StationCells> cellRed_{};
    QString grade_;
    QString contourInterval_;
    QStringList gradeList_;
    QStringList contourList_;
};

} // namespace kelvor::traverse
