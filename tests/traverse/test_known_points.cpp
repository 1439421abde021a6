#include "traverse/known_points.h"
#include "traverse/sheet.h"

#include "platform/paths.h"
#include "test_support.h"

#include <QDir>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

// A home whose known-point list (d:\yzdcg.txt) holds text; null text: no file.
struct Lookup {
    test::TempHome home;
    TraverseSheet sheet;
    QString file = QStringLiteral("d:\\yzdcg.txt");

    explicit Lookup(const char* text)
    {
        home.context.setSheet(&sheet);
        home.settings.writeRaw(QStringLiteral("已知点成果="), QStringLiteral("  ") + file + QStringLiteral(" "));
        QDir().mkpath(paths::resolve(QStringLiteral("d:\\")));
        if (text)
            test::writeGbk(paths::resolve(file), QString::fromUtf8(text));
    }
    void run() { Label39_DblClick(home.context); }
    QStringList known() const
    {
        QStringList l;
        for (int i = 0; i < 14; ++i)
            l << sheet.text1(i);
        return l;
    }
};

QStringList cells(std::initializer_list<const char*> texts)
{
    QStringList l;
    for (const char* t : texts)
        l << QString::fromUtf8(t);
    return l;
}

} // namespace

TEST(KnownPointLookup, FillsByNameWhateverTheCase)
{
    const struct {
        const char* name;
        const char* file;
        QStringList before;
        QStringList after;
    } cases[] = {
        {"station typed in lower case", "K12 534456.528 2550356.868 100\r\n",
         cells({"", "", "", "k12 ", "", "", "", "", "", "", "", "", "", ""}),
         cells({"", "", "", "k12 ", "534456.528", "2550356.868", "100", "", "", "", "", "", "", ""})},
        {"file name in lower case matches too", "k12 1 2 3\r\n",
         cells({"", "", "", "K12", "", "", "", "", "", "", "", "", "", ""}),
         cells({"", "", "", "K12", "1", "2", "3", "", "", "", "", "", "", ""})},
        {"two fields empty the others", "  K12   534456.528  \r\n",
         cells({"", "", "", "K12", "x", "y", "h", "", "", "", "", "", "", ""}),
         cells({"", "", "", "K12", "534456.528", "", "", "", "", "", "", "", "", ""})},
        {"a later duplicate wins", "K12 1 2 3\r\nK12 4 5 6\r\nK13 7 8 9\r\n",
         cells({"", "", "", "K12", "", "", "", "", "", "", "", "", "", ""}),
         cells({"", "", "", "K12", "4", "5", "6", "", "", "", "", "", "", ""})},
        {"an empty line ends the list", "K1 1 2 3\r\n   \r\nK12 4 5 6\r\n",
         cells({"K1", "", "", "K12", "", "", "", "", "", "", "", "", "", ""}),
         cells({"K1", "1", "2", "K12", "", "", "", "", "", "", "", "", "", ""})},
        {"tabs do not separate", "K12\t1\t2\t3\r\n",
         cells({"", "", "", "K12", "x", "", "", "", "", "", "", "", "", ""}),
         cells({"", "", "", "K12", "x", "", "", "", "", "", "", "", "", ""})},
        {"all four, orientation points take no height", "A 1 2 3\r\nB 4 5 6\r\nD 7 8 9\r\nB 10 11 12 13\r\n",
         cells({"a", "", "", "b", "", "", "", "D", "", "", "B", "", "", "h"}),
         cells({"a", "1", "2", "b", "10", "11", "12", "D", "7", "8", "B", "10", "11", "12"})},
        {"an empty name never matches", "导线1 1 2 3\r\n",
         cells({"", "x", "", "导线1", "", "", "", "", "", "", "", "", "", ""}),
         cells({"", "x", "", "导线1", "1", "2", "3", "", "", "", "", "", "", ""})},
        {"first line empty", "\r\nK12 1 2 3\r\n",
         cells({"", "", "", "K12", "x", "", "", "", "", "", "", "", "", ""}),
         cells({"", "", "", "K12", "x", "", "", "", "", "", "", "", "", ""})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lookup l(c.file);
        for (int i = 0; i < 14; ++i)
            l.sheet.setText1(i, c.before[i]);
        l.run();
        EXPECT_EQ(l.known(), c.after);
        EXPECT_TRUE(l.home.ui.messages().isEmpty());
    }
}

TEST(KnownPointLookup, FailuresAreReported)
{
    {
        Lookup l(nullptr);
        l.sheet.setText1(3, QStringLiteral("K12"));
        l.run();
        const QJsonArray m = l.home.ui.messages();
        ASSERT_EQ(m.size(), 1);
        const QJsonObject o = m[0].toObject();
        EXPECT_EQ(o[QStringLiteral("text")].toString(),
                  QStringLiteral("不能找到 d:\\yzdcg.txt的成果文件！请在系统设定中设定已知点成果表的目录。\r"
                                 "如果要让程序自动录入坐标和高程，请建立以上文件。\r文件的格式为 点名 X坐标 Y坐标 高程"));
        EXPECT_EQ(o[QStringLiteral("title")].toString(), QStringLiteral("错误"));
        EXPECT_EQ(o[QStringLiteral("icon")].toString(), QStringLiteral("critical"));
    }
    {
        Lookup l("");
        l.run();
        const QJsonArray m = l.home.ui.messages();
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("未知的致命错误！！"));
        EXPECT_EQ(m[0].toObject()[QStringLiteral("title")].toString(), QStringLiteral("错误"));
    }
}
