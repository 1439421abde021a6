#include "quelt/commands.h"
#include "quelt/export.h"

#include "platform/commands.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"
#include "traverse/sheet.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

using namespace kelvor;
using kelvor::test::TempHome;
using kelvor::traverse::TraverseSheet;
using kelvor::test::gbkLines;

namespace {

// A(100,200) B(300,400) D(500,600) C(700,800); rows B, P1, P2; last C.
void fillExample(TraverseSheet& s)
{
    const QStringList known = {"A", "100", "200", "B", "300", "400", "10.5", "D", "500", "600", "C", "700", "800", "11.5"};
    for (int i = 0; i < known.size(); ++i)
        s.setText1(i, known[i]);
    const QStringList rows[] = {{"B", "90.0000", "100.000"}, {"P1", "180.0000", "150.000"}, {"P2", "270.0000", "120.000"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            s.setText5(r * 9 + c, rows[r][c]);
    s.setText5(108, "C");
    s.setText5(109, "45.0000");
}

const QStringList examplePlane = {"A",
                                  "4,300,400,100,200",
                                  "700,800,500,600",
                                  "4,B,90.0000,100.000",
                                  "P1,180.0000,150.000",
                                  "P2,270.0000,120.000",
                                  "C,45.0000,0",
                                  "1,2,3,4",
                                  "B"};

struct Fixture {
    TempHome home;
    TraverseSheet sheet;
    Fixture()
    {
        home.context.setSheet(&sheet);
        fillExample(sheet);
    }
    QString program(const QString& name) const { return paths::programDir() + "/" + name; }
    QJsonArray messages() const { return home.ui.messages(); }
    QString lastMessage() const
    {
        const QJsonArray m = messages();
        return m.isEmpty() ? QString() : m.last().toObject().value("text").toString();
    }
    void toFolder(const QString& root)
    {
        home.context.state().exportToFolder = true;
        home.context.state().exportFolder = root;
    }
};

TEST(QueltExport, WritesTheExampleTraverseIntoTheProgramFolder)
{
    Fixture f;
    f.home.answer("button", "Yes");
    quelt::Command12_Click(f.home.context);

    EXPECT_EQ(test::readBytes(f.program("PM.tmp")), gbkLines(examplePlane));
    EXPECT_EQ(test::readBytes(f.program("GC.tmp")),
              gbkLines({"A", "B,P1,100.000,,,,,,", "P1,P2,150.000,,,,,,", "P2,C,120.000,,,,,,", "B"}));
    EXPECT_FALSE(QFileInfo::exists(f.program("read.tmp"))) << "the scratch list is removed";

    const QJsonObject q = f.messages().last().toObject();
    EXPECT_EQ(q.value("text").toString(), QStringLiteral("已经生成在本程序目录下的PM.tmp、GC.tmp数据文件,需要查看吗？"));
    EXPECT_EQ(q.value("title").toString(), QStringLiteral("程序处理结果"));
    EXPECT_EQ(f.home.ui.textWindowFiles(), (QStringList{f.program("PM.tmp"), f.program("GC.tmp")}));
}

TEST(QueltExport, HeightFileTakesEveryObservationColumnAndTheNextName)
{
    Fixture f;
    for (int r = 0; r < 3; ++r)
        for (int c = 3; c < 9; ++c)
            f.sheet.setText5(r * 9 + c, QStringLiteral(" %1%2 ").arg(r).arg(c)); // typed with blanks
    f.home.answer("button", "No");
    quelt::Command12_Click(f.home.context);
    EXPECT_EQ(test::readBytes(f.program("GC.tmp")),
              gbkLines({"A", "B,P1,100.000,03,04,05,06,07,08", "P1,P2,150.000,13,14,15,16,17,18",
                    "P2,C,120.000,23,24,25,26,27,28", "B"}));
    EXPECT_TRUE(f.home.ui.textWindowFiles().isEmpty());
}

TEST(QueltExport, RowCountFollowsTheFirstBlankNameFromTheThirdRow)
{
    const struct {
        int filled; // rows with a name
        bool secondHidden; // the second row hidden before the export
        int planeLines;
        int heightLines;
        QString line4;
    } cases[] = {
        {1, true, 7, 3, "2,B,90.0000,100.000"},
        {1, false, 8, 4, "3,B,90.0000,100.000"}, // the second row is taken even when empty
        {2, false, 8, 4, "3,B,90.0000,100.000"},
        {3, false, 9, 5, "4,B,90.0000,100.000"},
        {12, false, 18, 14, "13,B,90.0000,100.000"},
    };
    for (const auto& c : cases) {
        Fixture f;
        for (int r = 0; r < 12; ++r)
            for (int col = 0; col < 3; ++col)
                f.sheet.setText5(r * 9 + col, r < c.filled ? (col == 0 ? QStringLiteral("Q%1").arg(r) : "1") : "");
        if (c.filled >= 1) {
            f.sheet.setText5(0, "B");
            f.sheet.setText5(1, "90.0000");
            f.sheet.setText5(2, "100.000");
        }
        if (c.secondHidden)
            f.sheet.setRowVisible(1, false);
        f.home.answer("button", "No");
        quelt::Command12_Click(f.home.context);
        const QStringList plane = readTextLines(f.program("PM.tmp"));
        const QStringList height = readTextLines(f.program("GC.tmp"));
        EXPECT_EQ(plane.size(), c.planeLines) << c.filled;
        EXPECT_EQ(height.size(), c.heightLines) << c.filled;
        EXPECT_EQ(plane.value(3), c.line4) << c.filled;
        EXPECT_EQ(plane.value(plane.size() - 3), QStringLiteral("C,45.0000,0")) << c.filled;
        EXPECT_EQ(f.sheet.rowsInUse(), c.secondHidden ? 1 : std::max(2, c.filled)) << "rows after the last are hidden";
        if (c.filled == 1) {
            EXPECT_EQ(height.value(1), c.secondHidden ? QStringLiteral("B,C,100.000,,,,,,")
                                                      : QStringLiteral("B,,100.000,,,,,,"))
                << "the next name of the first row";
        }
    }
}

TEST(QueltExport, BlankCoordinatesBecomePlaceholdersAndTypedOnesKeepTheirBlanks)
{
    Fixture f;
    f.sheet.setText1(4, "  ");   // B.X
    f.sheet.setText1(9, "");     // D.Y
    f.sheet.setText1(1, " 100 "); // A.X as typed
    f.home.answer("button", "No");
    quelt::Command12_Click(f.home.context);
    const QStringList plane = readTextLines(f.program("PM.tmp"));
    EXPECT_EQ(plane.value(1), QStringLiteral("4,测站X,400, 100 ,200"));
    EXPECT_EQ(plane.value(2), QStringLiteral("700,800,500,定向Y"));
}

TEST(QueltExport, TickedWritesIntoTheTraverseFolderAndAsksBeforeOverwriting)
{
    Fixture f;
    QDir().mkpath(f.home.path("d:\\quelt"));
    f.toFolder("d:\\quelt");
    const QString cwd = QDir::currentPath();
    f.home.answer("button", "No");
    quelt::Command12_Click(f.home.context);
    EXPECT_EQ(test::readBytes("d:\\quelt\\P1\\P1.IN"), gbkLines(examplePlane));
    EXPECT_FALSE(test::readBytes("d:\\quelt\\P1\\P1G.IN").isEmpty());
    EXPECT_EQ(f.lastMessage(),
              QStringLiteral("已经生成d:\\quelt\\P1\\P1.IN、d:\\quelt\\P1\\P1G.IN文件,需要查看吗？"));
    EXPECT_EQ(f.home.context.state().currentFolder, QStringLiteral("d:\\quelt"));
    EXPECT_EQ(QDir::currentPath(), cwd) << "the process's working folder is not touched";

    // A second export with other data: No keeps the files, Yes replaces them.
    f.sheet.setText5(1, "91.0000");
    f.home.answer("button", "No");
    quelt::Command12_Click(f.home.context);
    EXPECT_EQ(f.lastMessage(), QStringLiteral("目录或许已存在！检查是否有点名重复。是否覆盖？"));
    EXPECT_EQ(f.messages().last().toObject().value("title").toString(), QStringLiteral("警告"));
    EXPECT_EQ(readTextLines("d:\\quelt\\P1\\P1.IN").value(3), QStringLiteral("4,B,90.0000,100.000"));

    f.home.answer("button", "Yes");
    f.home.answer("button", "No");
    quelt::Command12_Click(f.home.context);
    EXPECT_EQ(readTextLines("d:\\quelt\\P1\\P1.IN").value(3), QStringLiteral("4,B,91.0000,100.000"));
}

TEST(QueltExport, MissingRootOrDriveStopsBeforeAnythingIsWritten)
{
    const struct {
        QString root;
        QString message;
    } cases[] = {
        {"d:\\nowhere", QStringLiteral("目录没有找到或无法创建目录,检查是否建立了[d:\\nowhere]。")},
        {"", QStringLiteral("目录没有找到或无法创建目录,检查是否建立了[]。")},
        {"q:\\data", QStringLiteral("保存的目录名或驱动器错误！！！")},
    };
    for (const auto& c : cases) {
        Fixture f;
        QDir().mkpath(f.home.path("d:\\"));
        f.toFolder(c.root);
        quelt::Command12_Click(f.home.context);
        EXPECT_EQ(f.lastMessage(), c.message) << c.root.toStdString();
        EXPECT_EQ(f.messages().size(), 1);
        EXPECT_FALSE(QFileInfo::exists(f.home.path("d:\\nowhere")));
        EXPECT_FALSE(QFileInfo(paths::current().drivesRoot + "/q").exists()) << "no drive is made up";
    }
}

TEST(QueltExport, UnusableTraverseNameIsRefusedBeforeAnyFolderIsMade)
{
    for (const QString name : {"", "  ", "..", ".", "a/b", "a\\b", "a:b", "P*", "P?1", "<P>", "a|b", "a\"b"}) {
        Fixture f;
        QDir().mkpath(f.home.path("d:\\quelt"));
        f.toFolder("d:\\quelt");
        f.sheet.setText5(9, name);
        f.sheet.setText5(18, "P2"); // keep the third row so the name row is no blank tail
        quelt::Command12_Click(f.home.context);
        EXPECT_TRUE(f.lastMessage().startsWith(QStringLiteral("导线名（第二行点名）[") + name + "]"))
            << name.toStdString();
        EXPECT_TRUE(QDir(f.home.path("d:\\quelt")).isEmpty()) << name.toStdString();
    }
    // Unticked, the name makes no folder and is not checked.
    Fixture f;
    f.sheet.setText5(9, "..");
    f.home.answer("button", "No");
    quelt::Command12_Click(f.home.context);
    EXPECT_TRUE(QFileInfo::exists(f.program("PM.tmp")));
}

TEST(QueltExport, CommaInAWrittenCellRefusesTheExportNamingTheCell)
{
    const struct {
        bool known;
        int index;
        QString named;
    } cases[] = {
        {true, 5, QStringLiteral("起始测站的Y坐标")},
        {true, 8, QStringLiteral("终止定向点的X坐标")},
        {false, 10, QStringLiteral("第2行的水平角")},
        {false, 26, QStringLiteral("第3行的后视觇标高")},
        {false, 108, QStringLiteral("终点的点名")},
    };
    for (const auto& c : cases) {
        Fixture f;
        if (c.known)
            f.sheet.setText1(c.index, "1,5");
        else
            f.sheet.setText5(c.index, "1,5");
        quelt::Command12_Click(f.home.context);
        EXPECT_TRUE(f.lastMessage().startsWith("[" + c.named + "]中含有逗号")) << f.lastMessage().toStdString();
        EXPECT_FALSE(QFileInfo::exists(f.program("PM.tmp")));
        EXPECT_FALSE(QFileInfo::exists(f.program("GC.tmp")));
    }
    // A comma in a cell the files do not take (a known height, a hidden row) is harmless.
    Fixture f;
    f.sheet.setText1(6, "1,5");
    f.sheet.setText5(40, "1,5");
    f.home.answer("button", "No");
    quelt::Command12_Click(f.home.context);
    EXPECT_EQ(test::readBytes(f.program("PM.tmp")), gbkLines(examplePlane));
}

TEST(QueltExport, RegisteredUnderTheButtonName)
{
    Fixture f;
    CommandRegistry registry;
    quelt::registerQueltCommands(registry);
    f.home.answer("button", "No");
    ASSERT_TRUE(registry.run("Command12", f.home.context));
    EXPECT_TRUE(QFileInfo::exists(f.program("PM.tmp")));
}

} // namespace
