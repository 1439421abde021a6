#include "document.h"

#include "platform/errors.h"

#include <QHash>
#include <algorithm>

namespace kelvor::doc {

Fragment textUnits(const QString& text, int table)
{
    Fragment out;
    out.reserve(text.size());
    for (QChar c : text) {
        Unit u{c};
        u.table = table;
        if (c == ParagraphMark)
            u.mark = Mark::Paragraph;
        out.append(u);
    }
    return out;
}

// ---- Range -----------------------------------------------------------------

QString Range::text() const
{
    return doc_->text(start_, end_);
}

void Range::setText(const QString& text)
{
    end_ = doc_->replace(start_, end_, text);
}

QList<Range> Range::cells() const
{
    QList<Range> out;
    for (int t = 1; t <= doc_->tableCount(); ++t) {
        for (const RowSpan& row : doc_->tableRows(t)) {
            for (const CellSpan& c : row.cells) {
                if (c.start >= start_ && c.start < end_)
                    out.append(Range(doc_, c.start, c.mark + 1));
            }
        }
    }
    return out;
}

void Range::moveEnd(int unit, int count)
{
    if (unit != 1)
        raise(err::InvalidArgument);
    end_ = std::max(start_, doc_->clamp(end_ + count));
}

void Range::select()
{
    doc_->select(start_, end_);
}

// ---- Table -----------------------------------------------------------------

Range Table::range() const
{
    int start = 0;
    const QList<RowSpan> rows = doc_->tableRows(index_, &start);
    return Range(doc_, start, rows.isEmpty() ? start : rows.last().mark + 1);
}

int Table::rowCount() const
{
    return int(doc_->tableRows(index_).size());
}

Range Table::cell(int row, int column) const
{
    const QList<RowSpan> rows = doc_->tableRows(index_);
    if (row < 1 || row > rows.size() || column < 1 || column > rows[row - 1].cells.size())
        raise(err::NoSuchItem);
    const CellSpan& c = rows[row - 1].cells[column - 1];
    return Range(doc_, c.start, c.mark + 1);
}

// ---- Document --------------------------------------------------------------

Document::Document() : Document(Fragment{}) {}

Document::Document(Fragment units) : units_(std::move(units))
{
    if (units_.isEmpty() || units_.last().table >= 0 || units_.last().mark != Mark::Paragraph)
        units_.append(textUnits(QString(ParagraphMark)));
}

QString Document::text(int start, int end) const
{
    QString s;
    for (int i = clamp(start); i < clamp(end); ++i)
        s.append(units_[i].ch);
    return s;
}

const QList<int>& Document::paragraphEnds() const
{
    if (!endsValid_) {
        ends_.clear();
        for (int i = 0; i < length(); ++i) {
            if (units_[i].mark != Mark::None)
                ends_.append(i);
        }
        endsValid_ = true;
    }
    return ends_;
}

int Document::paragraphCount() const
{
    return int(paragraphEnds().size());
}

Range Document::paragraph(int i)
{
    const QList<int>& ends = paragraphEnds();
    if (i < 1 || i > ends.size())
        raise(err::NoSuchItem);
    const int start = i == 1 ? 0 : ends[i - 2] + 1;
    return Range(this, start, ends[i - 1] + 1);
}

int Document::tableCount() const
{
    int count = 0;
    int last = -1;
    for (const Unit& u : units_) {
        if (u.table >= 0 && u.table != last)
            ++count;
        last = u.table;
    }
    return count;
}

Table Document::table(int i)
{
    tableRows(i);
    return Table(this, i);
}

QList<RowSpan> Document::tableRows(int i, int* start) const
{
    int count = 0;
    for (int p = 0; p < length(); ++p) {
        const int tag = units_[p].table;
        if (tag < 0 || (p > 0 && units_[p - 1].table == tag))
            continue;
        if (++count != i)
            continue;
        if (start)
            *start = p;
        QList<RowSpan> rows;
        RowSpan row;
        int cellStart = p;
        for (int q = p; q < length() && units_[q].table == tag; ++q) {
            if (units_[q].mark == Mark::Cell) {
                row.cells.append({cellStart, q});
                cellStart = q + 1;
            } else if (units_[q].mark == Mark::Row) {
                row.mark = q;
                rows.append(row);
                row = RowSpan();
                cellStart = q + 1;
            }
        }
        return rows;
    }
    raise(err::NoSuchItem);
}

int Document::pageOf(int position) const
{
    return pagesOf({position}).first();
}

QList<int> Document::pagesOf(const QList<int>& positions) const
{
    QList<int> pages;
    pages.reserve(positions.size());
    int page = 1;
    bool freshPage = true; // nothing on the page yet: a recorded break here is the same page
    // What a unit starts (a section, a recorded page) counts for its own
    // position; what it holds (text, a page break) only for those after it.
    const auto starts = [&](int i) {
        const Unit& u = units_[i];
        if (u.sectionStart >= 0) {
            if (i > 0 && u.sectionNewPage && !freshPage) {
                ++page;
                freshPage = true;
            }
            if (u.sectionStart > 0)
                page = u.sectionStart;
        }
        if (u.pageBefore && !freshPage)
            ++page;
    };
    const auto holds = [&](int i) {
        const Unit& u = units_[i];
        if (u.mark == Mark::None && u.ch != PageBreakChar)
            freshPage = false;
        if (u.ch == PageBreakChar) {
            ++page;
            freshPage = true;
        }
    };
    int at = -1; // the unit last started, not yet held
    for (int position : positions) {
        const int last = std::min(clamp(position), length() - 1);
        if (last < at)
            raise(err::InvalidArgument);
        for (; at < last; starts(at)) {
            if (at >= 0)
                holds(at);
            ++at;
        }
        pages.append(page);
    }
    return pages;
}

Fragment Document::copy(int start, int end) const
{
    return units_.mid(clamp(start), std::max(0, clamp(end) - clamp(start)));
}

int Document::newTableTag() const
{
    int tag = -1;
    for (const Unit& u : units_)
        tag = std::max(tag, u.table);
    return tag + 1;
}

void Document::shift(int at, int delta)
{
    auto move = [&](int& p) {
        if (p >= at)
            p = std::max(at, p + delta);
    };
    move(selection_.start);
    move(selection_.end);
    modified = true;
    endsValid_ = false;
}

int Document::insert(int position, const Fragment& content)
{
    const int at = std::min(clamp(position), length() - 1);
    const int hostTable = units_[at].table;
    // At the start of a table, whole paragraphs go before it; anything
    // else lands in the cell as its paragraphs.
    const bool tableStart = hostTable >= 0 && (at == 0 || units_[at - 1].table != hostTable);
    const bool wholeParagraphs =
        !content.isEmpty() && content.last().table < 0 && content.last().mark == Mark::Paragraph;
    const bool intoCell = hostTable >= 0 && !(tableStart && wholeParagraphs);
    Fragment in;
    QHash<int, int> tags;
    int next = newTableTag();
    for (Unit u : content) {
        if (intoCell) {
            if (u.mark != Mark::None)
                u = textUnits(QString(ParagraphMark)).first();
            u.table = hostTable;
        } else if (u.table >= 0) {
            if (!tags.contains(u.table))
                tags.insert(u.table, next++);
            u.table = tags.value(u.table);
        }
        u.sectionStart = -1; // sections stay where the target has them
        in.append(u);
    }
    if (at == 0 && !in.isEmpty()) {
        std::swap(in.first().sectionStart, units_.first().sectionStart);
        std::swap(in.first().sectionNewPage, units_.first().sectionNewPage);
    }
    units_.insert(at, in.size(), Unit());
    std::copy(in.cbegin(), in.cend(), units_.begin() + at);
    shift(at, int(in.size()));
    return at + int(in.size());
}

int Document::replace(int start, int end, const QString& text)
{
    const int s = clamp(start);
    int e = clamp(end);
    // Structural marks and the story's last mark stay; the rest goes.
    Fragment kept;
    for (int i = s; i < e; ++i) {
        const Unit& u = units_[i];
        if (u.mark == Mark::Cell || u.mark == Mark::Row || i == length() - 1)
            kept.append(u);
    }
    const int removed = e - s - int(kept.size());
    units_.erase(units_.begin() + s, units_.begin() + e);
    units_.insert(s, kept.size(), Unit());
    std::copy(kept.cbegin(), kept.cend(), units_.begin() + s);
    e -= removed;
    const int at = std::min(s, length() - 1);
    const int tag = units_[at].table;
    const Fragment in = textUnits(text, tag);
    units_.insert(at, in.size(), Unit());
    std::copy(in.cbegin(), in.cend(), units_.begin() + at);
    shift(s, -removed);
    shift(at, int(in.size()));
    return e + int(in.size());
}

void Document::replaceEach(QList<Replacement> replacements)
{
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.start < b.start; });
    Fragment out;
    out.reserve(length());
    int done = 0;
    struct Shift {
        int start, removed, at, inserted;
    };
    QList<Shift> shifts;
    for (const Replacement& r : std::as_const(replacements)) {
        const int s = clamp(r.start);
        const int e = std::max(s, clamp(r.end));
        if (s < done)
            raise(err::InvalidArgument);
        out.append(units_.mid(done, s - done));
        // as replace(): structural marks and the story's last mark stay, the
        // text goes before them, in the table of the unit it lands on
        Fragment kept;
        for (int i = s; i < e; ++i) {
            const Unit& u = units_[i];
            if (u.mark == Mark::Cell || u.mark == Mark::Row || i == length() - 1)
                kept.append(u);
        }
        const int tag = !kept.isEmpty() ? kept.first().table : units_[std::min(e, length() - 1)].table;
        const Fragment in = textUnits(r.text, tag);
        if (s == length()) {
            // nothing after it: the text goes before the last mark, as replace() puts it
            out.insert(out.size() - 1, in.size(), Unit());
            std::copy(in.cbegin(), in.cend(), out.end() - 1 - in.size());
        } else {
            out.append(in);
        }
        out.append(kept);
        shifts.append({s, e - s - int(kept.size()), std::min(s, length() - 1), int(in.size())});
        done = e;
    }
    out.append(units_.mid(done));
    units_ = std::move(out);
    modified = true;
    endsValid_ = false;
    for (auto it = shifts.crbegin(); it != shifts.crend(); ++it) {
        shift(it->start, -it->removed);
        shift(it->at, it->inserted);
    }
}

bool Document::find(const QString& what, int from, int* start, int* end) const
{
    if (what.isEmpty())
        return false;
    const QString all = text(0, length());
    const int hit = all.indexOf(what, clamp(from));
    if (hit < 0)
        return false;
    *start = hit;
    *end = hit + int(what.size());
    return true;
}

void Document::select(int start, int end)
{
    selection_.start = clamp(start);
    selection_.end = std::max(selection_.start, clamp(end));
}

} // namespace kelvor::doc
