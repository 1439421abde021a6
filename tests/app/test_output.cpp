#include "platform/common_dialog.h"
#include "platform/common_file.h"
#include "app/output_menu.h"
#include "platform/paths.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::test::TempHome;

namespace {

QJsonObject onlyEvent(const ScriptedUi& ui)
{
    EXPECT_EQ(ui.events().size(), 1);
    return ui.events().isEmpty() ? QJsonObject() : ui.events().at(0).toObject();
}

} // namespace

TEST(OutputMenu, WatchFileOpensWhetherOrNotItExists)
{
    for (bool exists : {false, true}) {
        TempHome h;
        if (exists)
            test::writeGbk(paths::scratch(QStringLiteral("watch.txt")), QStringLiteral("a\r\n"));
        outfilew_Click(h.context, 0);
        EXPECT_EQ(h.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
        EXPECT_TRUE(h.ui.messages().isEmpty());
    }
}

TEST(OutputMenu, KnownPointsFileOpensWhenFoundElseSaysWhy)
{
    struct Case {
        const char* setting;
        bool createFile;
        bool createFolder;
        const char* opened; // "" for the message
    };
    const Case cases[] = {
        {"d:\\yzdcg.txt", true, false, "d:\\yzdcg.txt"},
        {"D:\\YZDCG.TXT", true, false, "d:\\yzdcg.txt"},       // as stored upper-cased
        {"d:\\yzdcg.txt  ", true, false, "d:\\yzdcg.txt"},     // trailing blanks: found, opened trimmed
        {"d:\\pts", false, true, "d:\\pts"},                   // a folder passes the test
        {"d:\\missing.txt", false, false, ""},
        {"", false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        TempHome h;
        if (c.createFile)
            test::writeGbk(QStringLiteral("d:\\yzdcg.txt"), QStringLiteral("A 1 2 3\r\n"));
        if (c.createFolder)
            QDir().mkpath(paths::resolve(QStringLiteral("d:\\pts")));
        h.settings.writeRaw(QStringLiteral("已知点成果="), QString::fromUtf8(c.setting));
        outfilew_Click(h.context, 1);
        if (*c.opened) {
            EXPECT_EQ(h.ui.textWindowFiles(), QStringList{paths::resolve(QString::fromUtf8(c.opened))});
            EXPECT_TRUE(h.ui.messages().isEmpty());
        } else {
            EXPECT_TRUE(h.ui.textWindowFiles().isEmpty());
            const QJsonObject m = onlyEvent(h.ui);
            EXPECT_EQ(m.value(QStringLiteral("text")).toString(),
                      QStringLiteral("不能找到文件！,请核准是否存在该文件并\r确认是否设定已知点文件的名称和目录。"));
            EXPECT_EQ(m.value(QStringLiteral("title")).toString(), QStringLiteral("错误"));
            EXPECT_EQ(m.value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
        }
    }
}

TEST(OutputMenu, RecentReportOpensOnlyWhenThereIsOne)
{
    struct Case {
        const char* caption;
        bool opens;
    };
    const Case cases[] = {{"", false}, {"   ", false}, {"d:\\a.CG", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        TempHome h;
        h.context.state().recentReport = QString::fromUtf8(c.caption);
        outfilew_Click(h.context, 3);
        EXPECT_TRUE(h.ui.messages().isEmpty());
        if (c.opens) {
            EXPECT_EQ(h.ui.textWindowFiles(), QStringList{paths::resolve(QStringLiteral("d:\\a.CG"))});
        } else {
            EXPECT_TRUE(h.ui.events().isEmpty());
        }
    }
}

TEST(OutputMenu, OtherIndexesDoNothing)
{
    for (int i : {2, 4, -1, 32767}) {
        TempHome h;
        outfilew_Click(h.context, i);
        EXPECT_TRUE(h.ui.events().isEmpty()) << i;
    }
}

TEST(OutputMenu, ChosenCommonFileBecomesTheCaptionAndIsStoredUpperCased)
{
    TempHome h;
    EXPECT_EQ(commonFileCaption(h.context.state()), QStringLiteral("通用文件名为空"));
    EXPECT_EQ(commonFile(h.context), QString());

    h.answerOpen({QStringLiteral("D:\\Data\\a.txt")});
    publicfiles_Click(h.context);
    const QJsonObject dialog = onlyEvent(h.ui);
    EXPECT_EQ(dialog.value(QStringLiteral("title")).toString(), QStringLiteral("选择文件"));
    EXPECT_EQ(dialog.value(QStringLiteral("filter")).toString(), QStringLiteral("所有文件(*.*)|*.*"));
    EXPECT_EQ(commonFileCaption(h.context.state()), QStringLiteral("D:\\Data\\a.txt"));
    EXPECT_EQ(commonFile(h.context), QStringLiteral("D:\\Data\\a.txt"));
    EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("publicfilename=")), QStringLiteral("D:\\DATA\\A.TXT"));

    // A cancel afterwards keeps the earlier choice and stores nothing new.
    h.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    publicfiles_Click(h.context);
    EXPECT_EQ(commonFile(h.context), QStringLiteral("D:\\Data\\a.txt"));
    EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("publicfilename=")), QStringLiteral("D:\\DATA\\A.TXT"));
}

TEST(OutputMenu, CancelledFirstChoiceLeavesNoCommonFile)
{
    TempHome h;
    h.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    publicfiles_Click(h.context);
    EXPECT_EQ(commonFile(h.context), QString());
    EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("publicfilename=")), QString());
}

TEST(OutputMenu, ReadersTrimTheCaption)
{
    TempHome h;
    h.context.state().commonFile = QStringLiteral("  d:\\x.txt ");
    EXPECT_EQ(commonFile(h.context), QStringLiteral("d:\\x.txt"));
    h.context.state().commonFile = QStringLiteral(" 通用文件名为空 ");
    EXPECT_EQ(commonFile(h.context), QString());
}
