#include "platform/common_dialog.h"
#include "app/registry.h"
#include "app/shell_commands.h"
#include "platform/windows.h"
#include "platform/commands.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::test::TempHome;

namespace {

struct Shell {
    Shell()
    {
        app::registerAllCommands(registry);
        home.context.openWindow = [this](const QString& form) { windows.append(form); };
    }
    QJsonArray run(const QString& item)
    {
        home.ui.clearRecord();
        windows.clear();
        EXPECT_TRUE(registry.run(item, home.context)) << item.toStdString();
        return home.ui.events();
    }
    TempHome home;
    CommandRegistry registry;
    QStringList windows;
};

} // namespace

TEST(ShellCommands, HelpShowsItsOneLineMessage)
{
    Shell s;
    const QJsonArray ev = s.run(QStringLiteral("tishi"));
    ASSERT_EQ(ev.size(), 1);
    const QJsonObject m = ev.at(0).toObject();
    EXPECT_EQ(m.value(QStringLiteral("kind")).toString(), QStringLiteral("message"));
    EXPECT_EQ(m.value(QStringLiteral("text")).toString(), QStringLiteral("请参考《Kelvor使用手册》"));
    EXPECT_EQ(m.value(QStringLiteral("title")).toString(), QStringLiteral("帮助"));
    EXPECT_EQ(m.value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(m.value(QStringLiteral("buttons")).toString(), QStringLiteral("OK"));
}

TEST(ShellCommands, ItemsThatOpenWindowsOpenExactlyOne)
{
    struct Case {
        const char* item;
        const char* form;
    };
    const Case cases[] = {
        {"guanyu", "Form2"},      {"systemset", "seting"},  {"Command17", "outExcelx"},
        {"Picture2(1)", "zbfy"},  {"Picture2(2)", "quelt"}, {"Picture2(3)", "tool"},
        {"Picture2(4)", "seting"}, {"Label2(0)", "addtext"}, {"Label2(1)", "insdwg"},
        {"Label2(2)", "frmzb"},   {"Label2(3)", "dilei"},
    };
    Shell s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        EXPECT_TRUE(s.run(QString::fromUtf8(c.item)).isEmpty());
        EXPECT_EQ(s.windows, QStringList{QString::fromUtf8(c.form)});
    }
}

TEST(ShellCommands, ItemsThatDoNothing)
{
    Shell s;
    for (const char* item : {"dx", "Picture2(0)", "quick_call_next(0)"}) {
        EXPECT_TRUE(s.run(QString::fromUtf8(item)).isEmpty()) << item;
        EXPECT_TRUE(s.windows.isEmpty()) << item;
    }
}

TEST(ShellCommands, LauncherAndQuickPopupPassOnToTheNamedItems)
{
    struct Case {
        const char* item;
        const char* target;
    };
    const Case cases[] = {
        {"Label2(4)", "outfilew(0)"},
        {"quick_call_next(2)", "qiujulizhi"},
        {"quick_call_next(3)", "outcordnumber"},
        {"quick_call_next(4)", "caldist"},
        {"quick_call_next(5)", "arealiangshan"},
    };
    Shell s;
    QStringList ran;
    for (const Case& c : cases) {
        const QString target = QString::fromUtf8(c.target);
        // replaced after registration: the pass-on finds whatever is there now
        s.registry.substitute(target, [&ran, target](Context&) { ran.append(target); });
    }
    for (const Case& c : cases) {
        ran.clear();
        s.run(QString::fromUtf8(c.item));
        EXPECT_EQ(ran, QStringList{QString::fromUtf8(c.target)}) << c.item;
    }
}

TEST(ShellCommands, ItemNotBuiltYetSaysSoInOneMessage)
{
    Shell s;
    CommandRegistry fresh;
    app::registerPlaceholders(fresh);
    s.home.ui.clearRecord();
    fresh.run(QStringLiteral("massboss"), s.home.context);
    const QJsonArray ev = s.home.ui.events();
    ASSERT_EQ(ev.size(), 1);
    EXPECT_TRUE(ev.at(0).toObject().value(QStringLiteral("text")).toString().contains(QStringLiteral("图形质量控制")));
}

TEST(ShellCommands, WindowNotBuiltYetSaysSo)
{
    TempHome h;
    WindowRegistry windows;
    windows.open(QStringLiteral("seting"), h.context, nullptr);
    ASSERT_EQ(h.ui.messages().size(), 1);
    EXPECT_EQ(h.ui.messages().at(0).toObject().value(QStringLiteral("text")).toString(),
              QStringLiteral("“参数设定”功能尚未提供。"));
    int opened = 0;
    windows.add(QStringLiteral("seting"), [&](Context&, QWidget*) { ++opened; });
    windows.open(QStringLiteral("seting"), h.context, nullptr);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(h.ui.messages().size(), 1);
}

TEST(CommonDialog, PropertiesCarryOverButACancelNeverHandsBackAnEarlierFile)
{
    TempHome h;
    h.answerOpen({QStringLiteral("d:\\data\\first.CG")});
    const QString first = CommonDialog(h.context)
                              .setTitle(QStringLiteral("打开"))
                              .setFilter(QStringLiteral("平差结果文件(*.CG)|*.CG"))
                              .showOpen();
    EXPECT_EQ(first, QStringLiteral("D:\\data\\first.CG"));

    // The next command sets only its filter; the title is the one left.
    h.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    CommonDialog second(h.context);
    EXPECT_EQ(second.setFilter(QStringLiteral("所有文件(*.*)|*.*")).showOpen(), QString());
    EXPECT_EQ(second.fileName(), QString());
    const QJsonObject shown = h.ui.events().at(1).toObject();
    EXPECT_EQ(shown.value(QStringLiteral("title")).toString(), QStringLiteral("打开"));
    EXPECT_EQ(shown.value(QStringLiteral("filter")).toString(), QStringLiteral("所有文件(*.*)|*.*"));

    h.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    EXPECT_EQ(CommonDialog(h.context).showSave(), QString());
}
