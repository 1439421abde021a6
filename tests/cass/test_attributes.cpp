// Copying, showing and repairing feature codes on the drawing.
#include "cass/attributes.h"
#include "cass/commands.h"
#include "cass_drawing.h"
#include "cad_host.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::codeOf;
using test::u;

namespace {

QStringList messageTexts(const test::CadHost& host)
{
    QStringList out;
    for (const auto& m : host.home.ui.messages())
        out << m.toObject().value(QStringLiteral("text")).toString();
    return out;
}

const QString kCompletionTranscript = u("[地形图属性完善]\r\n处理陡坎线无属性状态...\r\n处理加固坎无属性状态...\r\n"
                                       "处理栏杆无属性状态...\r\n处理篱笆无属性状态...\r\n处理铁丝网无属性状态...\r\n"
                                       "处理干沟无属性状态...\r\n处理等高线无属性状态...\r\nOK！已恢复以上地物所丢失的属性。");

// Every entity's extended data, in model-space order.
std::vector<XData> records(test::CadHost& host)
{
    std::vector<XData> out;
    for (Entity* e : host.ms().entities())
        out.push_back(e->GetXData(QString()));
    return out;
}

} // namespace

TEST(Attributes, CompletionRulesFollowTheirTable)
{
    const auto& passes = cass::completionPasses();
    ASSERT_EQ(passes.size(), 7u);
    EXPECT_EQ(passes[0].value, QStringLiteral("10421"));
    EXPECT_EQ(passes[6].group, 8);
    const struct {
        int color;
        const char* code;
    } cases[] = {{3, "201102"}, {2, "201101"}, {ColorByLayer, "201101"}, {ColorByBlock, "201101"}};
    for (const auto& c : cases)
        EXPECT_EQ(cass::contourCode(c.color), QString::fromLatin1(c.code)) << c.color;
}

