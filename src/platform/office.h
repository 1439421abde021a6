#pragma once
#include <QString>
#include <QVariant>

namespace kelvor::doc {
class Document; // the document host's model (src/platform/doc)
}

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

// The word processor as the commands on result documents drive it: the
// document host (src/platform/doc) implements it, the model's documents are
// its documents. Failures raise RunError: 5174 a document that cannot be
// opened, 5941 an item the document lacks.
class WordApplication {
public:
    virtual ~WordApplication() = default;
    virtual void setVisible(bool on) = 0;
    virtual QString caption() const = 0;
    // Brings the main window to the front by its caption.
    virtual void activate() = 0;
    // Documents.Open: the opened document becomes the active one.
    virtual doc::Document& open(const QString& path) = 0;
    virtual doc::Document& activeDocument() = 0;
    // Document.Close, without saving.
    virtual void close(doc::Document& document) = 0;
    virtual void quit() = 0;

    // The selection of the active document.
    virtual void wholeStory() = 0;
    virtual void copy() = 0;
    // Replaces the selection by the clipboard; the cursor ends after it.
    virtual void paste() = 0;
    // Type 7 (wdPageBreak) in place of the selection; the cursor after it.
    virtual void insertBreak(int type) = 0;
    // Information(wdActiveEndAdjustedPageNumber): the page number shown
    // where the selection ends.
    virtual int pageNumber() = 0;
    // Find forward from the selection to the end: a hit becomes the
    // selection; false, the selection unchanged, when there is none.
    virtual bool find(const QString& text) = 0;
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
