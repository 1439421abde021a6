#include "platform/errors.h"
#include "platform/settings.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
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

TEST(Settings, GbkFilesAreReadAndUndecodableOnesMovedAside)
{
    test::TempHome home;
    const QString file = home.settings.file();
    const QString aside = file + QStringLiteral(".unreadable-") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    // An older copy's file, in GBK.
    test::writeBytes(file, encodeGbk(QStringLiteral("[参数设定]\r\nDXdj=二级图根\r\nzbxt=1954北京坐标系\r\n")));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("DXdj=")), QStringLiteral("二级图根"));
    EXPECT_EQ(home.settings.setAsideUnreadable(), QString());
    home.settings.WriteSetting(QStringLiteral("QW_PM="), QStringLiteral("4"));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("zbxt=")), QStringLiteral("1954北京坐标系"));
    EXPECT_FALSE(QFile::exists(aside));

    // Neither UTF-8 nor GBK: read as empty, and kept aside before a write
    // replaces it, by the start-up or by the write itself.
    const QByteArray garbage("[\xB2\xCE\xCA\xFD]\nQW_PM=\xFF\xFF\x80\x81\n");
    for (const bool byStartUp : {true, false}) {
        QFile::remove(aside);
        test::writeBytes(file, garbage);
        EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("QW_PM=")), QString());
        if (byStartUp) {
            EXPECT_EQ(home.settings.setAsideUnreadable(), aside);
        }
        home.settings.write_inifile();
        EXPECT_EQ(test::readBytes(aside), garbage) << byStartUp;
        EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("QW_PM=")), QStringLiteral("3")) << byStartUp;
    }
}

TEST(Settings, CommentsInsideTheSectionSurviveAWrite)
{
    test::TempHome home;
    test::writeBytes(home.settings.file(),
                     "[参数设定]\n; plane decimals\nQW_PM=4\n# heights\nQW_GC=2\n\n; the end\n[other]\nA=1\n");
    home.settings.WriteSetting(QStringLiteral("qw_pm="), QStringLiteral("5"));
    home.settings.WriteSetting(QStringLiteral("zyjd="), QStringLiteral("117度"));
    EXPECT_EQ(QString::fromUtf8(test::readBytes(home.settings.file())),
              QStringLiteral("[参数设定]\n; plane decimals\nQW_PM=5\n# heights\nQW_GC=2\nZYJD=117度\n\n; the end\n"
                             "[other]\nA=1\n"));
    // A file of comments only keeps them all.
    test::writeBytes(home.settings.file(), "; one\n; two\n");
    home.settings.write_inifile();
    EXPECT_TRUE(QString::fromUtf8(test::readBytes(home.settings.file())).startsWith(QStringLiteral("; one\n; two\n[参数设定]\n")));
}

TEST(Settings, TwoProcessesWritingAtOnceLoseNoUpdate)
{
    test::TempHome home;
    home.settings.write_inifile();
    QProcess a, b;
    a.start(QStringLiteral(KELVOR_SETTINGS_WRITER), {home.settings.file(), QStringLiteral("A"), QStringLiteral("300")});
    b.start(QStringLiteral(KELVOR_SETTINGS_WRITER), {home.settings.file(), QStringLiteral("B"), QStringLiteral("300")});
    ASSERT_TRUE(a.waitForFinished(120000));
    ASSERT_TRUE(b.waitForFinished(120000));
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    const auto all = home.settings.all();
    QStringList missing;
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < 300; ++i) {
            const QString name = QLatin1String(prefix) + QString::number(i) + QLatin1Char('=');
            if (home.settings.ReadSetting(name) != QString::number(i))
                missing << name;
        }
    }
    EXPECT_EQ(missing, QStringList());
    EXPECT_EQ(all.size(), 600 + SettingsStore::defaults().size());
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("版本更新日期=")), QStringLiteral("20070405"));
}
