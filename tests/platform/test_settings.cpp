#include "platform/errors.h"
#include "platform/settings.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace kelvor;

TEST(Settings, AbsentNamesReadEmpty)
{
    test::TempHome home;
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("已知点成果=")), QString());
    EXPECT_FALSE(QFile::exists(home.settings.file())); // reading creates nothing
}

TEST(Settings, WriteSettingUpperCasesNameAndValue)
{
    test::TempHome home;
    auto& s = home.settings;
    const struct {
        const char* key;
        const char* value;
        const char* readBack;
    } cases[] = {
        {"已知点成果=", "d:\\data\\pts.txt", "D:\\DATA\\PTS.TXT"},
        {"DXdj=", "一级图根", "一级图根"},
        {"gongcheng=", "1：500数字化地形测量 abc", "1：500数字化地形测量 ABC"},
        {"QW_PM=", "3", "3"},
        {"Savelist1=", "", ""},
    };
    for (const auto& c : cases) {
        s.WriteSetting(QString::fromUtf8(c.key), QString::fromUtf8(c.value));
        EXPECT_EQ(s.ReadSetting(QString::fromUtf8(c.key)), QString::fromUtf8(c.readBack)) << c.key;
    }
    // Names match without regard to case.
    s.write_inifile();
    EXPECT_EQ(s.ReadSetting(QStringLiteral("mydxfilesavepath=")), s.ReadSetting(QStringLiteral("MydxfileSavepath=")));
    s.WriteSetting(QStringLiteral("mydxfilesavepath="), QStringLiteral("e:\\r"));
    EXPECT_EQ(s.ReadSetting(QStringLiteral("MydxfileSavepath=")), QStringLiteral("E:\\R"));
    int count = 0;
    for (const auto& e : s.all())
        count += e.first.compare(QStringLiteral("MYDXFILESAVEPATH="), Qt::CaseInsensitive) == 0;
    EXPECT_EQ(count, 1);
}

TEST(Settings, DefaultsAreWrittenInTableOrderKeepingTheirCase)
{
    test::TempHome home;
    home.settings.write_inifile();
    const auto all = home.settings.all();
    ASSERT_EQ(all.size(), 26);
    EXPECT_EQ(all, SettingsStore::defaults());
    EXPECT_EQ(all.first(), qMakePair(QStringLiteral("版本更新日期="), QStringLiteral("20070405")));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("MydxfileSavepath=")), QStringLiteral("d:\\"));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("已知点成果=")), QStringLiteral("d:\\yzdcg.txt"));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("gongcheng=")), QStringLiteral("1：500数字化地形测量"));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("zyjd=")), QStringLiteral("114度30分"));
}

TEST(Settings, FirstRunRuleFollowsTheMarker)
{
    const struct {
        const char* marker; // nullptr: absent
        bool rewrites;
    } cases[] = {{nullptr, true}, {"", true}, {"   ", true}, {"20070405", false}, {"not a date", false}};
    for (const auto& c : cases) {
        test::TempHome home;
        auto& s = home.settings;
        if (c.marker)
            s.writeRaw(QStringLiteral("版本更新日期="), QString::fromUtf8(c.marker));
        s.WriteSetting(QStringLiteral("QW_PM="), QStringLiteral("4"));
        EXPECT_EQ(s.applyFirstRunRule(), c.rewrites) << (c.marker ? c.marker : "(absent)");
        EXPECT_EQ(s.ReadSetting(QStringLiteral("QW_PM=")), c.rewrites ? QStringLiteral("3") : QStringLiteral("4"));
    }
}

TEST(Settings, FileIsReadableTextAndEditsByHandAreSeen)
{
    test::TempHome home;
    home.settings.WriteSetting(QStringLiteral("zbxt="), QStringLiteral("line1\r\nline2 100%"));
    const QString text = QString::fromUtf8(test::readBytes(home.settings.file()));
    EXPECT_TRUE(text.contains(QStringLiteral("[参数设定]")));
    EXPECT_TRUE(text.contains(QStringLiteral("ZBXT=LINE1%0D%0ALINE2 100%25\n")));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("zbxt=")), QStringLiteral("LINE1\r\nLINE2 100%"));
    // Nothing is cached: a value changed in the file is read at the next call.
    test::writeBytes(home.settings.file(), "[参数设定]\nQW_GC = 5\n[other]\nQW_PM=9\n");
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("QW_GC=")), QStringLiteral("5"));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("QW_PM=")), QString());
}

TEST(Settings, UnreadableStoreRaises)
{
    test::TempHome home;
    QDir().mkpath(home.settings.file()); // a folder where the file should be
    EXPECT_THROW(home.settings.ReadSetting(QStringLiteral("QW_PM=")), RunError);
}

TEST(Settings, OtherSectionsAndNotesSurviveAWrite)
{
    test::TempHome home;
    test::writeBytes(home.settings.file(), "; my notes\n[other]\nA=1\n[参数设定]\nQW_PM=4\n[more]\nB=2\n");
    home.settings.WriteSetting(QStringLiteral("QW_GC="), QStringLiteral("3"));
    EXPECT_EQ(QString::fromUtf8(test::readBytes(home.settings.file())),
              QStringLiteral("; my notes\n[other]\nA=1\n[参数设定]\nQW_PM=4\nQW_GC=3\n[more]\nB=2\n"));
}
