#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;

TEST(Settings, EmptyStoreReadsEmpty)
{
    test::TempHome home;
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("已知点成果=")), QString());
}
