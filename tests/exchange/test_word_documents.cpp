#include "exchange/word_documents.h"

#include "cad/kit/routines.h"

#include "platform/doc/docx.h"
#include "platform/doc/host.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include "../support/doc_builder.h"
#include "../support/test_support.h"

#include <QDir>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::exchange;
using kelvor::test::DocBuilder;
using kelvor::test::u;

namespace {

// A home with the document host wired in; the running instance holds a
// document once one is opened in it.
struct DocHome {
    test::TempHome home;
    doc::Hosts hosts{&home.ui};
    doc::Instance running{hosts.shared()};
    bool attach = true;

    DocHome()
    {
        hosts.setRunning(&running);
        home.context.setOffice(&hosts);
    }
    doc::Document& open(const DocBuilder& b) { return running.adopt(b.build()); }
    // A .docx the sequence names as "name" (the host reads "name.doc" as it).
    void writeDoc(const QString& windowsPath, const DocBuilder& b)
    {
        const QString native = home.path(windowsPath);
        QDir().mkpath(QFileInfo(native).path());
        writeFileBytes(native, doc::docxBytes(b.build()));
    }
    QStringList messages() const { return test::messageTexts(home); }
    QString watch() const
    {
        return decodeGbk(test::readBytes(paths::scratch(QStringLiteral("watch.txt"))));
    }
};

const QString MergeIntro = u("首先打开一文件，选择序列文件及DOC所在的目录，将目录中的doc文件合并到文件中。");

} // namespace

TEST(WordConnect, VariantsShowAndActivateAsAsked)
{
    const struct {
        const char* name;
        cad::WordConnect how;
        bool holdsDocument;
        int error;
        bool visible;
        int activations;
    } cases[] = {
        {"attach", cad::WordConnect::Attach, true, 0, false, 0},
        {"attach shown", cad::WordConnect::AttachShown, true, 0, true, 1},
        {"attach to a host without document", cad::WordConnect::AttachShown, false, err::NoServer, false, 0},
        {"start", cad::WordConnect::Start, false, 0, false, 0},
        {"start shown", cad::WordConnect::StartShown, false, 0, true, 0},
    };
    for (const auto& c : cases) {
        DocHome h;
        if (c.holdsDocument)
            h.open(DocBuilder().para(u("x")));
        cad::WordApplication* got = nullptr;
        EXPECT_EQ(test::errorOf([&] { got = &cad::ConnectToWord(h.home.context, c.how); }), c.error) << c.name;
        if (c.error)
            continue;
        const bool started = c.how == cad::WordConnect::Start || c.how == cad::WordConnect::StartShown;
        doc::Instance& expected = started ? h.hosts.started(0) : h.running;
        EXPECT_EQ(got, static_cast<cad::WordApplication*>(&expected)) << c.name;
        EXPECT_EQ(expected.visible(), c.visible) << c.name;
        EXPECT_EQ(expected.activations(), c.activations) << c.name;
    }
    DocHome none;
    none.home.context.setOffice(nullptr);
    EXPECT_EQ(test::errorOf([&] { cad::ConnectToWord(none.home.context, cad::WordConnect::Start); }), err::NoServer);
}

// ---- merging ------------------------------------------------------------------

