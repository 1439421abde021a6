#include "cad_host.h"
#include "cass/cass_xdata.h"
#include "relief/contours.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;

namespace {

struct DgxHost : test::CadHost {
    DgxHost() { doc().Layers().Add(QStringLiteral("dgx")); }
    cad::Entity* contour(double height, double y)
    {
        cad::Entity* c = ms().AddLightWeightPolyline({0, y, 100, y});
        c->setElevation(height);
        c->setLayer(QStringLiteral("dgx"));
        return c;
    }
    cad::Entity* note(double y)
    {
        cad::Entity* t = ms().AddText(QStringLiteral("45"), {0, y, 0}, 1);
        t->setLayer(QStringLiteral("dgx"));
        return t;
    }
    std::vector<double> heights()
    {
        std::vector<double> out;
        for (cad::Entity* e : ms().entities())
            if (e->ObjectName() == QLatin1String("AcDbPolyline"))
                out.push_back(e->Elevation());
        return out;
    }
};

cad::XData south(const char* code)
{
    return cass::cassRecord(cass::kSouth, QString::fromLatin1(code));
}

} // namespace

TEST(Contours, IndexContourIsAnExactMultipleOfFiveIntervals)
{
    const struct {
        double elevation, interval;
        bool index;
    } cases[] = {
        {15, 1, true},   {14, 1, false},  {0, 1, true},    {-5, 1, true},  {-4, 1, false},
        {14.999999999999998, 1, false},   {7.5, 0.5, true}, {10, 0.5, true}, {12.5, 0.5, true},
        {11, 0.5, false}, {25, 2, false}, {30, 2, true},    {15.5, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isIndexContour(c.elevation, c.interval), c.index) << c.elevation << " at " << c.interval;
}

TEST(Contours, ThinningReadsTheHeightToFifteenDigits)
{
    const struct {
        double elevation;
        int option;
        bool out;
    } cases[] = {
        {10.5, 1, true},  {-1.5, 1, true},  {10, 1, false}, {10.25, 1, false}, {11, 1, false},
        {10.499999999999998, 1, true},      {11, 2, true},  {10.5, 2, true},   {-3, 2, true},
        {10, 2, false},   {12, 2, false},   {-4, 2, false}, {11.999999999999998, 2, false},
        {11, 3, false},   {10.5, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(thinnedOut(c.elevation, c.option), c.out) << c.elevation << " option " << c.option;
}

TEST(Contours, HeightChangeThenIndexMarking)
{
    const struct {
        const char* name;
        double userr1, c;
        double width14, width15; // of the contours first at 14 and 15
        int colour14, colour15;
        const char* code14;
        const char* code15;
    } cases[] = {
        {"raised by 1 at 1:1000", 1000, 1, 0.3, 0.15, 3, 2, "201102", "201101"},
        {"unchanged at 1:500", 500, 0, 0, 0.15, cad::ColorByLayer, 3, nullptr, "201102"},
        {"userr1 0 as 1:500", 0, 1, 0.15, 0.15, 3, 2, "201102", "201101"},
    };
    for (const auto& c : cases) {
        DgxHost h;
        h.doc().SetVariable(QStringLiteral("userr1"), c.userr1);
        cad::Entity* at14 = h.contour(14, 0);
        cad::Entity* at15 = h.contour(15, 10);
        cad::Entity* text = h.note(20);
        h.answer(QStringLiteral("real"), QString::number(c.c));
        h.answer(QStringLiteral("real"), QStringLiteral("1"));
        alterdgxlaheight_Click(h.context);
        EXPECT_EQ(at14->Elevation(), 14 + c.c) << c.name;
        EXPECT_EQ(at15->Elevation(), 15 + c.c) << c.name;
        EXPECT_EQ(at14->ConstantWidth(), c.width14) << c.name;
        EXPECT_EQ(at15->ConstantWidth(), c.width15) << c.name;
        EXPECT_EQ(at14->Color(), c.colour14) << c.name;
        EXPECT_EQ(at15->Color(), c.colour15) << c.name;
        EXPECT_EQ(at14->GetXData(QString()), c.code14 ? south(c.code14) : cad::XData{}) << c.name;
        EXPECT_EQ(at15->GetXData(QString()), south(c.code15)) << c.name;
        EXPECT_EQ(text->InsertionPoint(), (cad::Point{0, 20, 0})) << c.name;
        EXPECT_EQ(text->GetXData(QString()), c.c != 0 ? south("201101") : cad::XData{}) << c.name;
        EXPECT_EQ(text->Color(), c.c != 0 ? 2 : cad::ColorByLayer) << c.name;
        EXPECT_TRUE(h.app.transcript().endsWith(QStringLiteral("操作已完成！"))) << c.name;
    }
}

TEST(Contours, HeightChangeStopsAtACancelledQuestion)
{
    {
        DgxHost h;
        cad::Entity* c = h.contour(14, 0);
        h.answer(QStringLiteral("esc"));
        alterdgxlaheight_Click(h.context);
        EXPECT_EQ(c->Elevation(), 14);
        EXPECT_TRUE(c->GetXData(QString()).empty());
        EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("操作已完成")));
    }
    {
        // The raise stays; no index marking, no message.
        DgxHost h;
        cad::Entity* c = h.contour(14, 0);
        h.answer(QStringLiteral("real"), QStringLiteral("1"));
        h.answer(QStringLiteral("esc"));
        alterdgxlaheight_Click(h.context);
        EXPECT_EQ(c->Elevation(), 15);
        EXPECT_EQ(c->Color(), 2);
        EXPECT_EQ(c->GetXData(QString()), south("201101"));
        EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("操作已完成")));
    }
    {
        // Interval 0: no index marking, and the command finishes.
        DgxHost h;
        cad::Entity* c = h.contour(15, 0);
        h.answer(QStringLiteral("real"), QStringLiteral("0"));
        h.answer(QStringLiteral("real"), QStringLiteral("0"));
        alterdgxlaheight_Click(h.context);
        EXPECT_TRUE(c->GetXData(QString()).empty());
        EXPECT_TRUE(h.app.transcript().endsWith(QStringLiteral("操作已完成！")));
    }
}

