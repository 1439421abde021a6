// Area notes moved to the layer AREA, and the land-class area table handed
// to CASS for the polygons of the sample's colour.
#include "cad_host.h"
#include "landuse/area_notes.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;
using test::u;

namespace {

cad::XData south(std::initializer_list<const char*> items)
{
    cad::XData d{cad::xstr(1001, QStringLiteral("SOUTH"))};
    for (const char* i : items)
        d.push_back(cad::xstr(1000, QString::fromLatin1(i)));
    return d;
}

// The strings of the texts in model space, in drawing order.
QStringList textsOf(cad::Block& ms)
{
    QStringList out;
    for (cad::Entity* e : ms.entities())
        if (e->ObjectName() == QLatin1String("AcDbText"))
            out << e->TextString();
    return out;
}

} // namespace

TEST(AreaNotes, OnlyTheExactFeatureCodeMarksANote)
{
    const struct {
        cad::XData data;
        bool note;
    } cases[] = {
        {south({"311004"}), true},
        {south({"311004", "x"}), true},
        {south({"311004 "}), false},
        {south({" 311004"}), false},
        {south({"311005"}), false},
        {south({}), false},
        {{}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAreaNote(c.data), c.note) << (c.data.size() > 1 ? c.data[1].value.toString().toStdString() : "-");
}

TEST(AreaNotes, SelectedNotesMoveToTheLayerArea)
{
    test::CadHost h;
    h.doc().Layers().Add(QStringLiteral("AREA"));
    cad::Entity* note = h.ms().AddText(QStringLiteral("12.5"), {0, 0, 0}, 2);
    note->SetXData(south({"311004"}));
    cad::Entity* blank = h.ms().AddText(QStringLiteral("13.5"), {0, 5, 0}, 2);
    blank->SetXData(south({"311004 "}));
    cad::Entity* bare = h.ms().AddText(QStringLiteral("14.5"), {0, 10, 0}, 2);
    cad::Entity* other = h.ms().AddText(QStringLiteral("15.5"), {0, 15, 0}, 2);
    other->SetXData(south({"141101"}));
    cad::Entity* notSelected = h.ms().AddText(QStringLiteral("16.5"), {0, 20, 0}, 2);
    notSelected->SetXData(south({"311004"}));
    h.answerSelect({note->Handle(), blank->Handle(), bare->Handle(), other->Handle()});
    areatoarea_Click(h.context);
    EXPECT_EQ(note->Layer(), QStringLiteral("AREA"));
    for (cad::Entity* e : {blank, bare, other, notSelected})
        EXPECT_EQ(e->Layer(), QStringLiteral("0")) << e->TextString().toStdString();
    EXPECT_TRUE(test::messageTexts(h.home).isEmpty());
}

TEST(AreaNotes, MissingLayerAndEmptySelection)
{
    test::CadHost h;
    cad::Entity* note = h.ms().AddText(QStringLiteral("12.5"), {0, 0, 0}, 2);
    note->SetXData(south({"311004"}));
    h.answerSelect({note->Handle()});
    areatoarea_Click(h.context);
    EXPECT_EQ(note->Layer(), QStringLiteral("0")) << "the layer is not created";
    EXPECT_EQ(h.doc().Layers().find(QStringLiteral("AREA")), nullptr);

    h.app.clearRecords();
    h.answer(QStringLiteral("esc"));
    areatoarea_Click(h.context);
    EXPECT_TRUE(h.app.transcript().endsWith(u("没有选择的文字")));
    EXPECT_TRUE(test::messageTexts(h.home).isEmpty());

    h.app.setRunning(false);
    areatoarea_Click(h.context);
    EXPECT_EQ(test::messageTexts(h.home), QStringList{u("AutoCAD 没有运行或版本不符合！")});
}

TEST(AreaNotes, TableScriptNamesThePoint)
{
    EXPECT_EQ(landClassTableScript({2551200.125, 534500, 0}), QStringLiteral("_statdlj\r2551200.125,534500,0\r1\rp\r\r"));
    EXPECT_EQ(landClassTableScript({-1.5, 2, 3}), QStringLiteral("_statdlj\r-1.5,2,3\r1\rp\r\r"));
}

TEST(AreaNotes, TableOfThePolygonsOfTheSampleColour)
{
    const struct {
        const char* name;
        int sampleColour;
        QStringList texts; // of the table
    } cases[] = {
        {"red", 1, {"011", "200.00", "012", "4.00"}},
        {"by layer", cad::ColorByLayer, {"021", "9.00"}},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        auto polygon = [&](std::vector<double> xy, int colour, const char* code) {
            cad::Entity* e = h.ms().AddLightWeightPolyline(xy);
            e->setClosed(true);
            e->setColor(colour);
            e->SetXData(south({"310000", code}));
            return e;
        };
        std::vector<cad::Entity*> all{
            polygon({0, 0, 10, 0, 10, 10, 0, 10}, 1, "011"),
            polygon({20, 0, 40, 0, 40, 5, 20, 5}, 1, "011"),
            polygon({50, 0, 52, 0, 52, 2, 50, 2}, 1, "012"),
            polygon({60, 0, 63, 0, 63, 3, 60, 3}, cad::ColorByLayer, "021"),
            polygon({70, 0, 71, 0, 71, 1, 70, 1}, 3, "013"),
        };
        cad::Entity* heavy = h.ms().AddPolyline({80, 0, 0, 90, 0, 0, 90, 10, 0});
        heavy->setClosed(true);
        heavy->setColor(1);
        heavy->SetXData(south({"310000", "099"}));
        all.push_back(heavy);
        h.doc().SetVariable(QStringLiteral("osmode"), 33);
        cad::Entity* sample = c.sampleColour == 1 ? all[0] : all[3];
        h.answerEntity(sample->Handle());
        QStringList handles;
        for (cad::Entity* e : all)
            handles << e->Handle();
        h.answerSelect(handles);
        h.answerPoint(100, 200);
        drawdljarea_Click(h.context);
        EXPECT_EQ(h.app.journal(), QStringLiteral("_statdlj\r100,200,0\r1\rp\r\r")) << c.name;
        EXPECT_EQ(textsOf(h.ms()), c.texts) << c.name;
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("osmode")).toInt(), 0) << c.name;
        EXPECT_TRUE(h.app.transcript().contains(u("选择实体颜色后选择实体:"))) << c.name;
        EXPECT_TRUE(h.app.transcript().contains(u("绘制位置:"))) << c.name;
        EXPECT_TRUE(test::messageTexts(h.home).isEmpty()) << c.name;
    }
}

TEST(AreaNotes, CancelledSampleOrPositionSendsNothing)
{
    for (bool atPosition : {false, true}) {
        test::CadHost h;
        cad::Entity* e = h.ms().AddLightWeightPolyline({0, 0, 10, 0, 10, 10});
        e->setClosed(true);
        h.doc().SetVariable(QStringLiteral("osmode"), 33);
        if (atPosition) {
            h.answerEntity(e->Handle());
            h.answerSelect({e->Handle()});
        }
        h.answer(QStringLiteral("esc"));
        drawdljarea_Click(h.context);
        EXPECT_TRUE(h.app.journal().isEmpty()) << atPosition;
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("osmode")).toInt(), atPosition ? 0 : 33) << atPosition;
        EXPECT_TRUE(h.home.answers.empty()) << atPosition;
    }
    test::CadHost stopped;
    stopped.app.setRunning(false);
    drawdljarea_Click(stopped.context);
    EXPECT_TRUE(test::messageTexts(stopped.home).isEmpty());
}
