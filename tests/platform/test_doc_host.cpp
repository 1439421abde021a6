#include "platform/doc/docx.h"
#include "platform/doc/host.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "platform/zip_package.h"

#include "../support/doc_builder.h"
#include "../support/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::test::DocBuilder;
using kelvor::test::u;

namespace {

// A story of two paragraphs, a 2 x 2 table, a closing paragraph.
doc::Document sample()
{
    return DocBuilder().paras({u("甲"), u("乙乙")}).table({{u("a"), u("b")}, {u("c"), u("dd")}}).para(u("丙")).build();
}

} // namespace

TEST(DocHost, ParagraphsCountCellParagraphsAndRowEnds)
{
    doc::Document d = sample();
    const struct {
        int item;
        QString text;
    } cases[] = {
        {1, u("甲\r")}, {2, u("乙乙\r")}, {3, u("a\a")}, {4, u("b\a")}, {5, u("\a")}, // row end
        {6, u("c\a")},  {7, u("dd\a")},  {8, u("\a")},  {9, u("丙\r")},
    };
    for (const auto& c : cases) {
        const doc::Range p = d.paragraph(c.item);
        EXPECT_EQ(d.range(p.start(), p.end()).text(), c.text) << "paragraph " << c.item;
    }
    EXPECT_EQ(d.paragraphCount(), 9);
    const struct {
        const char* what;
        std::function<void()> call;
    } failures[] = {
        {"paragraph past the end", [&] { d.paragraph(10); }},
        {"paragraph 0", [&] { d.paragraph(0); }},
        {"table past the end", [&] { d.table(2); }},
        {"row past the end", [&] { d.table(1).cell(3, 1); }},
        {"column past the end", [&] { d.table(1).cell(1, 3); }},
    };
    for (const auto& f : failures)
        EXPECT_EQ(test::errorOf(f.call), err::NoSuchItem) << f.what;
}

TEST(DocHost, CellsInReadingOrderWithoutTheirMarks)
{
    doc::Document d = DocBuilder().para(u("x")).table({{u("1"), u("2"), u("3")}, {u("4"), u("五\r六"), u("")}}).build();
    QStringList texts;
    for (doc::Range cell : d.table(1).range().cells()) {
        cell.moveEnd(1, -1);
        texts << cell.text();
    }
    EXPECT_EQ(texts, (QStringList{u("1"), u("2"), u("3"), u("4"), u("五\r六"), u("")}));
    // Writing a cell leaves its mark and moves the cells after it.
    d.table(1).cell(1, 2).setText(u("二十"));
    EXPECT_EQ(d.table(1).cell(1, 2).text(), u("二十\a"));
    EXPECT_EQ(d.table(1).cell(2, 1).text(), u("4\a"));
    EXPECT_EQ(d.table(1).rowCount(), 2);
}

TEST(DocHost, BreakAndPasteAtTheCursor)
{
    doc::Hosts hosts;
    hosts.startWord();
    doc::Instance* source = &hosts.started(0);
    source->adopt(DocBuilder().para(u("源一")).table({{u("t")}}).para(u("源二")).build());
    source->wholeStory();
    source->copy();

    const struct {
        const char* name;
        int start, end; // selection in "AB\rCD\r"
        QString story;
        int cursor;
    } cases[] = {
        {"cursor mid-paragraph", 1, 1, u("A\f源一\rt\a\a源二\rB\rCD\r"), 11},
        {"selection collapsed to its end", 0, 2, u("AB\f源一\rt\a\a源二\r\rCD\r"), 12},
        {"cursor at the story's start", 0, 0, u("\f源一\rt\a\a源二\rAB\rCD\r"), 10},
    };
    for (const auto& c : cases) {
        doc::Instance target(hosts.shared());
        doc::Document& d = target.adopt(DocBuilder().paras({u("AB"), u("CD")}).build());
        d.select(c.end, c.end); // the merge collapses a selection first
        target.insertBreak(7);
        target.paste();
        EXPECT_EQ(d.content().text(), c.story) << c.name;
        EXPECT_EQ(d.selection().start, c.cursor) << c.name;
        EXPECT_EQ(d.selection().end, c.cursor) << c.name;
        EXPECT_EQ(d.tableCount(), 1) << c.name;
    }
    // Pasted at the very start, the content joins the target's first section.
    doc::Instance target(hosts.shared());
    doc::Document& d = target.adopt(DocBuilder().section(5).para(u("AB")).build());
    target.paste();
    EXPECT_EQ(d.pageOf(0), 5);
    EXPECT_EQ(d.pageOf(d.length() - 1), 5);
}

