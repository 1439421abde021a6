// The feature record: reading the code whatever application comes first,
// writing it without touching other applications, reading it as a number.
#include "cass/cass_xdata.h"
#include "cass_drawing.h"
#include "cad_host.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;

TEST(CassXData, FeatureCodeIsTheSecondValueWhateverTheApplication)
{
    const struct {
        const char* name;
        XData data;
        std::optional<QString> code, landClass;
    } cases[] = {
        {"no data", {}, std::nullopt, std::nullopt},
        {"application alone", {xstr(1001, "South")}, std::nullopt, std::nullopt},
        {"CASS record", {xstr(1001, "South"), xstr(1000, "141101-1")}, "141101-1", std::nullopt},
        {"land polygon", {xstr(1001, "south"), xstr(1000, "211100"), xstr(1000, "011")}, "211100", "011"},
        {"other application first", {xstr(1001, "XYZ"), xstr(1000, "abc"), xstr(1001, "South"), xstr(1000, "141101")},
         "abc", "South"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cass::featureCode(c.data), c.code) << c.name;
        EXPECT_EQ(cass::landClassCode(c.data), c.landClass) << c.name;
    }
}

TEST(CassXData, WriteReplacesOnlyTheCassApplication)
{
    test::CadHost host;
    Entity* e = host.ms().AddLine({0, 0, 0}, {1, 1, 0});
    e->SetXData({xstr(1001, "XYZ"), xstr(1000, "abc"), xstr(1001, "South"), xstr(1000, "141101"), xstr(1000, "011")});
    cass::writeFeatureCode(*e, QStringLiteral("south"), QStringLiteral("202111"));
    const XData want{xstr(1001, "XYZ"), xstr(1000, "abc"), xstr(1001, "south"), xstr(1000, "202111")};
    EXPECT_EQ(e->GetXData(QString()), want);
    EXPECT_TRUE(host.doc().RegisteredApplications().contains(QStringLiteral("South")));

    Entity* bare = host.ms().AddLine({0, 0, 0}, {1, 1, 0});
    cass::writeFeatureCode(*bare, QStringLiteral("South"), QStringLiteral("141101-1"));
    EXPECT_EQ(test::codeOf(*bare), QStringLiteral("141101-1"));
    EXPECT_EQ(bare->GetXData(QString()).size(), 2u);
}

TEST(CassXData, NumericCodeNeedsTheWholeTextToBeOneNumber)
{
    const struct {
        std::optional<QString> text;
        std::optional<double> value;
    } cases[] = {
        {" 211100 ", 211100}, {"211100.0", 211100}, {"211100", 211100}, {"211100-1", std::nullopt},
        {"", std::nullopt},   {"abc", std::nullopt},  {std::nullopt, std::nullopt}, {"2111 00", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cass::numericCode(c.text), c.value) << c.text.value_or("<none>").toStdString();
}