TEST(Contours, ThinningDeletesAndCounts)
{
    const struct {
        const char* kind;
        const char* answer;
        std::vector<double> heights, kept;
        const char* message;
        int regens;
    } cases[] = {
        {"integer", "1", {10.5, -1.5, 10, 10.25, 11, 10.499999999999998}, {10, 10.25, 11}, "处理完成,共: 3个。", 0},
        {"integer", "2", {11, 10.5, -3, 10, 12, -4}, {10, 12, -4}, "OK！finish: 3", 1},
        {"integer", "3", {11, 10.5}, {11, 10.5}, nullptr, 0},
        {"esc", "", {11, 10.5}, {11, 10.5}, nullptr, 0},
    };
    for (const auto& c : cases) {
        DgxHost h;
        double y = 0;
        for (double height : c.heights)
            h.contour(height, y += 10);
        cad::Entity* text = h.note(-10);
        h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.answer));
        const QString before = h.app.transcript();
        deletedgx_Click(h.context);
        EXPECT_EQ(h.heights(), c.kept) << c.answer;
        EXPECT_FALSE(text->isErased()) << c.answer;
        EXPECT_EQ(h.doc().regenCount(), c.regens) << c.answer;
        const QString said = h.app.transcript().mid(before.size());
        if (c.message)
            EXPECT_TRUE(said.endsWith(QString::fromUtf8(c.message))) << said.toStdString();
        else
            EXPECT_FALSE(said.contains(QStringLiteral("完成")) || said.contains(QStringLiteral("finish")))
                << said.toStdString();
    }
}