TEST(WordMerge, SequenceGoesInAfterBreaksAtTheCursor)
{
    const struct {
        const char* name;
        QStringList sequence;
        QString story;      // the target afterwards
        QStringList shown;  // messages after the opening one
        int started;
    } cases[] = {
        {"three documents", {u("a"), u(" b "), u("c")}, u("T1\f甲\r\f乙\r\f丙\r\rT2\r"), {}, 3},
        {"blank line stops the merge", {u("a"), u(""), u("c")}, u("T1\f甲\r\rT2\r"),
         {u("不能打开文件:d:\\docs\\.doc")}, 2},
        {"empty sequence", {}, u("T1\rT2\r"), {u("62")}, 0},
    };
    for (const auto& c : cases) {
        DocHome h;
        for (const char* n : {"a", "b", "c"})
            h.writeDoc(u("d:\\docs\\") + n + u(".docx"),
                       DocBuilder().para(QString(n) == "a" ? u("甲") : QString(n) == "b" ? u("乙") : u("丙")));
        test::writeGbkLines(h.home.path(u("d:\\seq.txt")), c.sequence);
        doc::Document& target = h.open(DocBuilder().paras({u("T1"), u("T2")}));
        target.select(0, 2); // "T1" selected: kept, the merge goes after it
        h.home.answerOpen({u("d:\\seq.txt")});
        h.home.answer(u("folder"), u("d:\\docs"));
        hebingworddoc_Click(h.home.context);
        EXPECT_EQ(target.content().text(), c.story) << c.name;
        EXPECT_EQ(h.messages(), QStringList{MergeIntro} + c.shown) << c.name;
        EXPECT_EQ(h.hosts.startedCount(), c.started) << c.name;
        EXPECT_EQ(h.hosts.liveStarted(), 0) << c.name << ": every started instance quit";
        if (c.started > 0) {
            EXPECT_EQ(h.hosts.started(0).activations(), 1) << c.name;
        }
    }
}

TEST(WordMerge, NothingHappensWithoutHostOrChoice)
{
    const struct {
        const char* name;
        bool running;
        bool chooseFile;
        bool chooseFolder;
        QStringList shown;
    } cases[] = {
        {"no running host", false, true, true, {MergeIntro, u("429")}},
        {"dialog cancelled", true, false, true, {MergeIntro}},
        {"folder cancelled", true, true, false, {MergeIntro}},
    };
    for (const auto& c : cases) {
        DocHome h;
        bool askedForDocument = false;
        h.hosts.needDocument = [&] { askedForDocument = true; };
        if (c.running)
            h.open(DocBuilder().para(u("T")));
        // A missing sequence file would end silently: 429 shows it was never opened.
        h.home.answerOpen(c.chooseFile ? QStringList{u("d:\\missing.txt")} : QStringList{});
        if (c.chooseFile)
            h.home.answer(c.chooseFolder ? u("folder") : u("button"), u("d:\\docs"));
        hebingworddoc_Click(h.home.context);
        EXPECT_EQ(h.messages(), c.shown) << c.name;
        EXPECT_EQ(askedForDocument, !c.running && c.chooseFolder) << c.name;
        EXPECT_EQ(h.hosts.startedCount(), 0) << c.name;
    }
}

// ---- handbook page numbers ---------------------------------------------------

TEST(WordHandbook, StationNamesAndSlots)
{
    const struct {
        QString paragraph;
        std::optional<QString> name;
    } names[] = {
        {u("测站：A12\r"), u("A12")},
        {u("测站：  A12  \r"), u("A12")},
        {u("测站：ABCDEFGHIJKLMN 后视：B1 前视：B2 仪器高\r"), u("ABCDEFGHIJ")},
        {u("  测站：A12\r"), u("A12\r")}, // the mark is no blank and stays
        {u("测 站：A12\r"), std::nullopt},
        {u("后视：A12\r"), std::nullopt},
    };
    for (const auto& c : names)
        EXPECT_EQ(handbookStation(c.paragraph), c.name) << c.paragraph.toStdString();

    const struct {
        int k;
        StationSlot slot;
    } slotCases[] = {
        {1, {0, 2, 1, 2}},    {25, {0, 26, 1, 2}},  {26, {0, 2, 4, 5}},   {51, {0, 2, 7, 8}},
        {100, {0, 26, 10, 11}}, {101, {1, 2, 1, 2}}, {800, {7, 26, 10, 11}}, {801, {8, 2, 1, 2}},
    };
    for (const auto& c : slotCases) {
        const StationSlot s = stationSlot(c.k);
        EXPECT_EQ(s.table, c.slot.table) << "station " << c.k;
        EXPECT_EQ(s.row, c.slot.row) << "station " << c.k;
        EXPECT_EQ(s.nameColumn, c.slot.nameColumn) << "station " << c.k;
        EXPECT_EQ(s.pageColumn, c.slot.pageColumn) << "station " << c.k;
    }
}

