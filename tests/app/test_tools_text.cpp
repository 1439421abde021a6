#include "app/tools/commands.h"
#include "app/tools/text_tools.h"
#include "platform/commands.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::tools;
using kelvor::test::TempHome;
using kelvor::test::readBytes;
using kelvor::test::writeGbk;

namespace {

QString pad30(const QString& key)
{
    return key.leftJustified(30, QLatin1Char(' '));
}

QStringList lines(const QString& path)
{
    return readTextLines(path);
}

// Runs 查重复数据 on the text with the answer to the whole-line question.
struct DuplicateRun {
    TempHome home;
    DuplicateRun(const QString& text, const QString& answer, const QString& view = QStringLiteral("OK"))
    {
        writeGbk(home.path(QStringLiteral("d:\\data\\pts.txt")), text);
        home.answerOpen({QStringLiteral("d:\\data\\pts.txt")});
        home.answer(QStringLiteral("button"), answer);
        if (!view.isEmpty())
            home.answer(QStringLiteral("button"), view);
        checkshu_Click(home.context);
    }
};

TEST(DuplicateSearch, WholeLinesAndFirstFields)
{
    const QString text = QStringLiteral("A 1\r\nB 2\r\nA 3\r\nA 1\r\n");
    DuplicateRun yes(text, QStringLiteral("Yes"));
    EXPECT_EQ(lines(QStringLiteral("d:\\watch.txt")), QStringList{pad30(QStringLiteral("A 1")) + "数据重复"});
    EXPECT_EQ(messageTexts(yes.home),
              (QStringList{QStringLiteral("按整行比较请选择'是'\r\n按第一列比较请选择'否'！"),
                           QStringLiteral("共发现 1个重复数据！"),
                           QStringLiteral("已经生成数据文件d:\\watch.txt\r需要查看吗？")}));
    EXPECT_EQ(yes.home.ui.textWindowFiles(), QStringList{paths::resolve(QStringLiteral("d:\\watch.txt"))});
    // the scan under a busy cursor, off before the results are told
    EXPECT_EQ(yes.home.ui.busySpells(), 1);
    EXPECT_FALSE(yes.home.ui.busy());
    const QJsonObject question = yes.home.ui.messages()[0].toObject();
    EXPECT_EQ(question.value("title").toString(), QStringLiteral("选项"));
    EXPECT_EQ(question.value("buttons").toString(), QStringLiteral("YesNoCancel"));
    EXPECT_EQ(question.value("default").toInt(), 2);
    EXPECT_EQ(yes.home.ui.messages()[1].toObject().value("title").toString(), QStringLiteral("查找结果"));
    EXPECT_EQ(yes.home.ui.messages()[2].toObject().value("title").toString(), QStringLiteral("重要提示"));
    EXPECT_EQ(yes.home.ui.messages()[2].toObject().value("buttons").toString(), QStringLiteral("OKCancel"));

    // First fields A, B, A, A: every pair of equal keys, (1, 3), (1, 4), (3, 4).
    DuplicateRun no(text, QStringLiteral("No"), QStringLiteral("Cancel"));
    const QString a = pad30(QStringLiteral("A")) + "数据重复";
    EXPECT_EQ(lines(QStringLiteral("d:\\watch.txt")), (QStringList{a, a, a}));
    EXPECT_EQ(messageTexts(no.home).value(1), QStringLiteral("共发现 3个重复数据！"));
    EXPECT_TRUE(no.home.ui.textWindowFiles().isEmpty());
    // the record file stays behind, its copy does not
    EXPECT_EQ(readBytes(QStringLiteral("d:\\bakbak1.txt")),
              QByteArray(pad30("A").toLatin1() + pad30("B").toLatin1() + pad30("A").toLatin1()
                         + pad30("A").toLatin1()));
    EXPECT_FALSE(QFile::exists(paths::resolve(QStringLiteral("d:\\bakbak2.txt"))));

    // Whole lines are keyed by their first 29 characters: the record is
    // those and a blank, and lines that differ after them are a pair.
    const QString head = QStringLiteral("K1 2532163.233 496573.073 27.");
    DuplicateRun cut(head + "24\r\n" + head + "31\r\n", QStringLiteral("Yes"), QStringLiteral("Cancel"));
    EXPECT_EQ(lines(QStringLiteral("d:\\watch.txt")), QStringList{head + " 数据重复"});
    EXPECT_EQ(readBytes(QStringLiteral("d:\\bakbak1.txt")), QByteArray(head.toLatin1() + " " + head.toLatin1() + " "));
}

TEST(DuplicateSearch, PairRules)
{
    const QString longA = QStringLiteral("K1 2532163.233 496573.073 27.24 a");
    const QString longB = QStringLiteral("K1 2532163.233 496573.073 27.24 b");
    struct Case {
        QStringList lines;
        bool whole;
        int pairs;
    };
    const Case cases[] = {
        // differing only after the 29th character: the same key
        {{longA, longB}, true, 1},
        {{longA, longB}, false, 1},
        {{longA, longA}, true, 1},
        // trailing blanks never count
        {{QStringLiteral("A 1"), QStringLiteral("A 1   ")}, true, 1},
        {{QStringLiteral("A 1"), QStringLiteral("A 1   ")}, false, 1},
        // letter case does
        {{QStringLiteral("a1"), QStringLiteral("A1")}, true, 0},
        {{QStringLiteral("a1"), QStringLiteral("A1")}, false, 0},
        // blank lines are a pair in both modes
        {{QString(), QStringLiteral("x"), QString()}, true, 1},
        {{QString(), QStringLiteral("x"), QString()}, false, 1},
        // a key occurring k times gives k(k-1)/2 lines, one per pair
        {{"P", "P", "P", "P"}, true, 6},
        {{"P", "Q", "P", "Q", "P"}, true, 4},
        {{"P", "Q", "P", "Q", "P"}, false, 4},
        {{}, true, 0},
    };
    for (const Case& c : cases) {
        const QStringList report = duplicateReport(c.lines, c.whole);
        EXPECT_EQ(report.size(), c.pairs) << c.lines.join('|').toStdString() << (c.whole ? " whole" : " field");
    }
    EXPECT_EQ(duplicateReport({QString(), QString()}, true), QStringList{pad30(QString()) + "数据重复"});
    // in the order of the pairs (i, j): (1, 3), (1, 5), (2, 4), (3, 5)
    EXPECT_EQ(duplicateReport({"B 1", "A 1", "B 2", "A 2", "B 3"}, false),
              (QStringList{pad30("B") + "数据重复", pad30("B") + "数据重复", pad30("A") + "数据重复",
                           pad30("B") + "数据重复"}));
    // a long line's record is its first 29 characters and a blank; a long
    // first field is cut at 30
    EXPECT_EQ(duplicateReport({longA, longA}, true), QStringList{longA.left(29) + " 数据重复"});
    const QString field = QString(32, QLatin1Char('F'));
    EXPECT_EQ(duplicateReport({field + " 1", field + "G 2"}, false), QStringList{field.left(30) + "数据重复"});
}

TEST(DuplicateSearch, NothingFoundOrCancelled)
{
    {
        TempHome home;
        writeGbk(home.path(QStringLiteral("d:\\a.txt")), QStringLiteral("A\r\nB\r\n"));
        writeGbk(home.path(QStringLiteral("d:\\watch.txt")), QStringLiteral("old\r\n"));
        home.answerOpen({QStringLiteral("d:\\a.txt")});
        home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
        checkshu_Click(home.context);
        EXPECT_EQ(messageTexts(home).last(), QStringLiteral("没发现重复数据！"));
        EXPECT_EQ(readBytes(QStringLiteral("d:\\watch.txt")), QByteArray());
        EXPECT_TRUE(home.answers.empty());
    }
    {
        TempHome home;
        writeGbk(home.path(QStringLiteral("d:\\a.txt")), QString());
        home.answerOpen({QStringLiteral("d:\\a.txt")});
        home.answer(QStringLiteral("button"), QStringLiteral("No"));
        checkshu_Click(home.context);
        EXPECT_EQ(messageTexts(home).last(), QStringLiteral("没发现重复数据！"));
    }
    {
        TempHome home;
        writeGbk(home.path(QStringLiteral("d:\\a.txt")), QStringLiteral("A\r\nA\r\n"));
        writeGbk(home.path(QStringLiteral("d:\\watch.txt")), QStringLiteral("old\r\n"));
        home.answerOpen({QStringLiteral("d:\\a.txt")});
        home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
        checkshu_Click(home.context);
        EXPECT_EQ(messageTexts(home).size(), 1);
        EXPECT_EQ(readBytes(QStringLiteral("d:\\watch.txt")), QByteArray("old\r\n"));
    }
    {
        TempHome home;
        home.answer(QStringLiteral("button"), QStringLiteral("Cancel")); // the file dialog
        checkshu_Click(home.context);
        EXPECT_TRUE(home.ui.messages().isEmpty());
    }
}

TEST(DuplicateSearch, AFileOrReportThatFailsIsSaidSo)
{
    {
        // a missing file: its error, not "nothing found"
        TempHome home;
        home.answerOpen({QStringLiteral("d:\\none.txt")});
        checkshu_Click(home.context);
        EXPECT_EQ(messageTexts(home), QStringList{QStringLiteral("错误号: 53")});
    }
    {
        // a report that cannot be written: its error, no count, no question
        TempHome home;
        writeGbk(home.path(QStringLiteral("d:\\a.txt")), QStringLiteral("A\r\nA\r\n"));
        QDir().mkpath(home.path(QStringLiteral("d:\\watch.txt")));
        home.answerOpen({QStringLiteral("d:\\a.txt")});
        home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
        checkshu_Click(home.context);
        EXPECT_EQ(messageTexts(home).value(1), QStringLiteral("错误号: 75"));
        EXPECT_EQ(messageTexts(home).size(), 2);
    }
}

TEST(Numbering, NumbersInFiveColumns)
{
    EXPECT_EQ(numberedLine(7, QStringLiteral("K1 100.0")), QStringLiteral("7       K1 100.0"));
    EXPECT_EQ(numberedLine(12345, QStringLiteral("x")), QStringLiteral("12345   x"));
    EXPECT_EQ(numberedLine(123456, QStringLiteral("x")), QStringLiteral("123456   x"));

    TempHome home;
    writeGbk(home.path(QStringLiteral("d:\\s.txt")), QStringLiteral("a\r\n\r\n  c 测\r\n"));
    home.answerOpen({QStringLiteral("d:\\s.txt")});
    setnumber_Click(home.context);
    EXPECT_EQ(lines(QStringLiteral("d:\\watch.txt")),
              (QStringList{QStringLiteral("1       a"), QStringLiteral("2       "), QStringLiteral("3         c 测")}));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::resolve(QStringLiteral("d:\\watch.txt"))});
}

