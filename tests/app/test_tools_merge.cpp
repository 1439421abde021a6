#include "app/tools/merge_list.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::tools;
using kelvor::test::TempHome;
using kelvor::test::writeGbk;

namespace {

QStringList watchLines()
{
    return readTextLines(paths::scratch(QStringLiteral("watch.txt")));
}

QList<bool> selection(const MergeList& l)
{
    QList<bool> s;
    for (const auto& e : l.entries())
        s.append(e.selected);
    return s;
}

MergeList abc(int current)
{
    MergeList l;
    l.setEntries({"A", "B", "C"}, true);
    l.setCurrent(current);
    return l;
}

TEST(MergeWindow, ChooseFolder)
{
    TempHome home;
    writeGbk(home.path(QStringLiteral("d:\\a\\x.txt")), QStringLiteral("x\r\n"));
    writeGbk(home.path(QStringLiteral("d:\\a\\y.dat")), QStringLiteral("y\r\n"));
    QDir().mkpath(home.path(QStringLiteral("d:\\a\\sub")));
    writeGbk(home.path(QStringLiteral("d:\\r.txt")), QStringLiteral("r\r\n"));

    MergeList list;
    home.answer(QStringLiteral("folder"), QStringLiteral("D:\\a"));
    list.Command1_Click(home.context, 0);
    EXPECT_EQ(list.paths(), (QStringList{"D:\\a\\x.txt", "D:\\a\\y.dat"}));
    EXPECT_EQ(selection(list), (QList<bool>{true, true}));
    EXPECT_EQ(home.ui.events()[0].toObject().value("prompt").toString(), QStringLiteral("请选择要操作的目录"));

    // a cancelled picker leaves the list alone
    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    list.Command1_Click(home.context, 0);
    EXPECT_EQ(list.paths().size(), 2);

    // a drive root keeps one separator
    home.answer(QStringLiteral("folder"), QStringLiteral("D:\\"));
    list.Command1_Click(home.context, 0);
    EXPECT_EQ(list.paths(), QStringList{"D:\\r.txt"});
}

TEST(MergeWindow, MoveAndRemove)
{
    MergeList l = abc(1);
    l.moveUp();
    EXPECT_EQ(l.paths(), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(l.current(), 0);
    l.moveUp();
    EXPECT_EQ(l.paths(), (QStringList{"B", "A", "C"}));
    l.moveDown();
    EXPECT_EQ(l.paths(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(l.current(), 1);

    MergeList last = abc(2);
    last.moveDown();
    EXPECT_EQ(last.paths(), (QStringList{"A", "B", "C"}));

    // removing keeps the others' order and selection, selected or not
    TempHome home;
    MergeList r = abc(1);
    r.setSelected(0, false);
    r.setSelected(1, false);
    r.Command1_Click(home.context, 4);
    EXPECT_EQ(r.paths(), (QStringList{"A", "C"}));
    EXPECT_EQ(selection(r), (QList<bool>{false, true}));

    // any key removes the current entry
    MergeList k = abc(2);
    k.List1_KeyDown();
    EXPECT_EQ(k.paths(), (QStringList{"A", "B"}));
    k.List1_KeyDown();
    k.List1_KeyDown();
    EXPECT_TRUE(k.entries().isEmpty());
    EXPECT_EQ(k.current(), -1);
    k.List1_KeyDown();
}

TEST(MergeWindow, NothingSelectedDisablesTheButtons)
{
    TempHome home;
    MergeList l = abc(1);
    for (int i = 0; i < 3; ++i)
        l.setSelected(i, false);
    for (int index : {1, 2, 3, 4})
        l.Command1_Click(home.context, index);
    EXPECT_EQ(l.paths(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(l.current(), 1);
    EXPECT_FALSE(QFile::exists(paths::scratch(QStringLiteral("watch.txt"))));
    EXPECT_TRUE(home.ui.events().isEmpty());

    l.Command2_Click();
    EXPECT_EQ(selection(l), (QList<bool>{true, true, true}));
}

TEST(MergeWindow, JoinSelectedInListOrder)
{
    TempHome home;
    const QString a = QStringLiteral("d:\\m\\a.txt"), b = QStringLiteral("d:\\m\\b.txt"),
                  c = QStringLiteral("d:\\m\\c.txt"), e = QStringLiteral("d:\\m\\e.txt");
    writeGbk(home.path(a), QStringLiteral("a1\r\na2\r\n"));
    writeGbk(home.path(b), QStringLiteral("b1\r\n"));
    writeGbk(home.path(c), QStringLiteral("c1\r\nc2\r\nc3\r\n"));
    writeGbk(home.path(e), QString());

    MergeList l;
    l.setEntries({c, b, e, QStringLiteral("d:\\m\\gone.txt"), a}, true);
    l.setSelected(1, false);
    l.Command1_Click(home.context, 1);
    EXPECT_EQ(watchLines(), (QStringList{"c1", "c2", "c3", "a1", "a2"}));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].toObject().value("text").toString(), e + QStringLiteral("文件为空！"));
    EXPECT_EQ(m[0].toObject().value("title").toString(), QStringLiteral("提示"));
    EXPECT_EQ(m[0].toObject().value("icon").toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(m[1].toObject().value("text").toString(), QStringLiteral("错误号: 53"));
    EXPECT_EQ(m[1].toObject().value("icon").toString(), QStringLiteral("critical"));
}

TEST(MergeWindow, ExtensionFilter)
{
    struct Case {
        const char* answer;
        QStringList kept;
    };
    const QStringList entries = {"D:\\a\\x.dwg", "D:\\a\\y.DWG", "D:\\a\\z.txt"};
    const Case cases[] = {
        {"DWG", {"D:\\a\\x.dwg", "D:\\a\\y.DWG"}},
        {".dwg", {"D:\\a\\x.dwg", "D:\\a\\y.DWG"}},
        {" dwg", {}},
        {"txt", {"D:\\a\\z.txt"}},
        {"", entries},
        {"pdf", {}},
    };
    for (const Case& c : cases) {
        TempHome home;
        MergeList l;
        l.setEntries(entries, true);
        home.answer(QStringLiteral("input"), QString::fromUtf8(c.answer));
        l.filterByExtension(home.context);
        EXPECT_EQ(l.paths(), c.kept) << c.answer;
        for (bool s : selection(l))
            EXPECT_FALSE(s) << c.answer;
        EXPECT_EQ(watchLines(), c.kept) << c.answer;
        EXPECT_EQ(home.ui.events()[0].toObject().value("prompt").toString(), QStringLiteral("请输入扩展名，以便过滤！"));
    }
}

} // namespace
