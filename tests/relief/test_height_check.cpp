#include "cad_host.h"
#include "relief/height_check.h"
#include "sheet_office.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;

namespace {

struct CheckHost : test::CadHost {
    test::SheetOffice office{home.context};

    cad::Entity* check(const QString& text, double x, double y, int colour = cad::ColorByLayer)
    {
        cad::Entity* t = ms().AddText(text, {x, y, 0}, 1);
        doc().Layers().Add(QStringLiteral("gcd1"));
        t->setLayer(QStringLiteral("gcd1"));
        t->setColor(colour);
        return t;
    }
    cad::Entity* note(const QString& text, double x, double y) { return ms().AddText(text, {x, y, 0}, 1); }
    QStringList row(int r)
    {
        QStringList out;
        for (int c = 1; c <= 6; ++c)
            out << sheet::cellText(office.cell(r, c));
        return out;
    }
};

} // namespace

TEST(HeightCheck, RowOfTextsDifferenceAndPick)
{
    const struct {
        const char* check;
        const char* map;
        double x, y;
        const char* difference;
        const char* px;
        const char* py;
    } cases[] = {
        {"45.23", "45.18", 512.34, 3020.06, "5.0", "512.3", "3020.1"},
        {"45.18", "45.23", -1.25, 0.04, "5.0", "-1.3", "0.0"},
        {"100", "99.987", 0, 0, "1.3", "0.0", "0.0"},
    };
    for (const auto& c : cases) {
        const HeightCheckRow r = heightCheckRow(QString::fromLatin1(c.check), QString::fromLatin1(c.map), c.x, c.y);
        EXPECT_EQ(r.check, QString::fromLatin1(c.check)) << c.check;
        EXPECT_EQ(r.map, QString::fromLatin1(c.map)) << c.check;
        EXPECT_EQ(r.difference, QString::fromLatin1(c.difference)) << c.check;
        EXPECT_EQ(r.x, QString::fromLatin1(c.px)) << c.check;
        EXPECT_EQ(r.y, QString::fromLatin1(c.py)) << c.check;
    }
}

TEST(HeightCheck, RowsGoDownFromTheActiveCellsRow)
{
    const struct {
        const char* active;
    } cases[] = {{"B7"}, {"AA7"}, {"A7"}};
    for (const auto& c : cases) {
        CheckHost h;
        h.office.run({{"D7", QStringLiteral("kept")}}, c.active);
        cad::Entity* first = h.check(QStringLiteral("45.23"), 100, 200, 5);
        h.check(QStringLiteral("12.00"), 300, 400);
        cad::Entity* a = h.note(QStringLiteral("45.18"), 101, 201);
        cad::Entity* b = h.note(QStringLiteral("12.5"), 301, 401);
        h.answer(QStringLiteral("button"), QStringLiteral("OK"));
        h.answerEntity(a->Handle(), 101.24, 201.06);
        h.answerEntity(b->Handle(), 301, 401);
        laheightcheck_Click(h.home.context);
        EXPECT_EQ(h.row(7), (QStringList{"45.23", "45.18", "5.0", "kept", "101.2", "201.1"})) << c.active;
        EXPECT_EQ(h.row(8), (QStringList{"12.00", "12.5", "50.0", "", "301.0", "401.0"})) << c.active;
        EXPECT_TRUE(h.app.transcript().contains(QStringLiteral("差值:5.0"))) << c.active;
        EXPECT_TRUE(h.app.transcript().contains(QStringLiteral("差值:50.0"))) << c.active;
        EXPECT_EQ(first->Color(), 5) << c.active;
        EXPECT_EQ(h.office.cell(7, 3).typeId(), QMetaType::QString) << c.active << ": written as text";
    }
}

TEST(HeightCheck, FailedPicksWriteNothing)
{
    CheckHost h;
    h.office.run({}, "B7");
    cad::Entity* first = h.check(QStringLiteral("45.23"), 100, 200, 5);
    cad::Entity* second = h.check(QStringLiteral("30.00"), 300, 400, 1);
    h.check(QStringLiteral("31.00"), 500, 600);
    h.check(QStringLiteral("32.00"), 700, 800);
    cad::Entity* zero = h.note(QStringLiteral("0.00"), 0, 0);
    cad::Entity* line = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    cad::Entity* good = h.note(QStringLiteral("32.10"), 1, 1);
    h.answer(QStringLiteral("button"), QStringLiteral("OK"));
    h.answer(QStringLiteral("esc"));              // cancelled
    h.answerEntity(zero->Handle(), 5, 5);         // a note that reads 0
    h.answerEntity(line->Handle(), 5, 5);         // not a single-line text
    h.answerEntity(good->Handle(), 1, 2);
    laheightcheck_Click(h.home.context);
    EXPECT_EQ(h.row(7), (QStringList{"32.00", "32.10", "10.0", "", "1.0", "2.0"}));
    EXPECT_EQ(h.row(8), (QStringList{"", "", "", "", "", ""}));
    EXPECT_EQ(first->Color(), 5);
    EXPECT_EQ(second->Color(), 1);
    // The check texts were zoomed to, one after another.
    EXPECT_TRUE(h.app.events().contains(QStringLiteral("ZoomWindow 80,180 120,220")));
}

TEST(HeightCheck, CancelNoHostAndNoWorkbook)
{
    {
        CheckHost h;
        h.office.run({}, "B7");
        cad::Entity* t = h.check(QStringLiteral("45.23"), 100, 200, 5);
        h.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
        laheightcheck_Click(h.home.context);
        const QJsonObject box = test::lastMessage(h.home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), QStringLiteral("检测的高程点图层应为Gcd1，是否确定？"));
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), QStringLiteral("提示"));
        EXPECT_EQ(box.value(QStringLiteral("buttons")).toString(), QStringLiteral("OKCancel"));
        EXPECT_EQ(t->Color(), 5);
        EXPECT_EQ(h.app.activations(), 0);
    }
    {
        // Started without a workbook: picks and differences still happen.
        CheckHost h;
        h.check(QStringLiteral("45.23"), 100, 200);
        cad::Entity* a = h.note(QStringLiteral("45.18"), 0, 0);
        h.answer(QStringLiteral("button"), QStringLiteral("OK"));
        h.answerEntity(a->Handle(), 1, 2);
        laheightcheck_Click(h.home.context);
        ASSERT_NE(h.office.host(), nullptr);
        EXPECT_FALSE(h.office.host()->hasWorkbook());
        EXPECT_TRUE(h.app.transcript().contains(QStringLiteral("差值:5.0")));
    }
    {
        CheckHost h;
        h.office.office.sheets.available = false;
        h.check(QStringLiteral("45.23"), 100, 200);
        h.answer(QStringLiteral("button"), QStringLiteral("OK"));
        laheightcheck_Click(h.home.context);
        EXPECT_EQ(test::lastMessage(h.home).value(QStringLiteral("text")).toString(), QStringLiteral("err "));
        EXPECT_TRUE(h.doc().SelectionSets().find(QStringLiteral("text"))) << "the selection comes first";
    }
}