TEST(Attributes, VegetationBoundaryCodesCompareAsNumbers)
{
    const struct {
        std::optional<QString> code;
        bool boundary;
    } cases[] = {
        {"213201", true},   {" 211100 ", true}, {"211100.0", true},    {"172001", true},
        {"141101", false},  {"213201-1", false}, {std::nullopt, false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cass::isVegetationBoundary(c.code), c.boundary) << c.code.value_or("<none>").toStdString();

    const struct {
        const char* answer;
        const char* target; // "" for no move
    } answers[] = {{"1", "ASSIST"}, {"", "ASSIST"}, {"2", "ZBTZ"}, {"3", ""}, {"1 ", ""}, {" 1", ""}};
    for (const auto& a : answers) {
        const auto move = cass::vegetationMove(QString::fromLatin1(a.answer));
        EXPECT_EQ(move ? move->target : QString(), QString::fromLatin1(a.target)) << '"' << a.answer << '"';
    }
}

TEST(Attributes, CompletionCodesLinetypesAndContours)
{
    test::CadHost host;
    Document& doc = host.doc();
    test::addLinetypes(doc, {"10421", "10422", "444", "445", "447", "8352"});
    test::addLayers(doc, {"dgx", "fence"});
    doc.Layers().Item(QStringLiteral("fence")).Linetype = QStringLiteral("445");
    Block& ms = host.ms();

    auto lt = [](Entity* e, const char* linetype) {
        e->setLinetype(QString::fromLatin1(linetype));
        return e;
    };
    auto on = [](Entity* e, const char* layer, int color) {
        e->setLayer(QString::fromLatin1(layer));
        e->setColor(color);
        return e;
    };
    Entity* railing = lt(test::lwPoly(ms, {0, 0, 10, 0}), "444");
    Entity* bank = test::coded(lt(test::lwPoly(ms, {0, 5, 10, 5}), "10421"), "204202");
    Entity* fenceByLayer = on(ms.AddLine({0, 10, 0}, {10, 10, 0}), "fence", ColorByLayer);
    Entity* wire = lt(test::lwPoly(ms, {0, 15, 10, 15}), "447");
    wire->SetXData({xstr(1001, "XYZ"), xstr(1000, "abc")});
    Entity* index = on(ms.AddLine({0, 20, 0}, {10, 20, 0}), "dgx", 3);
    Entity* ordinary = on(ms.AddLine({0, 25, 0}, {10, 25, 0}), "dgx", 2);
    Entity* byLayer = on(ms.AddLine({0, 30, 0}, {10, 30, 0}), "dgx", ColorByLayer);
    Entity* label = on(ms.AddText(QStringLiteral("45"), {0, 35, 0}, 1), "dgx", ColorByLayer);
    Entity* bankOnDgx = on(lt(test::lwPoly(ms, {0, 40, 10, 40}), "10421"), "dgx", 3);
    Entity* ditch = lt(ms.AddLine({0, 45, 0}, {10, 45, 0}), "8352");
    Entity* plain = ms.AddLine({0, 50, 0}, {10, 50, 0});
    Entity* reinforced = lt(ms.AddArc({0, 55, 0}, 2, 0, 1), "10422");

    cass::fdsfdsfdsfdsf_Click(host.home.context);

    const struct {
        const char* name;
        Entity* e;
        const char* code;
    } cases[] = {
        {"railing", railing, "144400"},       {"steep bank recoded", bank, "204201"},
        {"ByLayer fence", fenceByLayer, "<none>"}, {"index contour", index, "201102"},
        {"colour 2 contour", ordinary, "201101"},  {"ByLayer contour", byLayer, "201101"},
        {"text on dgx", label, "201101"},          {"bank on dgx, later pass", bankOnDgx, "201102"},
        {"dry ditch", ditch, "183501"},            {"plain line", plain, "<none>"},
        {"reinforced arc", reinforced, "204202"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codeOf(*c.e), QString::fromLatin1(c.code)) << c.name;
    EXPECT_EQ(railing->GetXData(QString()), cass::cassRecord(QStringLiteral("South"), QStringLiteral("144400")));
    const XData wireWant{xstr(1001, "XYZ"), xstr(1000, "abc"), xstr(1001, "South"), xstr(1000, "144700")};
    EXPECT_EQ(wire->GetXData(QString()), wireWant);

    const QString transcript = kCompletionTranscript;
    EXPECT_EQ(host.app.transcript(), transcript);
    EXPECT_NE(doc.SelectionSets().find(QStringLiteral("text")), nullptr);

    const std::vector<XData> once = records(host);
    cass::fdsfdsfdsfdsf_Click(host.home.context);
    EXPECT_EQ(records(host), once);
    EXPECT_EQ(host.app.transcript(), transcript + transcript);
}

TEST(Attributes, CompletionOnADrawingWithoutTheLinetypesChangesNothing)
{
    test::CadHost host;
    Entity* line = host.ms().AddLine({0, 0, 0}, {1, 1, 0});
    Entity* text = host.ms().AddText(QStringLiteral("a"), {0, 0, 0}, 1);
    cass::fdsfdsfdsfdsf_Click(host.home.context);
    EXPECT_TRUE(line->GetXData(QString()).empty());
    EXPECT_TRUE(text->GetXData(QString()).empty());
    EXPECT_EQ(host.app.transcript(), kCompletionTranscript);
}

TEST(Attributes, CopyGivesEveryTargetTheSourcesPropertiesAndData)
{
    test::CadHost host;
    Document& doc = host.doc();
    test::addLinetypes(doc, {"444"});
    test::addLayers(doc, {"dgx", "jmd"});
    Block& ms = host.ms();
    Entity* source = ms.AddLine({0, 0, 0}, {1, 0, 0});
    source->setLayer(QStringLiteral("dgx"));
    source->setLinetype(QStringLiteral("444"));
    const XData data{xstr(1001, "XYZ"), xstr(1000, "abc"), xstr(1001, "South"), xstr(1000, "144400")};
    source->SetXData(data);
    Entity* t1 = test::lwPoly(ms, {0, 5, 1, 5});
    Entity* t2 = test::coded(ms.AddCircle({9, 9, 0}, 1), "141101");
    for (Entity* t : {t1, t2}) {
        t->setColor(1);
        t->setLayer(QStringLiteral("jmd"));
    }
    Entity* bystander = ms.AddLine({0, 9, 0}, {1, 9, 0});

    host.answerEntity(source->Handle());
    host.answerEntity(t1->Handle());
    host.answerEntity(t2->Handle());
    host.answer(QStringLiteral("esc"));
    cass::addcassshuxing_Click(host.home.context);

    for (Entity* t : {t1, t2}) {
        const std::string name = t->ObjectName().toStdString();
        EXPECT_EQ(t->Color(), ColorByLayer) << name;
        EXPECT_EQ(t->Linetype(), QStringLiteral("444")) << name;
        EXPECT_EQ(t->Layer(), QStringLiteral("dgx")) << name;
        EXPECT_EQ(t->GetXData(QStringLiteral("XYZ")), XData(data.begin(), data.begin() + 2)) << name;
        EXPECT_EQ(t->GetXData(QStringLiteral("South")), XData(data.begin() + 2, data.end())) << name;
    }
    EXPECT_EQ(t1->GetXData(QString()), data);
    EXPECT_TRUE(bystander->GetXData(QString()).empty());
    EXPECT_TRUE(host.home.ui.messages().isEmpty());
    EXPECT_TRUE(host.home.answers.empty());
}

TEST(Attributes, CopyFromASourceWithoutDataStopsAtTheFirstWrite)
{
    test::CadHost host;
    test::addLayers(host.doc(), {"dgx"});
    Block& ms = host.ms();
    Entity* source = ms.AddLine({0, 0, 0}, {1, 0, 0});
    source->setLayer(QStringLiteral("dgx"));
    source->setColor(4);
    Entity* t1 = test::coded(ms.AddLine({0, 5, 0}, {1, 5, 0}), "141101");
    Entity* t2 = ms.AddLine({0, 9, 0}, {1, 9, 0});

    host.answerEntity(source->Handle());
    host.answerEntity(t1->Handle());
    host.answerEntity(t2->Handle());
    host.answer(QStringLiteral("esc"));
    cass::addcassshuxing_Click(host.home.context);

    EXPECT_EQ(t1->Color(), 4);
    EXPECT_EQ(t1->Layer(), QStringLiteral("dgx"));
    EXPECT_EQ(codeOf(*t1), QStringLiteral("141101")); // the empty write is refused
    EXPECT_EQ(t2->Color(), ColorByLayer);
    EXPECT_EQ(t2->Layer(), QStringLiteral("0"));
}

TEST(Attributes, CopyCancelledAtTheSourceChangesNothing)
{
    test::CadHost host;
    Entity* t = test::coded(host.ms().AddLine({0, 5, 0}, {1, 5, 0}), "141101");
    host.answer(QStringLiteral("esc"));
    cass::addcassshuxing_Click(host.home.context);
    EXPECT_EQ(codeOf(*t), QStringLiteral("141101"));
    EXPECT_EQ(t->Color(), ColorByLayer);
    EXPECT_TRUE(host.app.journal().isEmpty());
}

TEST(Attributes, ShowCodeOfEachSelectedEntity)
{
    test::CadHost host;
    Entity* coded = test::coded(host.ms().AddLine({0, 0, 0}, {1, 0, 0}), "141101-1");
    Entity* bare = host.ms().AddLine({0, 5, 0}, {1, 5, 0});
    host.answerSelect({coded->Handle(), bare->Handle()});
    cass::huaoqikuang_Click(host.home.context);
    EXPECT_EQ(messageTexts(host), (QStringList{u("CASS地物的属性为：141101-1"), u("CASS地物的属性为：")}));
    const QJsonObject box = test::lastMessage(host.home);
    EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("none"));
    EXPECT_EQ(box.value(QStringLiteral("buttons")).toString(), QStringLiteral("OK"));
    EXPECT_EQ(host.doc().SelectionSets().find(QStringLiteral("text")), nullptr);

    host.home.ui.clearRecord();
    host.answerSelect({});
    cass::huaoqikuang_Click(host.home.context);
    EXPECT_TRUE(messageTexts(host).isEmpty());
    EXPECT_EQ(host.doc().SelectionSets().find(QStringLiteral("text")), nullptr);
}

TEST(Attributes, DivisionLinesCodeThePolylinesOnlyAndCountThem)
{
    test::CadHost host;
    Block& ms = host.ms();
    Entity* light = test::lwPoly(ms, {0, 0, 5, 0, 5, 5});
    light->SetXData({xstr(1001, "XYZ"), xstr(1000, "abc")});
    Entity* old = test::coded(test::oldPoly(ms, {0, 10, 5, 10}), "141101");
    Entity* line = ms.AddLine({0, 20, 0}, {1, 20, 0});
    Entity* text = ms.AddText(QStringLiteral("a"), {0, 30, 0}, 1);
    host.answerSelect({light->Handle(), old->Handle(), line->Handle(), text->Handle()});
    cass::fengchengxiansx_Click(host.home.context);

    const XData lightWant{xstr(1001, "XYZ"), xstr(1000, "abc"), xstr(1001, "South"), xstr(1000, "141101-1")};
    EXPECT_EQ(light->GetXData(QString()), lightWant);
    EXPECT_EQ(old->GetXData(QString()), cass::cassRecord(QStringLiteral("South"), QStringLiteral("141101-1")));
    EXPECT_TRUE(line->GetXData(QString()).empty());
    EXPECT_TRUE(text->GetXData(QString()).empty());
    EXPECT_TRUE(host.app.transcript().endsWith(u("处理中...已完成，共处理2个")));

    host.app.clearRecords();
    host.answerSelect({});
    cass::fengchengxiansx_Click(host.home.context);
    EXPECT_TRUE(host.app.transcript().endsWith(u("处理中...已完成，共处理0个")));
}

TEST(Attributes, VegetationBoundariesMoveToAssistAndBack)
{
    test::CadHost host;
    Document& doc = host.doc();
    test::addLayers(doc, {"ZBTZ", "gxyz", "ASSIST"});
    Block& ms = host.ms();
    auto on = [](Entity* e, const char* layer) {
        e->setLayer(QString::fromLatin1(layer));
        return e;
    };
    Entity* plain = on(test::coded(test::lwPoly(ms, {0, 0, 1, 0, 1, 1}), "213201"), "ZBTZ");
    Entity* blanks = on(test::coded(test::lwPoly(ms, {0, 2, 1, 2}), " 211100 "), "gxyz");
    Entity* fraction = on(test::coded(test::lwPoly(ms, {0, 4, 1, 4}), "211100.0"), "ZBTZ");
    Entity* heavy = on(test::coded(test::oldPoly(ms, {0, 6, 1, 6}), "213201"), "ZBTZ");
    Entity* building = on(test::coded(test::lwPoly(ms, {0, 8, 1, 8}), "141101"), "ZBTZ");
    Entity* suffixed = on(test::coded(test::lwPoly(ms, {0, 10, 1, 10}), "213201-1"), "ZBTZ");
    Entity* bare = on(test::lwPoly(ms, {0, 12, 1, 12}), "ZBTZ");
    const std::vector<Entity*> all{plain, blanks, fraction, heavy, building, suffixed, bare};
    auto layers = [&] {
        QStringList out;
        for (Entity* e : all)
            out << e->Layer();
        return out;
    };
    const QString question = u("<1>.将植被边界线放入Assist图层<2>.还原:");
    const QString head = u("[植被填充层处理]\r\n") + question;

    const struct {
        const char* answer;
        QStringList layers;
    } runs[] = {
        {"3", {"ZBTZ", "gxyz", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ"}},
        {"1 ", {"ZBTZ", "gxyz", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ"}},
        {"1", {"ASSIST", "ASSIST", "ASSIST", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ"}},
        {"2", {"ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ"}},
        {"", {"ASSIST", "ASSIST", "ASSIST", "ZBTZ", "ZBTZ", "ZBTZ", "ZBTZ"}},
    };
    for (const auto& r : runs) {
        host.app.clearRecords();
        host.answer(QStringLiteral("string"), QString::fromLatin1(r.answer));
        cass::addassist_Click(host.home.context);
        EXPECT_EQ(layers(), r.layers) << '"' << r.answer << '"';
        EXPECT_TRUE(host.app.transcript().startsWith(head)) << r.answer;
        EXPECT_TRUE(host.app.transcript().endsWith(u("OK！finish。"))) << r.answer;
    }
}

TEST(Attributes, VegetationWithoutAssistLayerMovesNothing)
{
    test::CadHost host;
    test::addLayers(host.doc(), {"ZBTZ"});
    Entity* e = test::coded(test::lwPoly(host.ms(), {0, 0, 1, 0}), "213201");
    e->setLayer(QStringLiteral("ZBTZ"));
    host.answer(QStringLiteral("string"), QStringLiteral("1"));
    cass::addassist_Click(host.home.context);
    EXPECT_EQ(e->Layer(), QStringLiteral("ZBTZ"));
    EXPECT_TRUE(host.app.transcript().endsWith(u("OK！finish。")));
}

TEST(Attributes, MarkersRiseFromTheAxisToEachSelectedEntity)
{
    test::CadHost host;
    Block& ms = host.ms();
    test::addLayers(host.doc(), {"mark"});
    host.doc().setActiveLayer(QStringLiteral("mark"));
    Entity* outline = test::lwPoly(ms, {12.5, 340, 20, 340, 20, 350}, true);
    Entity* text = ms.AddText(QStringLiteral("abc"), {120, 80, 0}, 2);
    Entity* line = ms.AddLine({30, -20, 0}, {40, 10, 0});
    Entity* heavy = test::oldPoly(ms, {7, 8, 1, 1});
    Entity* circle = ms.AddCircle({50, 60, 0}, 5);
    Entity* boxless = ms.create(EntityKind::Region); // no outline: the host gives no box
    const int before = ms.Count();
    host.answerSelect({outline->Handle(), text->Handle(), boxless->Handle(), line->Handle(), heavy->Handle(),
                       circle->Handle()});
    cass::biaojiwushuxingdiwu_Click(host.home.context);

    const std::vector<double> tops[] = {{12.5, 340}, {120, 80}, {30, -20}, {7, 8}, {45, 55}};
    ASSERT_EQ(ms.Count(), before + 5);
    for (int i = 0; i < 5; ++i) {
        const Entity* m = ms.Item(before + i);
        EXPECT_EQ(m->kind(), EntityKind::Polyline2d) << i;
        EXPECT_EQ(m->Layer(), QStringLiteral("mark")) << i;
        const std::vector<double> want{tops[i][0], 0, 0, tops[i][0], tops[i][1], 0};
        EXPECT_EQ(m->Coordinates(), want) << i;
    }
    EXPECT_NE(host.doc().SelectionSets().find(QStringLiteral("text")), nullptr);

    host.answerSelect({});
    cass::biaojiwushuxingdiwu_Click(host.home.context);
    EXPECT_EQ(ms.Count(), before + 5);
    EXPECT_TRUE(host.home.ui.messages().isEmpty());
}

TEST(Attributes, StoppedHostShowsTheStandardMessageOnceAndChangesNothing)
{
    const struct {
        const char* name;
        void (*run)(Context&);
        bool message;
    } cases[] = {
        {"addcassshuxing", cass::addcassshuxing_Click, false},
        {"huaoqikuang", cass::huaoqikuang_Click, true},
        {"fdsfdsfdsfdsf", cass::fdsfdsfdsfdsf_Click, true},
        {"fengchengxiansx", cass::fengchengxiansx_Click, true},
        {"addassist", cass::addassist_Click, true},
        {"biaojiwushuxingdiwu", cass::biaojiwushuxingdiwu_Click, true},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        Entity* e = test::lwPoly(host.ms(), {0, 0, 1, 0});
        host.app.setRunning(false);
        c.run(host.home.context);
        const QStringList texts = messageTexts(host);
        EXPECT_EQ(texts, c.message ? QStringList{u("AutoCAD 没有运行或版本不符合！")} : QStringList{}) << c.name;
        EXPECT_TRUE(e->GetXData(QString()).empty()) << c.name;
        EXPECT_EQ(host.ms().Count(), 1) << c.name;
        EXPECT_TRUE(host.app.transcript().isEmpty()) << c.name;
    }
}