namespace {

// Cover paragraphs with two page breaks up to paragraph 692, a station at
// 693, `stations` stations from paragraph 694 (the first named A12, on page
// 3), then the index tables (26 x 11) at the end.
DocBuilder handbook(int stations, int indexTables = 3)
{
    DocBuilder b;
    b.para(u("\f")).para(u("\f"));
    for (int paragraph = 3; paragraph <= 692; ++paragraph)
        b.para(u("观测记录"));
    b.para(u("测站：Z0")); // 693
    for (int k = 1; k <= stations; ++k)
        b.para(k == 1 ? u("测站：A12") : u("测站：S") + QString::number(k));
    for (int t = 0; t < indexTables; ++t)
        b.emptyTable(26, 11);
    return b;
}

} // namespace

TEST(WordHandbook, StationsGoIntoTheIndexTables)
{
    DocHome h;
    doc::Document& d = h.open(handbook(101));
    EXPECT_EQ(d.paragraph(694).text(), u("测站：A12\r"));
    cezhanymtobiaoge_Click(h.home.context);

    const struct {
        int table, row, column;
        QString text;
    } cells[] = {
        {1, 2, 1, u("A12")},  {1, 2, 2, u("3")},   {1, 3, 1, u("S2")},   {1, 2, 4, u("S26")},
        {1, 2, 5, u("3")},    {1, 26, 10, u("S100")}, {1, 26, 11, u("3")}, {2, 2, 1, u("S101")},
        {2, 3, 1, u("")},     {1, 2, 3, u("")},
    };
    for (const auto& c : cells) {
        doc::Range cell = d.table(c.table).cell(c.row, c.column);
        cell.moveEnd(1, -1);
        EXPECT_EQ(cell.text(), c.text) << "table " << c.table << " cell " << c.row << "," << c.column;
    }
    const QStringList captions = h.home.ui.captions();
    ASSERT_FALSE(captions.isEmpty());
    EXPECT_EQ(captions.first(), u("处理第:1站；A12位于第：3页"));
    EXPECT_EQ(captions.last(), u("Kelvor2007版"));
    EXPECT_EQ(h.messages().last(), u("检查最后几站的页码！可能没有录入表格。"));
    EXPECT_EQ(h.running.visible(), true);
}

TEST(WordHandbook, StationsWithoutAnIndexTableStopTheCommand)
{
    const struct {
        const char* name;
        int indexTables;
        int stations;
        QString message;
    } cases[] = {
        {"no index table at all", 0, 1, u("第1站（A12）没有可录入页码的表格，处理停止。")},
        {"past the last table", 3, 301, u("第301站（S301）没有可录入页码的表格，处理停止。")},
    };
    for (const auto& c : cases) {
        DocHome h;
        doc::Document& d = h.open(handbook(c.stations, c.indexTables));
        cezhanymtobiaoge_Click(h.home.context);
        EXPECT_EQ(h.messages().last(), c.message) << c.name;
        EXPECT_EQ(h.home.ui.captions().last(), u("Kelvor2007版")) << c.name;
        if (c.indexTables > 0) {
            EXPECT_EQ(d.table(1).cell(2, 1).text(), u("A12\a")) << c.name << ": earlier stations stay";
        }
    }
}

TEST(WordHandbook, FailuresReportTheirCode)
{
    DocHome none;
    cezhanymtobiaoge_Click(none.home.context);
    EXPECT_EQ(none.messages(), QStringList{u("429")});
    EXPECT_EQ(none.home.ui.captions(), QStringList{u("Kelvor2007版")});

    DocHome small; // index table with one row: the first station has no row
    small.open(DocBuilder().emptyTable(1, 11).emptyTable(1, 1).emptyTable(1, 1).paras(QStringList(700, u("x"))).para(
        u("测站：A1")));
    cezhanymtobiaoge_Click(small.home.context);
    EXPECT_EQ(small.messages().last(), u("错误号：5941。已到达数据结尾(5941)！请检查。"));
}