TEST(DocHost, StretchesReplacedAtOnceAsOneAfterAnother)
{
    // sample(): 甲 ¶ 乙乙 ¶ | a ¤ b ¤ row | c ¤ dd ¤ row | 丙 ¶ (18 positions)
    const struct {
        const char* name;
        QList<doc::Document::Replacement> edits; // positions in sample()
    } cases[] = {
        {"cells", {{5, 7, u("新a")}, {10, 12, u("")}, {12, 15, u("x\fy")}}},
        {"paragraph and cell", {{0, 2, u("头")}, {7, 9, u("b2")}}},
        {"insertion and the last paragraph", {{3, 3, u("插")}, {16, 18, u("尾")}}},
        {"after the last mark", {{18, 18, u("末")}}},
    };
    for (const auto& c : cases) {
        doc::Document one = sample();
        doc::Document all = sample();
        one.select(4, 20);
        all.select(4, 20);
        QList<doc::Document::Replacement> backwards = c.edits;
        std::sort(backwards.begin(), backwards.end(), [](const auto& a, const auto& b) { return a.start > b.start; });
        for (const auto& e : backwards)
            one.replace(e.start, e.end, e.text);
        all.replaceEach(c.edits);
        EXPECT_EQ(all.content().text(), one.content().text()) << c.name;
        EXPECT_EQ(all.tableCount(), one.tableCount()) << c.name;
        EXPECT_EQ(all.paragraphCount(), one.paragraphCount()) << c.name;
        for (int i = 0; i < one.length(); ++i) {
            EXPECT_EQ(all.units()[i].mark, one.units()[i].mark) << c.name << " at " << i;
            EXPECT_EQ(all.units()[i].table, one.units()[i].table) << c.name << " at " << i;
        }
        EXPECT_EQ(all.selection().start, one.selection().start) << c.name;
        EXPECT_EQ(all.selection().end, one.selection().end) << c.name;
    }
    doc::Document d = sample();
    EXPECT_EQ(test::errorOf([&] { d.replaceEach({{0, 4, u("a")}, {3, 5, u("b")}}); }), err::InvalidArgument);
}

TEST(DocHost, FindFromTheSelectionAMissLeavesIt)
{
    doc::Hosts hosts;
    doc::Instance word(hosts.shared());
    doc::Document& d = word.adopt(DocBuilder().paras({u("控 制 网 一"), u("中间"), u("控 制 网 二")}).build());
    const struct {
        int from;
        bool hit;
        int start, end;
    } cases[] = {
        {0, true, 0, 5}, {1, true, 11, 16}, {11, true, 11, 16}, {12, false, 12, 12},
    };
    for (const auto& c : cases) {
        d.select(c.from, c.from);
        EXPECT_EQ(word.find(u("控 制 网")), c.hit) << "from " << c.from;
        EXPECT_EQ(d.selection().start, c.start) << "from " << c.from;
        EXPECT_EQ(d.selection().end, c.end) << "from " << c.from;
    }
    // A found text is searched past, not found again.
    d.select(0, 0);
    word.find(u("控 制 网"));
    word.find(u("控 制 网"));
    EXPECT_EQ(d.selection().start, 11);
}

TEST(DocHost, PagesFromExplicitAndRecordedBreaksAndSectionStarts)
{
    // p1 "a", explicit break, p2 "b" + recorded break (same page: nothing
    // was on it yet), "c" recorded on a new page (3), section from 5: "d",
    // continuous section: "e" (still 5), explicit break: "f" (6).
    doc::Document d = DocBuilder()
                          .para(u("a\f"))
                          .renderedBreak()
                          .para(u("b"))
                          .renderedBreak()
                          .para(u("c"))
                          .section(5)
                          .para(u("d"))
                          .section(0, false)
                          .para(u("e\f"))
                          .para(u("f"))
                          .build();
    const struct {
        QString text;
        int page;
    } cases[] = {{u("a"), 1}, {u("\f"), 1}, {u("b"), 2}, {u("c"), 3}, {u("d"), 5}, {u("e"), 5}, {u("f"), 6}};
    const QString all = d.content().text();
    for (const auto& c : cases)
        EXPECT_EQ(d.pageOf(int(all.indexOf(c.text))), c.page) << c.text.toStdString();

    // every position in one walk, as one by one
    QList<int> positions;
    QList<int> onePerCall;
    for (int i = 0; i < d.length(); ++i) {
        positions << i << i;
        onePerCall << d.pageOf(i) << d.pageOf(i);
    }
    EXPECT_EQ(d.pagesOf(positions), onePerCall);
    EXPECT_EQ(test::errorOf([&] { d.pagesOf({3, 2}); }), err::InvalidArgument);

    // Information(1) reads the page where the selection ends.
    doc::Hosts hosts;
    doc::Instance word(hosts.shared());
    doc::Document& w = word.adopt(d);
    w.select(0, int(all.indexOf(u("d"))) + 1);
    EXPECT_EQ(word.pageNumber(), 5);
}

