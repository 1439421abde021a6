#include "cad_host.h"
#include "landuse/area_commands.h"
#include "sheet_office.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;

namespace {

struct TableHost : test::CadHost {
    test::SheetOffice office{home.context};

    // One table row of height h at (x, y): its left border line, the code
    // and the area text centred in their cells.
    cad::Entity* row(double x, double y, double h, const QString& code, const QString& area)
    {
        cad::Entity* border = ms().AddLine({x, y, 0}, {x, y + h, 0});
        const double w1 = h * 3.333333;
        const double w2 = h * 5.833333;
        auto text = [&](const QString& s, double cx) {
            cad::Entity* t = ms().AddText(s, {cx, y + h / 2, 0}, 0.4 * h);
            t->setAlignment(cad::AlignMiddleCenter);
            t->setTextAlignmentPoint({cx, y + h / 2, 0});
        };
        if (!code.isNull())
            text(code, x + w1 / 2);
        if (!area.isNull())
            text(area, x + w1 + w2 / 2);
        return border;
    }
    QStringList messages() const { return test::messageTexts(home); }
};

} // namespace

TEST(AreaTable, ColumnLayoutFromPickedRowBorders)
{
    TableHost t;
    t.office.run({{"E12", QStringLiteral("011")}, {"E13", QStringLiteral("012")}, {"G5", QStringLiteral("old")},
                  {"G40", 9.0}, {"G41", QStringLiteral("below")}});
    cad::Entity* first = t.row(10, 100, 6, QStringLiteral("011"), QStringLiteral("356.8"));
    t.answerSelect({first->Handle()});
    TableToColumnLayout(t.home.context, ExcelColumnLayout({}));
    EXPECT_EQ(t.office.cell(12, 7), QVariant(QStringLiteral("356.8")));
    for (int r = 5; r <= 40; ++r) {
        if (r != 12) {
            EXPECT_FALSE(t.office.cell(r, 7).isValid()) << "row " << r;
        }
    }
    EXPECT_EQ(t.office.cell(41, 7), QVariant(QStringLiteral("below")));
    EXPECT_TRUE(t.messages().isEmpty());
    EXPECT_TRUE(t.doc().SelectionSets().find(QStringLiteral("text1")));
    EXPECT_TRUE(t.doc().SelectionSets().find(QStringLiteral("text2")));
}

TEST(AreaTable, CancelledPickLeavesTheSheet)
{
    TableHost t;
    t.office.run({{"E12", QStringLiteral("011")}, {"G12", QStringLiteral("kept")}});
    t.row(10, 100, 6, QStringLiteral("011"), QStringLiteral("356.8"));
    t.answer(QStringLiteral("esc"));
    TableToColumnLayout(t.home.context, ExcelColumnLayout({}));
    EXPECT_EQ(t.office.cell(12, 7), QVariant(QStringLiteral("kept")));
    EXPECT_TRUE(t.messages().isEmpty());
}

TEST(AreaTable, RowsWithoutTextsAndTwoTextsInOneCell)
{
    TableHost t;
    t.office.run({{"E5", QStringLiteral("011")}, {"E6", QStringLiteral("012")}, {"E7", QStringLiteral("013")}});
    cad::Entity* noCode = t.row(0, 0, 6, QString(), QStringLiteral("1.5"));
    cad::Entity* twoCodes = t.row(0, 20, 6, QStringLiteral("012"), QStringLiteral("2.5"));
    t.ms().AddText(QStringLiteral("013"), {2, 21, 0}, 1); // delivered after 012: the code
    cad::Entity* missing = t.row(0, 40, 6, QStringLiteral("099"), QStringLiteral("3.5"));
    t.answerSelect({noCode->Handle(), twoCodes->Handle(), missing->Handle()});
    TableToColumnLayout(t.home.context, ExcelColumnLayout({}));
    // The empty code fills the rows whose code cell is empty.
    EXPECT_EQ(t.office.cell(8, 7), QVariant(QStringLiteral("1.5")));
    EXPECT_EQ(t.office.cell(40, 7), QVariant(QStringLiteral("1.5")));
    EXPECT_FALSE(t.office.cell(5, 7).isValid());
    EXPECT_FALSE(t.office.cell(6, 7).isValid());
    EXPECT_EQ(t.office.cell(7, 7), QVariant(QStringLiteral("2.5")));
    EXPECT_EQ(t.messages(), QStringList{QStringLiteral("地类：099在Excel中没有！")});
}

