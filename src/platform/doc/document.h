#pragma once
#include <QList>
#include <QString>

// The document host's model: one story of characters in which every
// paragraph mark, end-of-cell mark and end-of-row mark takes one position,
// as the word processor's automation counts them. Commands address it by
// character positions (ranges), paragraph and table numbers from 1.
namespace kelvor::doc {

// Characters of the story as a range's text gives them.
inline constexpr QChar ParagraphMark = u'\r';
inline constexpr QChar CellMark = u'\a';    // end of a cell and end of a row
inline constexpr QChar PageBreakChar = u'\f';
inline constexpr QChar LineBreakChar = u'\v';

enum class Mark : unsigned char { None, Paragraph, Cell, Row };

// One position of the story.
struct Unit {
    QChar ch;
    Mark mark = Mark::None;
    int table = -1;          // units of one table share a tag; -1 outside tables
    bool pageBefore = false; // the file's last layout began a page here
    // A section begins here: -1 none, 0 numbering continues, n > 0 starts at n.
    int sectionStart = -1;
    bool sectionNewPage = true;
};

// Copied content, as the clipboard holds it.
using Fragment = QList<Unit>;

class Document;

// A stretch of the story [start, end).
class Range {
public:
    Range(Document* doc, int start, int end) : doc_(doc), start_(start), end_(end) {}
    int start() const { return start_; }
    int end() const { return end_; }
    QString text() const;
    // Replaces the content; end-of-cell and end-of-row marks inside stay.
    void setText(const QString& text);
    // The cells that begin inside the range, in reading order.
    QList<Range> cells() const;
    // Unit 1 (a character): moves the end by count, never before the start.
    void moveEnd(int unit, int count);
    void select();

private:
    Document* doc_;
    int start_;
    int end_;
};

struct CellSpan {
    int start; // first position of the cell
    int mark;  // position of its end-of-cell mark
};
struct RowSpan {
    QList<CellSpan> cells;
    int mark = 0; // end-of-row mark
};

// Table i of a document; its cells are found afresh at every use, so
// writing one cell never leaves the others pointing at old positions.
class Table {
public:
    Table(Document* doc, int index) : doc_(doc), index_(index) {}
    Range range() const;
    int rowCount() const;
    // Row and column from 1; a cell the table lacks raises 5941.
    Range cell(int row, int column) const;

private:
    Document* doc_;
    int index_;
};

struct Selection {
    int start = 0;
    int end = 0;
};

class Document {
public:
    // One empty paragraph.
    Document();
    // Takes units as read from a file; adds the closing paragraph a story
    // needs after a last table (or an empty one).
    explicit Document(Fragment units);

    int length() const { return int(units_.size()); }
    const Fragment& units() const { return units_; }
    QString text(int start, int end) const;
    Range range(int start, int end) { return Range(this, clamp(start), clamp(end)); }
    Range content() { return range(0, length()); }

    // Paragraph i from 1: cell paragraphs and end-of-row marks count, in
    // story order. Past the end raises 5941.
    int paragraphCount() const;
    Range paragraph(int i);
    int tableCount() const;
    Table table(int i); // 5941 past the end
    // The rows of table i and its first position (5941 past the end).
    QList<RowSpan> tableRows(int i, int* start = nullptr) const;

    // The page number shown on the page of a position: one more for every
    // page break before it (explicit, or recorded by the last layout), a
    // section's own start number honoured.
    int pageOf(int position) const;
    // pageOf() of each position, in one walk of the story: positions in
    // ascending order (InvalidArgument otherwise).
    QList<int> pagesOf(const QList<int>& positions) const;

    Fragment copy(int start, int end) const;
    // Inserts at a position (at most before the last paragraph mark); a
    // table pasted into a cell comes in as its cells' paragraphs.
    // Returns the position after the insertion.
    int insert(int position, const Fragment& content);
    // Replaces [start, end) by plain text ("\r" a paragraph mark, "\f" a
    // page break); structural marks inside the range stay.
    int replace(int start, int end, const QString& text);
    // replace() of several stretches that do not overlap (InvalidArgument
    // otherwise), in one rebuilding of the story: the document and its
    // selection end as replace() one stretch after the other from the last
    // would leave them.
    struct Replacement {
        int start;
        int end;
        QString text;
    };
    void replaceEach(QList<Replacement> replacements);
    // The first occurrence at or after from; false when there is none.
    bool find(const QString& what, int from, int* start, int* end) const;

    Selection& selection() { return selection_; }
    const Selection& selection() const { return selection_; }
    void select(int start, int end);

    QString path;        // "" for a new document
    bool lossy = false;  // the file held content this model does not keep
    bool modified = false;

private:
    friend class Range;
    int clamp(int p) const { return qBound(0, p, length()); }
    void shift(int at, int delta);
    int newTableTag() const;
    // Positions of the marks that end paragraphs, kept until the next edit:
    // commands walk thousands of paragraphs by number.
    const QList<int>& paragraphEnds() const;

    Fragment units_;
    mutable QList<int> ends_;
    mutable bool endsValid_ = false;
    Selection selection_;
};

// Plain characters as units (paragraph marks and page breaks included).
Fragment textUnits(const QString& text, int table = -1);

} // namespace kelvor::doc