TEST(DocHost, DocxRoundTripKeepsParagraphsBreaksTablesAndTabs)
{
    const doc::Document d = DocBuilder()
                                .para(u("名称\t值"))
                                .para(u("第一页\f第二页"))
                                .table({{u("点名"), u("X")}, {u("A1\r第二段"), u("")}})
                                .renderedBreak()
                                .para(u("测站：A12"))
                                .section(5)
                                .para(u("尾"))
                                .build();
    const doc::Document back = doc::readDocxBytes(doc::docxBytes(d));
    EXPECT_EQ(back.units().size(), d.units().size());
    const doc::Fragment& a = d.units();
    const doc::Fragment& b = back.units();
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        EXPECT_EQ(b[i].ch, a[i].ch) << "unit " << i;
        EXPECT_EQ(b[i].mark, a[i].mark) << "unit " << i;
        EXPECT_EQ(b[i].table >= 0, a[i].table >= 0) << "unit " << i;
        EXPECT_EQ(b[i].pageBefore, a[i].pageBefore) << "unit " << i;
        EXPECT_EQ(b[i].sectionStart > 0 ? b[i].sectionStart : 0, a[i].sectionStart > 0 ? a[i].sectionStart : 0)
            << "unit " << i;
    }
    EXPECT_FALSE(back.lossy);
}

TEST(DocHost, BrokenPackagesFailToOpen)
{
    const QByteArray good = doc::docxBytes(sample());
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty file", QByteArray()},
        {"not a zip", QByteArray("PK\x03\x04 garbage")},
        {"cut short", good.left(good.size() / 2)},
        {"no document part", buildZipPackage({{QStringLiteral("a.xml"), QByteArray("<a/>")}})},
        {"bad XML", buildZipPackage({{QStringLiteral("word/document.xml"), QByteArray("<w:document><w:body><w:p>")}})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::errorOf([&] { doc::readDocxBytes(c.bytes); }), err::CannotOpenDocument) << c.name;
    // An entry over the size limit (a zip bomb in small) is refused the same way.
    EXPECT_EQ(test::errorOf([&] { doc::readDocxBytes(good, QString(), 64); }), err::CannotOpenDocument);
    EXPECT_EQ(test::errorOf([&] { doc::readDocxBytes(good, QString(), 1 << 20); }), 0);
}

TEST(DocHost, FormattingAndPicturesMarkTheDocumentLossy)
{
    const QByteArray head = "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                            "<w:body>";
    const struct {
        const char* name;
        QByteArray body;
        bool lossy;
        QString text;
    } cases[] = {
        {"plain", "<w:p><w:r><w:t>ab</w:t></w:r></w:p>", false, u("ab\r")},
        {"bold run", "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>ab</w:t></w:r></w:p>", true, u("ab\r")},
        {"picture", "<w:p><w:r><w:drawing/><w:t>ab</w:t></w:r></w:p>", true, u("ab\r")},
        {"hyperlink text counts", "<w:p><w:hyperlink><w:r><w:t>ab</w:t></w:r></w:hyperlink></w:p>", false, u("ab\r")},
        {"deleted text dropped", "<w:p><w:del><w:r><w:delText>x</w:delText></w:r></w:del><w:r><w:t>ab</w:t></w:r></w:p>",
         true, u("ab\r")},
    };
    for (const auto& c : cases) {
        bool lossy = false;
        const doc::Document d(doc::parseDocumentXml(head + c.body + "</w:body></w:document>", &lossy));
        EXPECT_EQ(lossy, c.lossy) << c.name;
        EXPECT_EQ(d.text(0, d.length()), c.text) << c.name;
    }
}