TEST(Numbering, EmptyOrMissingSource)
{
    TempHome home;
    writeGbk(home.path(QStringLiteral("d:\\watch.txt")), QStringLiteral("old\r\n"));
    writeGbk(home.path(QStringLiteral("d:\\e.txt")), QString());
    home.answerOpen({QStringLiteral("d:\\e.txt")});
    setnumber_Click(home.context);
    EXPECT_EQ(readBytes(QStringLiteral("d:\\watch.txt")), QByteArray());
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());

    writeGbk(home.path(QStringLiteral("d:\\watch.txt")), QStringLiteral("old\r\n"));
    home.answerOpen({QStringLiteral("d:\\missing.txt")});
    setnumber_Click(home.context);
    EXPECT_EQ(readBytes(QStringLiteral("d:\\watch.txt")), QByteArray("old\r\n"));
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

// A folder with a.txt, b.TXT, c.dwg, a hidden file and a subfolder d.
void makeFolder(TempHome& home)
{
    for (const char* name : {"a.txt", "b.TXT", "c.dwg", ".hidden.txt"})
        writeGbk(home.path(QStringLiteral("d:\\f\\") + QString::fromUtf8(name)), QStringLiteral("x\r\n"));
    QDir().mkpath(home.path(QStringLiteral("d:\\f\\d")));
}

