// Files that once broke a reader of the platform: each input below is kept
// exactly as it showed the fault.
#include "platform/settings.h"
#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelvor;

// A hand-edited store: whatever a write keeps must read back the same as
// before it, so a line the store takes for an entry must survive saving.
TEST(SettingsRegressions, WriteKeepsEveryEntryItRead)
{
    const char* files[] = {
        "settings_blank_name.ini", // " = value": a blank name, saved as "=value" and lost
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        test::TempHome home;
        ASSERT_TRUE(QFile::copy(test::fixture(QStringLiteral("fixtures/fuzz/") + file), home.settings.file()));
        const auto before = home.settings.all();
        for (const auto& e : before)
            EXPECT_FALSE(e.first.trimmed() == QStringLiteral("=")) << "a blank name was taken for an entry";

        home.settings.WriteSetting(QStringLiteral("QW_PM="), QStringLiteral("5"));
        EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("QW_PM=")), QStringLiteral("5"));
        for (const auto& e : before)
            EXPECT_EQ(home.settings.ReadSetting(e.first), e.second) << e.first.toStdString();
        EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("QW_GC=")), QStringLiteral("2"));
    }
}
