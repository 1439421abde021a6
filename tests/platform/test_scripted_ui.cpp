#include "platform/commands.h"
#include "platform/scripted.h"
#include "test_support.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace kelvor;

namespace {
// A small command as commands are written: asks, then reports.
void sampleCommand(Context& ctx)
{
    if (ctx.ui().message(QStringLiteral("是否继续？"), QStringLiteral("提示"), Icon::Question, Buttons::YesNo)
        == Answer::No)
        return;
    const QString v = ctx.ui().input(QStringLiteral("输入改正秒数"), QString(), QStringLiteral("10"));
    ctx.ui().message(QStringLiteral("第1站\r后视有问题:") + v, QString(), Icon::Exclamation);
}
} // namespace

TEST(ScriptedUi, RecordsEveryBoxExactly)
{
    test::TempHome home;
    home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
    home.answer(QStringLiteral("input"), QStringLiteral("12"));
    sampleCommand(home.context);
    const QJsonArray ev = home.ui.events();
    ASSERT_EQ(ev.size(), 3);
    EXPECT_EQ(ev[0].toObject().value("answer").toString(), QStringLiteral("Yes"));
    EXPECT_EQ(ev[1].toObject().value("title").toString(), applicationTitle());
    EXPECT_EQ(ev[1].toObject().value("default").toString(), QStringLiteral("10"));
    const QJsonObject last = ev[2].toObject();
    EXPECT_EQ(last.value("text").toString(), QStringLiteral("第1站\r后视有问题:12")); // lone CR kept
    EXPECT_EQ(last.value("title").toString(), applicationTitle());
    EXPECT_EQ(last.value("icon").toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(last.value("buttons").toString(), QStringLiteral("OK"));
    EXPECT_TRUE(home.answers.empty());
}

TEST(ScriptedUi, WrongOrMissingAnswerStopsTheScript)
{
    test::TempHome home;
    home.answer(QStringLiteral("input"), QStringLiteral("12"));
    EXPECT_THROW(sampleCommand(home.context), ScriptMismatch);
    test::TempHome empty;
    EXPECT_THROW(sampleCommand(empty.context), ScriptMismatch);
    // A button the box does not have is refused too.
    test::TempHome wrong;
    wrong.answer(QStringLiteral("button"), QStringLiteral("OK"));
    EXPECT_THROW(sampleCommand(wrong.context), ScriptMismatch);
}

TEST(ScriptedUi, CancelledDialogsGiveEmptyAnswers)
{
    test::TempHome home;
    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    home.answer(QStringLiteral("folder"), QStringLiteral("D:\\"));
    EXPECT_EQ(home.ui.openFile({}), QString());
    EXPECT_EQ(home.ui.input(QStringLiteral("p")), QString());
    EXPECT_EQ(home.ui.pickFolder(QStringLiteral("选择文件夹")), QStringLiteral("D:\\"));
    home.answerOpen({QStringLiteral("d:\\a b.txt"), QStringLiteral("d:\\c.txt")});
    FileDialogRequest multi;
    multi.multiSelect = true;
    EXPECT_EQ(home.ui.openFiles(multi), QStringList({home.path("d:\\a b.txt"), home.path("d:\\c.txt")}));
}

TEST(CommandRegistry, PlaceholdersSayTheCommandIsNotThereYet)
{
    test::TempHome home;
    CommandRegistry reg;
    reg.addPlaceholder(QStringLiteral("massboss"), QStringLiteral("面积量算"));
    int ran = 0;
    reg.add(QStringLiteral("Command37"), [&](Context&) { ++ran; });
    reg.addPlaceholder(QStringLiteral("Command37")); // never hides a built command
    EXPECT_TRUE(reg.run(QStringLiteral("Command37"), home.context));
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(reg.run(QStringLiteral("massboss"), home.context));
    EXPECT_TRUE(reg.isPlaceholder(QStringLiteral("massboss")));
    ASSERT_EQ(home.ui.messages().size(), 1);
    EXPECT_TRUE(home.ui.messages()[0].toObject().value("text").toString().contains(QStringLiteral("面积量算")));
    EXPECT_FALSE(reg.run(QStringLiteral("nothing"), home.context));
}
