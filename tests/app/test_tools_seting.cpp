#include "app/tools/seting_store.h"
#include "test_support.h"

#include <QDir>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::tools;
using kelvor::test::TempHome;

namespace {

TEST(SetingStore, FillsEveryBoxFromItsSetting)
{
    TempHome home;
    home.settings.write_inifile();
    home.settings.writeRaw(QStringLiteral("dxformat="), QStringLiteral("2"));
    SetingValues v;
    ASSERT_TRUE(finddx(home.context, v));
    EXPECT_EQ(v.format, 1);
    EXPECT_EQ(v.text28[1], QStringLiteral("d:\\"));
    EXPECT_EQ(v.text28[0], QStringLiteral("24"));
    EXPECT_EQ(v.text28[13], QStringLiteral("0.01"));
    EXPECT_EQ(v.text28[4], QStringLiteral("3"));
    EXPECT_EQ(v.text28[5], QStringLiteral("2"));
    EXPECT_EQ(v.text28[6], QStringLiteral("d:\\yzdcg.txt"));
    EXPECT_EQ(v.text28[9], QStringLiteral("1：500数字化地形测量"));
    EXPECT_EQ(v.text28[10], QStringLiteral("114度30分"));
    EXPECT_EQ(v.text28[11], QStringLiteral("1985国家高程基准"));
    EXPECT_EQ(v.text28[12], QStringLiteral("1980西安坐标系"));
}

TEST(SetingStore, FormatOption)
{
    const std::pair<const char*, int> cases[] = {{"1", 0}, {"2", 1}, {"3", 2}, {"7", 0}, {"", 0}, {" 2", 0}};
    for (auto [stored, option] : cases) {
        TempHome home;
        home.settings.writeRaw(QStringLiteral("dxformat="), QString::fromUtf8(stored));
        SetingValues v;
        ASSERT_TRUE(finddx(home.context, v));
        EXPECT_EQ(v.format, option) << stored;
        storeSeting(home.context, v);
        EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("dxformat=")), QString::number(option + 1)) << stored;
    }
}

TEST(SetingStore, StoresTrimmedAndUpperCased)
{
    TempHome home;
    home.context.state().formTag = QStringLiteral("2");
    SetingValues v;
    ASSERT_TRUE(finddx(home.context, v));
    v.text28[1] = QStringLiteral(" d:\\result ");
    v.text28[4] = QString();
    v.text28[9] = QStringLiteral("  城区 1:500 测量  ");
    v.text28[6] = QStringLiteral("d:\\data\\pts.txt");
    v.format = 2;
    storeSeting(home.context, v);

    const SettingsStore& s = home.settings;
    EXPECT_EQ(s.ReadSetting(QStringLiteral("MydxfileSavepath=")), QStringLiteral("D:\\RESULT"));
    EXPECT_EQ(s.ReadSetting(QStringLiteral("Queltdxfilesavepath=")), QStringLiteral("D:\\RESULT"));
    EXPECT_EQ(s.ReadSetting(QStringLiteral("QW_PM=")), QString());
    EXPECT_EQ(s.ReadSetting(QStringLiteral("gongcheng=")), QStringLiteral("城区 1:500 测量"));
    EXPECT_EQ(s.ReadSetting(QStringLiteral("已知点成果=")), QStringLiteral("D:\\DATA\\PTS.TXT"));
    EXPECT_EQ(s.ReadSetting(QStringLiteral("dxformat=")), QStringLiteral("3"));
    // the floating bar's choice goes to Form1's Tag, never to the store
    EXPECT_EQ(home.context.state().formTag, QStringLiteral("0"));
    EXPECT_EQ(s.ReadSetting(QStringLiteral("版本更新日期=")), QString());

    // the order of the stores, as the dialog writes them
    QStringList names;
    for (const auto& e : s.all())
        names.append(e.first.toUpper());
    EXPECT_EQ(names, (QStringList{"MYDXFILESAVEPATH=", "DXFORMAT=", "QUELTDXFILESAVEPATH=", "BIAO_GAO1=",
                                  "BIAO_GAO2=", "QW_PM=", "QW_GC=", "DXXC_PM=", "DXXC_GC=", "已知点成果=",
                                  "DX_SJ_SAVEPATH=", "DANWEI=", "GONGCHENG=", "ZBXT=", "GCXT=", "ZYJD="}));

    // reopening shows what was stored
    SetingValues again;
    ASSERT_TRUE(finddx(home.context, again));
    EXPECT_EQ(again.text28[1], QStringLiteral("D:\\RESULT"));
    EXPECT_EQ(again.format, 2);

    v.floatMenu = 1;
    storeSeting(home.context, v);
    EXPECT_EQ(home.context.state().formTag, QStringLiteral("1"));
}

TEST(SetingStore, UnreadableStoreIsReported)
{
    TempHome home;
    const QString dir = home.root() + QStringLiteral("/broken");
    QDir().mkpath(dir);
    SettingsStore broken(dir);
    Context ctx(broken, home.ui);
    SetingValues v;
    v.text28[4] = QStringLiteral("earlier");
    v.format = 2;
    EXPECT_FALSE(finddx(ctx, v));
    EXPECT_EQ(v.text28[4], QStringLiteral("earlier"));
    EXPECT_EQ(v.format, 2);
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].toObject().value("text").toString(),
              QStringLiteral("记录文件被破坏或磁盘写保护！\r请重新启动该程序修复记录文件。"));
    EXPECT_EQ(m[0].toObject().value("title").toString(), QStringLiteral("错误"));
    EXPECT_EQ(m[0].toObject().value("icon").toString(), QStringLiteral("critical"));
}

} // namespace
