#pragma once
#include <QString>
#include <QVariant>

namespace kelvor::cad {

// Ports to the word processor and the spreadsheet that some commands drive;
// commands reach them through OfficeHosts (Context::office()).

// The spreadsheet: its active sheet's cells, 1-based as it counts them
// (rows 1..65536, columns 1..256). A host started without a workbook has no
// active sheet; cell and active-cell calls then, and cell calls outside the
// bounds, raise RunError 1004 (err::ObjectDefined). A cell holds nothing, a
// number (double) or a text, kept as written.
class ExcelApplication {
public:
    virtual ~ExcelApplication() = default;
    virtual void setVisible(bool on) = 0;
    virtual bool hasActiveSheet() const = 0;
    virtual QVariant cell(int row, int column) const = 0;
    virtual void setCell(int row, int column, const QVariant& value) = 0;
    virtual int activeRow() const = 0;
    virtual int activeColumn() const = 0;
};

class WordApplication {
public:
    virtual ~WordApplication() = default;
    virtual void setVisible(bool on) = 0;
    virtual QString caption() const = 0;
    virtual void quit() = 0;
};

class OfficeHosts {
public:
    virtual ~OfficeHosts() = default;
    // Null when none runs / none can be started.
    virtual ExcelApplication* runningExcel() = 0;
    virtual ExcelApplication* startExcel() = 0;
    virtual WordApplication* runningWord() = 0;
    virtual WordApplication* startWord() = 0;
};

} // namespace kelvor::cad