TEST(AreaTable, TableDrawnByTheMappingCommandCarriesEveryArea)
{
    TableHost t;
    t.office.run({{"E5", QStringLiteral("011")}, {"E6", QStringLiteral("012")}});
    auto parcel = [&](std::vector<double> xy, const QString& code) {
        cad::Entity* e = t.ms().AddLightWeightPolyline(xy);
        e->setClosed(true);
        e->SetXData({cad::xstr(1001, QStringLiteral("SOUTH")), cad::xstr(1000, QStringLiteral("310000")),
                     cad::xstr(1000, code)});
        return e;
    };
    parcel({0, 0, 10, 0, 10, 10, 0, 10}, QStringLiteral("011"));
    parcel({20, 0, 40, 0, 40, 5, 20, 5}, QStringLiteral("012"));
    t.doc().SendCommand(QStringLiteral("_statdlj\r100,200,0\r1\rALL\r\r"));
    QStringList borders;
    for (cad::Entity* e : t.ms().entities()) {
        cad::Point lo;
        cad::Point hi;
        if (e->ObjectName() != QLatin1String("AcDbLine"))
            continue;
        e->GetBoundingBox(lo, hi);
        if (lo.x == 100 && hi.x == 100)
            borders << e->Handle();
    }
    ASSERT_EQ(borders.size(), 2);
    t.answerSelect(borders);
    TableToColumnLayout(t.home.context, ExcelColumnLayout({}));
    EXPECT_EQ(t.office.cell(5, 7), QVariant(QStringLiteral("100.00")));
    EXPECT_EQ(t.office.cell(6, 7), QVariant(QStringLiteral("100.00")));
    EXPECT_TRUE(t.messages().isEmpty());
}

TEST(AreaTable, RowLayoutPairsPickedTextsAsAreaThenCode)
{
    const struct {
        const char* name;
        QStringList texts; // in delivery order
        QVariant underX;
        QVariant underY;
        QStringList messages;
    } cases[] = {
        {"two pairs", {"A", "X", "B", "Y"}, QStringLiteral("A"), QStringLiteral("B"), {}},
        {"odd count", {"A", "X", "B"}, QStringLiteral("A"), QVariant(), {}},
        {"swapped", {"X", "A"}, QVariant(), QVariant(), {"地类：A在Excel中没有！"}},
    };
    for (const auto& c : cases) {
        TableHost t;
        t.office.run({{"C5", QStringLiteral("X")}, {"D5", QStringLiteral("Y")}, {"D15", QStringLiteral("old")}});
        QStringList handles;
        double x = 0;
        for (const QString& s : c.texts)
            handles << t.ms().AddText(s, {x += 10, 0, 0}, 1)->Handle();
        t.answerSelect(handles);
        TextsToRowLayout(t.home.context, ExcelRowLayout({}));
        EXPECT_EQ(t.office.cell(15, 3), c.underX) << c.name;
        EXPECT_EQ(t.office.cell(15, 4), c.underY) << c.name;
        EXPECT_EQ(t.messages(), c.messages) << c.name;
    }

    // Nothing picked: a note on the command line, the sheet untouched.
    TableHost t;
    t.office.run({{"C5", QStringLiteral("X")}, {"C15", QStringLiteral("old")}});
    t.answer(QStringLiteral("esc"));
    TextsToRowLayout(t.home.context, ExcelRowLayout({}));
    EXPECT_TRUE(t.app.transcript().contains(QStringLiteral("没有选择的文字")));
    EXPECT_EQ(t.office.cell(15, 3), QVariant(QStringLiteral("old")));
}

TEST(AreaTable, NoDrawingHostOrNoSpreadsheet)
{
    {
        TableHost t;
        t.app.setRunning(false);
        t.office.run({{"G5", QStringLiteral("kept")}});
        TableToColumnLayout(t.home.context, ExcelColumnLayout({}));
        EXPECT_EQ(test::lastMessage(t.home).value(QStringLiteral("text")).toString(),
                  QStringLiteral("AutoCAD 没有运行或版本不符合！"));
        EXPECT_EQ(t.office.cell(5, 7), QVariant(QStringLiteral("kept")));
    }
    {
        TableHost t;
        t.office.office.sheets.available = false;
        TextsToRowLayout(t.home.context, ExcelRowLayout({}));
        EXPECT_EQ(t.messages(), QStringList{QStringLiteral("err ")});
    }
}