TEST(WordHandbook, ControlNetworkPages)
{
    // Table 3: a header and `rows` data rows; sections on pages 2, 2 and 5.
    auto document = [](int rows, int hits) {
        DocBuilder b;
        b.para(u("封面")).emptyTable(1, 1).emptyTable(1, 1);
        QList<QStringList> t3(rows + 1, QStringList(4, u("x")));
        b.table(t3).para(u("\f"));
        const QStringList pages[] = {{u("控 制 网 一"), u("控 制 网 二")}, {u("\f"), u("\f"), u("\f"), u("控 制 网 三")}};
        int found = 0;
        for (const QStringList& page : pages) {
            for (const QString& p : page) {
                if (p.startsWith(u("控")) && found++ >= hits)
                    continue;
                b.para(p);
            }
        }
        return b;
    };
    const struct {
        const char* name;
        int rows;
        int hits;
        QStringList column4;
    } cases[] = {
        {"three rows", 3, 3, {u("x"), u("2"), u("2"), u("5")}},
        {"one row: header only", 0, 3, {u("x")}},
        {"two hits for three rows", 3, 2, {u("x"), u("2"), u("2"), u("x")}},
    };
    for (const auto& c : cases) {
        DocHome h;
        doc::Document& d = h.open(document(c.rows, c.hits));
        tiquyimapcsj_Click(h.home.context);
        QStringList column4;
        for (int r = 1; r <= d.table(3).rowCount(); ++r) {
            doc::Range cell = d.table(3).cell(r, 4);
            cell.moveEnd(1, -1);
            column4 << cell.text();
        }
        EXPECT_EQ(column4, c.column4) << c.name;
        EXPECT_EQ(h.messages(), QStringList{u("将光标放于文档的开头处，以便处理")}) << c.name;
    }
    DocHome none;
    tiquyimapcsj_Click(none.home.context);
    EXPECT_EQ(none.messages(), QStringList{u("429")});
}

// ---- accuracy statistics -----------------------------------------------------

namespace {

const QStringList resultParagraphs = {
    u("平差结果"),
    u("未知坐标点个数：3"),
    u("路径：K1-K2-A-B-C-K3-K4"),
    u("方位角闭合差=-12.00(秒),限差=±24.0(秒)"),
    u("总边长[s]=1234.567(m),平均边长[s] =123.456,边长闭合=12.3456(m)"),
    u("高程路线闭合差=-8.5(mm),允许闭合差(四等水准)：±20√L(mm)=±36.2(mm)"),
    u("路径：X-Y-Z"),
};
const QString resultLine = u("K2→A…C→K3 1234.567 4 12.35 3 -12.00 ±24.0 123.456 -8.5 ±36.2");

AccuracyValues scan(const QStringList& paragraphs)
{
    AccuracyValues v;
    for (const QString& p : paragraphs) {
        if (scanAccuracyParagraph(v, p + u("\r")))
            break;
    }
    return v;
}

} // namespace

TEST(WordAccuracy, LineFromTheMarkerParagraphs)
{
    EXPECT_EQ(accuracyLine(scan(resultParagraphs)), resultLine);

    const struct {
        QString route;
        QString text;
        int error;
    } routes[] = {
        {u("-A-B-P1-C-D-"), u("A→B…C→D"), 0},
        {u("K1-K2-A-B-C-K3-K4"), u("K2→A…C→K3"), 0},
        {u("A-B-C"), u("B→C…A→B"), 0},
        {u("A-B"), QString(), err::SubscriptOutOfRange},
    };
    for (const auto& c : routes) {
        QString got;
        EXPECT_EQ(test::errorOf([&] { got = routeText(c.route); }), c.error) << c.route.toStdString();
        EXPECT_EQ(got, c.text) << c.route.toStdString();
    }

    QStringList noPoints = resultParagraphs;
    noPoints[1] = u("未知坐标点个数：");
    const QStringList items = accuracyLine(scan(noPoints)).split(u' ');
    EXPECT_EQ(items[2], u("1"));
    EXPECT_EQ(items[4], u(""));

    // The scan ends at the height closure: a later route is not read.
    QStringList late = resultParagraphs;
    late.move(2, 6);
    EXPECT_EQ(test::errorOf([&] { accuracyLine(scan(late)); }), err::SubscriptOutOfRange);
    QStringList twoRoutes = resultParagraphs;
    twoRoutes.insert(2, u("路径：Q1-Q2-Q3"));
    EXPECT_TRUE(accuracyLine(scan(twoRoutes)).startsWith(u("Q2→Q3…Q1→Q2")));
    QStringList shortField = resultParagraphs;
    shortField[4] = u("总边长[s]=1,2,3");
    EXPECT_EQ(test::errorOf([&] { accuracyLine(scan(shortField)); }), err::InvalidArgument);
}