TEST(DocHost, OpeningDocNamesAsTheHostTakesThem)
{
    test::TempHome home;
    doc::Hosts hosts(&home.ui);
    hosts.startWord();
    doc::Instance* word = &hosts.started(0);
    QDir().mkpath(home.path(u("d:\\docs")));
    writeFileBytes(home.path(u("d:\\docs\\a.docx")), doc::docxBytes(DocBuilder().para(u("甲")).build()));
    writeFileBytes(home.path(u("d:\\docs\\pkg.doc")), doc::docxBytes(DocBuilder().para(u("乙")).build()));
    test::writeBytes(home.path(u("d:\\docs\\old.doc")), QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(504, '\0'));
    doc::setOfficeConverter(QString()); // no LibreOffice

    const struct {
        QString path;
        int error;
        QString text;
    } cases[] = {
        {u("d:\\docs\\a.doc"), 0, u("甲\r")},   // absent .doc read as .docx
        {u("d:\\docs\\pkg.doc"), 0, u("乙\r")}, // a package under the old name
        {u("d:\\docs\\old.doc"), err::CannotOpenDocument, QString()},
        {u("d:\\docs\\old.doc"), err::CannotOpenDocument, QString()},
        {u("d:\\docs\\none.doc"), err::CannotOpenDocument, QString()},
    };
    for (const auto& c : cases) {
        QString text;
        const int e = test::errorOf([&] { text = word->open(c.path).content().text(); });
        EXPECT_EQ(e, c.error) << c.path.toStdString();
        EXPECT_EQ(text, c.text) << c.path.toStdString();
    }
    // The note on binary files is given once.
    EXPECT_EQ(test::messageTexts(home).count(doc::DocNeedsLibreOffice), 1);
}

TEST(DocHost, LibreOfficeConvertsABinaryDoc)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice not installed";
    test::TempHome home;
    doc::setOfficeConverter(soffice);
    const doc::Document ours = DocBuilder().para(u("甲\t乙")).table({{u("1"), u("2")}}).para(u("丙")).build();
    const QString docx = home.path(u("ours.docx"));
    doc::writeDocx(docx, ours);
    QProcess p;
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("doc"),
                      QStringLiteral("--outdir"), home.root(), docx});
    ASSERT_TRUE(p.waitForFinished(120000));
    doc::Shared shared;
    const doc::Document back = doc::openDocument(home.path(u("ours.doc")), shared);
    EXPECT_EQ(back.text(0, back.length()), ours.text(0, ours.length()));
}

// Run by check_docx.py: our file for python-docx to read, and python-docx's
// file read back into a JSON dump. Does nothing in a plain test run.
TEST(DocxCheck, ExchangeWithIndependentReader)
{
    const QString dir = qEnvironmentVariable("KELVOR_DOCX_CHECK_DIR");
    if (dir.isEmpty())
        GTEST_SKIP();
    const doc::Document ours = DocBuilder()
                                   .para(u("名称\t值"))
                                   .para(u("第一页\f第二页"))
                                   .table({{u("点名"), u("X"), u("Y")}, {u("A1"), u("100.000"), u("")}})
                                   .para(u("尾"))
                                   .build();
    doc::writeDocx(dir + u("/ours.docx"), ours);
    const QString theirs = dir + u("/theirs.docx");
    if (!QFile::exists(theirs))
        return;
    doc::Document d = doc::readDocx(theirs);
    QJsonArray paragraphs;
    QJsonArray tables;
    QString current;
    for (const doc::Unit& unit : d.units()) {
        if (unit.table < 0) {
            if (unit.mark == doc::Mark::Paragraph)
                paragraphs.append(std::exchange(current, QString()));
            else
                current.append(unit.ch);
        }
    }
    for (int t = 1; t <= d.tableCount(); ++t) {
        QJsonArray rows;
        doc::Table table = d.table(t);
        for (int r = 1; r <= table.rowCount(); ++r) {
            QJsonArray row;
            for (int c = 1;; ++c) {
                try {
                    doc::Range cell = table.cell(r, c);
                    cell.moveEnd(1, -1);
                    row.append(cell.text());
                } catch (const RunError&) {
                    break;
                }
            }
            rows.append(row);
        }
        tables.append(rows);
    }
    QFile out(dir + u("/theirs.json"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(QJsonObject{{QStringLiteral("paragraphs"), paragraphs}, {QStringLiteral("tables"), tables}})
                  .toJson());
}