TEST(FolderList, ExtensionFilter)
{
    struct Case {
        const char* folder;
        const char* answer;
        QStringList listed;
    };
    const Case cases[] = {
        {"d:\\f", "txt", {"d:\\f\\a.txt", "d:\\f\\b.TXT"}},
        {"d:\\f\\", "  .TXT ", {"d:\\f\\a.txt", "d:\\f\\b.TXT"}},
        {"d:\\f", "*.*", {"d:\\f\\a.txt", "d:\\f\\b.TXT", "d:\\f\\c.dwg"}},
        {"d:\\f", "", {"d:\\f\\a.txt", "d:\\f\\b.TXT", "d:\\f\\c.dwg"}},
        {"d:\\f", "Dwg", {"d:\\f\\c.dwg"}},
        {"d:\\f", "*.dwg", {}},
    };
    for (const Case& c : cases) {
        TempHome home;
        makeFolder(home);
        home.answer(QStringLiteral("folder"), QString::fromUtf8(c.folder));
        home.answer(QStringLiteral("input"), QString::fromUtf8(c.answer));
        shengchengfilespath_Click(home.context);
        EXPECT_EQ(lines(paths::scratch(QStringLiteral("watch.txt"))), c.listed) << c.answer;
        EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
        const QJsonObject input = home.ui.events()[1].toObject();
        EXPECT_EQ(input.value("title").toString(), QStringLiteral("文件扩展名"));
        EXPECT_EQ(input.value("default").toString(), QStringLiteral("*.*"));
    }
}