TEST(WordAccuracy, CommandWritesOneLinePerDocument)
{
    QStringList noPoints = resultParagraphs;
    noPoints.removeAt(1);
    QStringList noRoute = resultParagraphs;
    noRoute.removeAt(2);
    noRoute.removeLast();
    const struct {
        const char* name;
        QStringList sequence;
        QStringList watch;
        QStringList shown; // after the opening message
        bool textWindow;
    } cases[] = {
        {"two documents", {u("a"), u("b")}, {resultLine, u("K2→A…C→K3 1234.567 1 12.35  -12.00 ±24.0 123.456 -8.5 ±36.2")},
         {}, true},
        {"no route", {u("a"), u("c")}, {resultLine}, {u("9")}, false},
        {"missing document", {u("a"), u("zz")}, {resultLine}, {u("不能打开文件:d:\\docs\\zz.doc")}, false},
        {"short document", {u("d")}, {}, {u("5941")}, false},
    };
    for (const auto& c : cases) {
        DocHome h;
        h.writeDoc(u("d:\\docs\\a.docx"), DocBuilder().paras(resultParagraphs));
        h.writeDoc(u("d:\\docs\\b.docx"), DocBuilder().paras(noPoints));
        h.writeDoc(u("d:\\docs\\c.docx"), DocBuilder().paras(noRoute));
        h.writeDoc(u("d:\\docs\\d.docx"), DocBuilder().paras({u("平差结果")}));
        test::writeGbkLines(h.home.path(u("d:\\seq.txt")), c.sequence);
        h.home.answerOpen({u("d:\\seq.txt")});
        h.home.answer(u("folder"), u("d:\\docs"));
        outputpcynumber_Click(h.home.context);
        EXPECT_EQ(h.watch(), test::crlfText(c.watch)) << c.name;
        EXPECT_EQ(h.messages().mid(1), c.shown) << c.name;
        EXPECT_EQ(!h.home.ui.textWindowFiles().isEmpty(), c.textWindow) << c.name;
        EXPECT_EQ(h.home.ui.captions().first(), u("处理>>d:\\docs\\") + c.sequence.first() + u(".doc")) << c.name;
        EXPECT_EQ(h.home.ui.captions().last(), u("Kelvor2007版")) << c.name;
        EXPECT_EQ(h.hosts.startedCount(), 1) << c.name;
        EXPECT_EQ(h.hosts.liveStarted(), 0) << c.name;
    }
}

// ---- result output -----------------------------------------------------------

