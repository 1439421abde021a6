#pragma once
#include "platform/doc/document.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvor::test {

// Builds a document story for tests and fixtures: paragraphs (a "\f" in the
// text is a page break), tables of cell texts, breaks the last layout
// recorded, section starts.
class DocBuilder {
public:
    DocBuilder& para(const QString& text)
    {
        for (QChar c : text)
            add(c, doc::Mark::None, -1);
        add(doc::ParagraphMark, doc::Mark::Paragraph, -1);
        return *this;
    }
    DocBuilder& paras(const QStringList& texts)
    {
        for (const QString& t : texts)
            para(t);
        return *this;
    }
    // Rows of cells; a "\r" inside a cell text starts another paragraph.
    DocBuilder& table(const QList<QStringList>& rows)
    {
        const int tag = nextTable_++;
        for (const QStringList& row : rows) {
            for (const QString& cell : row) {
                for (QChar c : cell)
                    add(c, c == doc::ParagraphMark ? doc::Mark::Paragraph : doc::Mark::None, tag);
                add(doc::CellMark, doc::Mark::Cell, tag);
            }
            add(doc::CellMark, doc::Mark::Row, tag);
        }
        return *this;
    }
    // A table of rows x columns cells, all empty.
    DocBuilder& emptyTable(int rows, int columns)
    {
        return table(QList<QStringList>(rows, QStringList(columns)));
    }
    // The next character starts a page, as a file's last layout recorded it.
    DocBuilder& renderedBreak()
    {
        pageBefore_ = true;
        return *this;
    }
    // The next character starts a section numbered from start (0 continues).
    DocBuilder& section(int start, bool newPage = true)
    {
        sectionStart_ = start;
        sectionNewPage_ = newPage;
        return *this;
    }
    doc::Document build() const { return doc::Document(units_); }
    const doc::Fragment& units() const { return units_; }

private:
    void add(QChar c, doc::Mark mark, int table)
    {
        doc::Unit u{c, mark, table};
        u.pageBefore = pageBefore_;
        u.sectionStart = sectionStart_;
        u.sectionNewPage = sectionNewPage_;
        pageBefore_ = false;
        sectionStart_ = -1;
        sectionNewPage_ = true;
        units_.append(u);
    }

    doc::Fragment units_;
    int nextTable_ = 0;
    bool pageBefore_ = false;
    int sectionStart_ = -1;
    bool sectionNewPage_ = true;
};

} // namespace kelvor::test