TEST(FolderList, CancelledPickerStillAsks)
{
    TempHome home;
    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    home.answer(QStringLiteral("input"), QStringLiteral("txt"));
    shengchengfilespath_Click(home.context);
    EXPECT_TRUE(home.answers.empty());
    EXPECT_FALSE(QFile::exists(paths::scratch(QStringLiteral("watch.txt"))));
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());
}

TEST(FolderList, MissingFolderIsReported)
{
    TempHome home;
    writeGbk(paths::scratch(QStringLiteral("watch.txt")), QStringLiteral("old\r\n"));
    home.answer(QStringLiteral("folder"), QStringLiteral("d:\\nowhere"));
    home.answer(QStringLiteral("input"), QStringLiteral("*.*"));
    shengchengfilespath_Click(home.context);
    EXPECT_EQ(messageTexts(home), QStringList{QStringLiteral("错误号: 76")});
    EXPECT_EQ(readBytes(paths::scratch(QStringLiteral("watch.txt"))), QByteArray("old\r\n"));
}

TEST(BatchJoin, FileAfterFile)
{
    TempHome home;
    writeGbk(home.path(QStringLiteral("d:\\a.txt")), QStringLiteral("a1\r\na2\r\n"));
    writeGbk(home.path(QStringLiteral("d:\\b.txt")), QStringLiteral("b1\r\nb2\r\nb3\r\n"));
    writeGbk(home.path(QStringLiteral("d:\\c.txt")), QString());
    QDir().mkpath(home.path(QStringLiteral("d:\\dir.txt")));
    home.answerOpen({QStringLiteral("d:\\b.txt"), QStringLiteral("d:\\c.txt"), QStringLiteral("d:\\dir.txt"),
                     QStringLiteral("d:\\missing.txt"), QStringLiteral("d:\\a.txt")});
    addfilepl_Click(home.context);
    EXPECT_EQ(lines(paths::scratch(QStringLiteral("watch.txt"))),
              (QStringList{"b1", "b2", "b3", "a1", "a2"}));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
    EXPECT_TRUE(home.ui.messages().isEmpty());
    EXPECT_TRUE(home.context.state().commonDialog.multiSelect);
    EXPECT_EQ(home.ui.events()[0].toObject().value("title").toString(), QStringLiteral("选择坐标文件"));

    TempHome cancelled;
    cancelled.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    addfilepl_Click(cancelled.context);
    EXPECT_FALSE(QFile::exists(paths::scratch(QStringLiteral("watch.txt"))));
}

TEST(OpenAndNew, TextWindow)
{
    TempHome home;
    home.context.state().commonDialog.title = QStringLiteral("left over");
    home.answerOpen({QStringLiteral("d:\\x.txt")});
    opentextfile_Click(home.context);
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::resolve(QStringLiteral("d:\\x.txt"))});
    const QJsonObject dlg = home.ui.events()[0].toObject();
    EXPECT_EQ(dlg.value("title").toString(), QStringLiteral("left over"));
    EXPECT_EQ(dlg.value("filter").toString(), QStringLiteral("text files(*.txt)|*.txt"));

    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    opentextfile_Click(home.context);
    EXPECT_EQ(home.ui.textWindowFiles().size(), 1);

    newfiles_Click(home.context);
    EXPECT_EQ(home.ui.textWindowFiles().last(), QString());
}

TEST(ToolCommands, RegisteredByItemName)
{
    CommandRegistry r;
    registerToolCommands(r);
    for (const char* item : {"checkshu", "setnumber", "shengchengfilespath", "addfilepl", "opentextfile", "newfiles"}) {
        EXPECT_TRUE(r.has(QString::fromUtf8(item))) << item;
        EXPECT_FALSE(r.isPlaceholder(QString::fromUtf8(item))) << item;
    }
    TempHome home;
    EXPECT_TRUE(r.run(QStringLiteral("newfiles"), home.context));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{QString()});
}

} // namespace