TEST(WordResults, PointLinesFromTheTableCells)
{
    const QStringList header = {u("点名"), u("X"), u("Y"), u("H"), u("备注")};
    const struct {
        const char* name;
        QStringList cells;
        QStringList lines;
    } cases[] = {
        {"known point left out",
         header + QStringList{u("K1"), u("1"), u("2"), u("3"), u(" 已知点")} +
             QStringList{u("P3"), u("100.000"), u("200.000"), u("12.5"), u("")} +
             QStringList{u("P4"), u("101.000"), u("201.000"), u("12.3456"), u("新点")},
         {u("P3   100.000  200.000  12.500"), u("P4   101.000  201.000  12.346")}},
        {"23 cells: the last three ignored",
         header + QStringList{u("A"), u("1"), u("2"), u(""), u("")} + QStringList{u("B"), u("3"), u("4"), u("x"), u("")} +
             QStringList{u("C"), u("5"), u("6"), u("7"), u("")} + QStringList{u("D"), u("8"), u("9")},
         {u("A   1  2  "), u("B   3  4  x"), u("C   5  6  7.000")}},
        {"header only", header, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resultLines(c.cells), c.lines) << c.name;
}

namespace {

DocBuilder resultDocument(const QString& point)
{
    return DocBuilder()
        .para(u("平差结果"))
        .table({{u("a")}})
        .table({{u("点名"), u("X"), u("Y"), u("H"), u("备注")},
                {u("K1"), u("1.000"), u("2.000"), u("3.000"), u("已知点")},
                {point, u("100.000"), u("200.000"), u("12.5"), u("")}})
        .para(u("尾"));
}

} // namespace

TEST(WordResults, CurrentDocument)
{
    const struct {
        const char* name;
        bool running;
        bool table;
        QStringList shown;
        QString watch;
    } cases[] = {
        {"table", true, true, {}, u("P3   100.000  200.000  12.500\r\n")},
        {"no table", true, false, {u("找不到指定的内容！"), u("错误号：9")}, u("")},
        {"no host", false, false, {u("应打开当前的平差结果文件(DOC文档)"), u("错误号：429")}, u("old\r\n")},
    };
    for (const auto& c : cases) {
        DocHome h;
        test::writeGbkLines(paths::scratch(u("watch.txt")), {u("old")});
        if (c.running)
            h.open(c.table ? resultDocument(u("P3")) : DocBuilder().para(u("x")));
        shuchudangqiancg_Click(h.home.context);
        EXPECT_EQ(h.messages(), c.shown) << c.name;
        EXPECT_EQ(h.watch(), c.watch) << c.name;
        EXPECT_EQ(h.home.ui.textWindowFiles().size(), c.shown.isEmpty() ? 1 : 0) << c.name;
    }
}

TEST(WordResults, BatchOfChosenDocuments)
{
    const struct {
        const char* name;
        QStringList chosen;
        QString log;
        QString watch;
        QStringList shown;
    } cases[] = {
        {"three, the second without a table", {u("d:\\r\\a.docx"), u("d:\\r\\b.docx"), u("d:\\r\\c.docx")},
         u("1a.docx成果表格:2\r\n3c.docx成果表格:2\r\n"),
         u("PA   100.000  200.000  12.500\r\nPC   100.000  200.000  12.500\r\n"), {}},
        {"one chosen document", {u("d:\\r\\c.docx")}, u("1c.docx成果表格:2\r\n"),
         u("PC   100.000  200.000  12.500\r\n"), {}},
        {"a document that cannot be opened", {u("d:\\r\\a.docx"), u("d:\\r\\zz.docx")}, u("1a.docx成果表格:2\r\n"),
         u("PA   100.000  200.000  12.500\r\n"), {u("不能打开文件:D:\\r\\zz.docx")}},
    };
    for (const auto& c : cases) {
        DocHome h;
        h.writeDoc(u("d:\\r\\a.docx"), resultDocument(u("PA")));
        h.writeDoc(u("d:\\r\\b.docx"), DocBuilder().para(u("无表")));
        h.writeDoc(u("d:\\r\\c.docx"), resultDocument(u("PC")));
        QStringList chosen;
        for (const QString& p : c.chosen)
            chosen << h.home.path(p);
        h.home.answerOpen(chosen);
        piliangoutcg_Click(h.home.context);
        EXPECT_EQ(decodeGbk(test::readBytes(h.home.path(u("d:\\bak1.txt")))), c.log) << c.name;
        EXPECT_EQ(h.watch(), c.watch) << c.name;
        EXPECT_EQ(h.messages(), c.shown) << c.name;
        EXPECT_EQ(h.home.ui.textWindowFiles().size(), c.shown.isEmpty() ? 2 : 0) << c.name;
        EXPECT_EQ(h.home.ui.captions().last(), u("Kelvor2007版")) << c.name;
        EXPECT_EQ(h.hosts.liveStarted(), 0) << c.name;
        for (int i = 0; i < h.hosts.startedCount(); ++i)
            EXPECT_EQ(h.hosts.started(i).activations(), 0) << c.name << ": never shown";
    }
    DocHome cancelled;
    cancelled.home.answerOpen({});
    piliangoutcg_Click(cancelled.home.context);
    EXPECT_TRUE(cancelled.messages().isEmpty());
    EXPECT_TRUE(cancelled.home.ui.captions().isEmpty());
}
