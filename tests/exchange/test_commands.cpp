#include "exchange/commands.h"

#include "test_support.h"

#include "platform/commands.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::test::writeGbkLines;

// The menu items reach the commands through the registry by their names.
TEST(ExchangeCommands, MenuItemsRunTheirCommands)
{
    CommandRegistry registry;
    registerExchangeCommands(registry);
    struct Case {
        const char* item;
        const char* dialogTitle;
    };
    const Case cases[] = {
        {"dushujiancha", "打开坐标数据文件"},   {"batoutcgb", "选择多个成果文件生成成果表"},
        {"hubinggcsj", "观测数据合并"},         {"huoqucezhanshu", "观测数据合并"},
        {"findchongfucezhan", "观测数据"},      {"printoutgxb", "选择概算值文件"},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        home.answerOpen({});
        ASSERT_TRUE(registry.run(QString::fromUtf8(c.item), home.context)) << c.item;
        EXPECT_FALSE(registry.isPlaceholder(QString::fromUtf8(c.item))) << c.item;
        ASSERT_EQ(home.ui.events().size(), 1) << c.item;
        EXPECT_EQ(home.ui.events()[0].toObject().value("title").toString(), QString::fromUtf8(c.dialogTitle))
            << c.item;
    }

    test::TempHome home;
    writeGbkLines(QStringLiteral("d:\\k.txt"), {QStringLiteral("A 1 2 3")});
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\k.txt"));
    home.answerOpen({});
    ASSERT_TRUE(registry.run(QStringLiteral("huoquyichengguo"), home.context));
    EXPECT_EQ(home.ui.events()[0].toObject().value("title").toString(), "选择文件");
}
