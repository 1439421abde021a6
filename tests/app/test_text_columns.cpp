#include "routines/routines.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace kelvor;

// Columns count characters while files hold GBK bytes: a padded Chinese
// name takes two bytes a character but one column.
TEST(TextColumns, PaddedChineseNameIsTwelveBytesPlusCrLf)
{
    test::TempHome home;
    writeTextLines(QStringLiteral("d:\\names.txt"), {PadRight(QStringLiteral("导线"), 10)});
    const QByteArray bytes = test::readBytes(QStringLiteral("d:\\names.txt"));
    EXPECT_EQ(bytes.size(), 12 + 2);
    EXPECT_TRUE(bytes.endsWith("        \r\n"));
    EXPECT_EQ(readTextLines(QStringLiteral("d:\\names.txt")).first().size(), 10);
}

// Settings give paths back upper-cased; the file must still be found.
TEST(TextColumns, PathStoredUpperCasedBySettingsIsFound)
{
    test::TempHome home;
    QDir().mkpath(home.path("d:\\Survey"));
    writeTextLines(QStringLiteral("d:\\Survey\\yzdcg.txt"), {QStringLiteral("K12 534456.528 2550356.868 100")});
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\Survey\\yzdcg.txt"));
    const QString stored = home.settings.ReadSetting(QStringLiteral("已知点成果="));
    EXPECT_EQ(stored, QStringLiteral("D:\\SURVEY\\YZDCG.TXT"));
    EXPECT_TRUE(textFileExists(stored));
    EXPECT_EQ(readTextLines(stored), QStringList{QStringLiteral("K12 534456.528 2550356.868 100")});
}
