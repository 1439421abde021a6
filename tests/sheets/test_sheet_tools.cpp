// Sheet frames, markers and labels; colours and purge over a folder; print
// frames; the drawing turned for plotting.
#include "sheets/batch_save.h"
#include "sheets/plotting.h"
#include "sheets/sheet_marks.h"
#include "sheet_drawings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kelvor;
using namespace kelvor::sheets;
using test::u;

namespace {

void expectCoords(const std::vector<double>& got, const std::vector<double>& want, const std::string& what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9) << what << " at " << i;
}

QJsonObject onlyMessage(const test::TempHome& home)
{
    const QJsonArray events = home.ui.events();
    EXPECT_EQ(events.size(), 1) << "only the message";
    return events.isEmpty() ? QJsonObject() : events[0].toObject();
}

} // namespace

TEST(SheetMarks, FramesAboutPickedPoints)
{
    const struct {
        const char* point;
        std::vector<double> xyz;
    } cases[] = {
        {"534620.3,2551399.9",
         {534500, 2551200, 0, 534750, 2551200, 0, 534750, 2551400, 0, 534500, 2551400, 0}},
        {"500,100", {500, 0, 0, 750, 0, 0, 750, 200, 0, 500, 200, 0}},
        {"-0.1,100", {-250, 0, 0, 0, 0, 0, 0, 200, 0, -250, 200, 0}},
    };
    test::CadHost host;
    for (const auto& c : cases)
        host.answerTypedPoint(u(c.point));
    host.answer(QStringLiteral("esc"));
    add250200tk_Click(host.home.context);
    const auto frames = host.ms().entities();
    ASSERT_EQ(frames.size(), std::size(cases));
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i]->kind(), cad::EntityKind::Polyline2d) << cases[i].point;
        EXPECT_TRUE(frames[i]->Closed()) << cases[i].point;
        expectCoords(frames[i]->Coordinates(), cases[i].xyz, cases[i].point);
    }
    EXPECT_EQ(host.app.transcript().count(u("\r\n图幅内点:")), 4);
    EXPECT_TRUE(host.home.ui.messages().isEmpty());
}

TEST(SheetMarks, MarkersOnlyForSheetFiles)
{
    test::CadHost host;
    QDir().mkpath(host.home.path(QStringLiteral("d:\\s")));
    for (const char* f : {"d:\\s\\2551.20-534.50.dxf", "d:\\s\\notes.dxf"})
        test::writeBytes(host.home.path(u(f)), "not opened");
    host.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
    biaohuitufushu_Click(host.home.context);
    const auto all = host.ms().entities();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->Center(), (cad::Point{534625, 2551300, 0}));
    EXPECT_EQ(all[0]->Radius(), 30);
    EXPECT_EQ(all[0]->Color(), 6);
    EXPECT_TRUE(host.app.transcript().contains(QStringLiteral("d:\\s\\notes.dxf"))) << "the other is noted";
    EXPECT_EQ(host.app.DocumentsCount(), 1) << "no drawing opened";
}

TEST(SheetMarks, LabelsInsideFrames)
{
    test::CadHost host;
    cad::Entity* old = host.ms().AddPolyline({534500, 2551200, 0, 534750, 2551200, 0, 534750, 2551400, 0});
    cad::Entity* lw = host.ms().AddLightWeightPolyline({534512, 2551207, 534600, 2551300});
    host.answerSelect({old->Handle(), lw->Handle()});
    zhutufuhao_Click(host.home.context);
    const struct {
        double x, y;
        const char* text;
    } cases[] = {{534525, 2551290, "2551.20-534.50"}, {534537, 2551297, "2551.21-534.51"}};
    for (const auto& c : cases) {
        cad::Entity* t = test::textAt(host.doc(), c.x, c.y);
        ASSERT_NE(t, nullptr) << c.text;
        EXPECT_EQ(t->TextString(), u(c.text));
        EXPECT_EQ(t->Height(), 20) << c.text;
        EXPECT_EQ(t->ScaleFactor(), 0.8) << c.text;
        EXPECT_EQ(t->Color(), 4) << c.text;
    }
    EXPECT_TRUE(host.app.transcript().endsWith(u("程序运行结束")));

    test::CadHost stopped;
    stopped.app.setRunning(false);
    zhutufuhao_Click(stopped.home.context);
    EXPECT_EQ(onlyMessage(stopped.home).value("text").toString(), u("AutoCAD 没有运行或版本不符合！"));
}

TEST(BatchSave, ColoursByLayerAndLayerZeroCurrent)
{
    test::CadHost host;
    {
        cad::Document doc;
        doc.Layers().Add(QStringLiteral("x"));
        doc.setActiveLayer(QStringLiteral("x"));
        doc.ModelSpace().AddLine({0, 0, 0}, {1, 1, 0})->setColor(1);
        doc.ModelSpace().AddCircle({0, 0, 0}, 1)->setColor(5);
        QDir().mkpath(host.home.path(QStringLiteral("d:\\s")));
        cad::writeDxf(doc, host.home.path(QStringLiteral("d:\\s\\A.DXF")));
    }
    host.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
    tongyituyanse_Click(host.home.context);
    auto doc = test::readDrawing(host.home, QStringLiteral("d:\\s\\A.DXF"));
    for (cad::Entity* e : doc->ModelSpace().entities())
        EXPECT_EQ(e->Color(), cad::ColorByLayer);
    EXPECT_EQ(doc->ActiveLayer(), QStringLiteral("0"));
    EXPECT_EQ(host.app.DocumentsCount(), 1);
    EXPECT_TRUE(host.home.ui.messages().isEmpty());
}

TEST(BatchSave, PurgeAndTheClosingMessage)
{
    test::CadHost host;
    {
        cad::Document doc;
        doc.Layers().Add(QStringLiteral("unused"));
        doc.Linetypes().Add(QStringLiteral("DASHED"));
        doc.BlocksAdd({0, 0, 0}, QStringLiteral("spare")).AddLine({0, 0, 0}, {1, 0, 0});
        doc.ModelSpace().AddLine({0, 0, 0}, {10, 10, 0});
        QDir().mkpath(host.home.path(QStringLiteral("d:\\s")));
        cad::writeDxf(doc, host.home.path(QStringLiteral("d:\\s\\a.dxf")));
    }
    host.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
    zoomalldwg_Click(host.home.context);
    auto doc = test::readDrawing(host.home, QStringLiteral("d:\\s\\a.dxf"));
    EXPECT_EQ(doc->findBlock(QStringLiteral("spare")), nullptr);
    EXPECT_FALSE(doc->Layers().contains(QStringLiteral("unused")));
    EXPECT_FALSE(doc->Linetypes().contains(QStringLiteral("DASHED")));
    EXPECT_EQ(doc->ModelSpace().Count(), 1);
    const QJsonObject m = test::lastMessage(host.home);
    EXPECT_EQ(m.value("text").toString(), u("已完成对图形文件的全图显示保存！"));
    EXPECT_EQ(m.value("title").toString(), u("提示"));
    EXPECT_EQ(m.value("icon").toString(), u("exclamation"));

    for (auto run : {tongyituyanse_Click, zoomalldwg_Click}) {
        test::CadHost stopped;
        stopped.app.setRunning(false);
        run(stopped.home.context);
        EXPECT_EQ(onlyMessage(stopped.home).value("text").toString(), u("AutoCAD 没有运行或版本不符合！"));
    }
}

TEST(Plotting, FrameSizesAndTiles)
{
    const struct {
        const char* what;
        double paper;
        bool reversed;
        double denominator;
        std::optional<double> w, h;
        std::optional<std::pair<double, double>> size;
    } sizes[] = {
        {"A3 at 1:1000", 1, false, 1000, {}, {}, std::pair{400.0, 285.0}},
        {"A3 reversed at 1:500", 1, true, 500, {}, {}, std::pair{142.5, 200.0}},
        {"A4 at 1:2000", 2, false, 2000, {}, {}, std::pair{558.0, 402.0}},
        {"custom", 3, false, 1000, 300, 200, std::pair{300.0, 200.0}},
        {"custom without a height", 3, false, 1000, 300, {}, std::nullopt},
        {"custom of width 0", 3, false, 1000, 0, 200, std::nullopt},
        {"denominator 0", 1, false, 0, {}, {}, std::nullopt},
        {"another paper", 4, false, 1000, {}, {}, std::nullopt},
    };
    for (const auto& c : sizes) {
        const auto got = printFrameSize(c.paper, c.reversed, c.denominator, c.w, c.h);
        ASSERT_EQ(got.has_value(), c.size.has_value()) << c.what;
        if (got) {
            EXPECT_DOUBLE_EQ(got->w, c.size->first) << c.what;
            EXPECT_DOUBLE_EQ(got->h, c.size->second) << c.what;
        }
    }

    const PrintFrameSize s{400, 285};
    const struct {
        const char* what;
        cad::Point lo, hi;
        std::vector<cad::Point> corners;
    } tiles[] = {
        {"exactly 2W wide", {0, 0, 0}, {800, 100, 0}, {{0, 0, 0}, {400, 0, 0}, {800, 0, 0}}},
        {"narrower than W", {0, 0, 0}, {399, 100, 0}, {{0, 0, 0}}},
        {"column by column from the lowest row", {10, 20, 0}, {500, 320, 0},
         {{10, 20, 0}, {10, 305, 0}, {410, 20, 0}, {410, 305, 0}}},
        {"equal corners", {5, 5, 0}, {5, 5, 0}, {{5, 5, 0}}},
        {"right to left", {800, 0, 0}, {0, 100, 0}, {}},
        {"top to bottom", {0, 600, 0}, {100, 0, 0}, {}},
    };
    for (const auto& c : tiles) {
        const auto got = printFrameTiles(c.lo, c.hi, s);
        ASSERT_EQ(got.size(), c.corners.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], c.corners[i]) << c.what << " tile " << i;
    }
}

TEST(Plotting, PrintFrameQuestions)
{
    const struct {
        const char* what;
        std::vector<std::pair<const char*, const char*>> answers; // kind, text
        std::optional<std::pair<double, double>> size;            // of the one frame drawn
    } cases[] = {
        {"Enter three times", {{"enter", ""}, {"enter", ""}, {"enter", ""}}, std::pair{400.0, 285.0}},
        {"Esc takes the defaults too", {{"esc", ""}, {"esc", ""}, {"esc", ""}}, std::pair{400.0, 285.0}},
        {"A3 reversed at 500", {{"real", "1"}, {"string", "y"}, {"real", "500"}}, std::pair{142.5, 200.0}},
        {"A4 at 2000", {{"real", "2"}, {"string", "N"}, {"real", "2000"}}, std::pair{558.0, 402.0}},
        {"custom", {{"real", "3"}, {"real", "300"}, {"real", "200"}}, std::pair{300.0, 200.0}},
        {"denominator 0", {{"real", "1"}, {"enter", ""}, {"real", "0"}}, std::nullopt},
        {"yes only as Y or y", {{"real", "1"}, {"string", "yes"}, {"enter", ""}}, std::pair{400.0, 285.0}},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        for (const auto& [kind, text] : c.answers)
            host.answer(u(kind), u(text));
        host.answerTypedPoint(QStringLiteral("10,20"));
        host.answerTypedPoint(QStringLiteral("10,20"));
        greatusersize_Click(host.home.context);
        const auto all = host.ms().entities();
        ASSERT_EQ(all.size(), c.size ? 1u : 0u) << c.what;
        if (c.size) {
            EXPECT_EQ(all[0]->kind(), cad::EntityKind::Polyline2d) << c.what;
            EXPECT_TRUE(all[0]->Closed()) << c.what;
            EXPECT_EQ(all[0]->Layer(), QStringLiteral("0")) << c.what;
            const double w = c.size->first, h = c.size->second;
            expectCoords(all[0]->Coordinates(), {10, 20, 0, 10 + w, 20, 0, 10 + w, 20 + h, 0, 10, 20 + h, 0}, c.what);
        }
    }

    test::CadHost esc;
    for (int i = 0; i < 3; ++i)
        esc.answer(QStringLiteral("enter"));
    esc.answerTypedPoint(QStringLiteral("10,20"));
    esc.answer(QStringLiteral("esc"));
    greatusersize_Click(esc.home.context);
    EXPECT_EQ(esc.ms().Count(), 0) << "Esc at the second corner";
}

// A window or scale typed by mistake asks for millions of frames, or for a
// count no loop can reach: the counts are checked before any frame, the
// person is told them, and nothing is drawn. A sound window tiles as before.
TEST(Plotting, RunawayFrameCountsDrawNothing)
{
    const struct {
        const char* what;
        std::vector<std::pair<const char*, const char*>> answers; // kind, text
        const char* lo;
        const char* hi;
        const char* message; // "" when frames are drawn
    } cases[] = {
        {"corner at the origin", {{"real", "1"}, {"string", "N"}, {"real", "500"}}, "0,0", "519000,3381000",
         "打印图框过多：图框 200×142.5，范围 (0,0) 至 (519000,3381000)，需 2596 列 × 23727 行，超过 100000 个，未生成图框。"},
        {"denominator 0.001", {{"real", "1"}, {"string", "N"}, {"real", "0.001"}}, "0,0", "519000,3381000",
         "打印图框过多：图框 0.0004×0.000285，范围 (0,0) 至 (519000,3381000)，需 1297500001 列 × 11863157895 行，"
         "超过 100000 个，未生成图框。"},
        {"corner far out and below", {{"enter", ""}, {"enter", ""}, {"enter", ""}}, "0,0", "1e308,-1e308",
         "打印图框过多：图框 400×285，范围 (0,0) 至 (1E+308,-1E+308)，需 2.5E+305 列 × -3.50877192982456E+305 行，"
         "超过 100000 个，未生成图框。"},
        {"2 km at 1:500 on A3", {{"real", "1"}, {"string", "N"}, {"real", "500"}}, "1000,2000", "3000,4000", ""},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        for (const auto& [kind, text] : c.answers)
            host.answer(u(kind), u(text));
        host.answerTypedPoint(u(c.lo));
        host.answerTypedPoint(u(c.hi));
        greatusersize_Click(host.home.context);
        const auto all = host.ms().entities();
        if (*c.message) {
            EXPECT_EQ(onlyMessage(host.home).value("text").toString(), u(c.message)) << c.what;
            EXPECT_TRUE(all.empty()) << c.what;
            continue;
        }
        EXPECT_TRUE(host.home.ui.messages().isEmpty()) << c.what;
        // 11 columns of 200 and 15 rows of 142.5, column by column.
        ASSERT_EQ(all.size(), 165u) << c.what;
        size_t k = 0;
        for (int i = 0; i < 11; ++i)
            for (int j = 0; j < 15; ++j, ++k) {
                const double x = 1000 + i * 200.0, y = 2000 + j * 142.5;
                expectCoords(all[k]->Coordinates(), {x, y, 0, x + 200, y, 0, x + 200, y + 142.5, 0, x, y + 142.5, 0},
                             c.what);
            }
    }
}

TEST(Plotting, FrameCountsAreCheckedBeforeTiling)
{
    const struct {
        const char* what;
        PrintFrameSize size;
        cad::Point lo, hi;
        bool tooMany;
        std::int64_t frames;
    } cases[] = {
        {"exactly the limit", {1, 1}, {0, 0, 0}, {99999, 0, 0}, false, 100000},
        {"one column more", {1, 1}, {0, 0, 0}, {100000, 0, 0}, true, 0},
        {"product over the limit", {1, 1}, {0, 0, 0}, {400, 300, 0}, true, 0},
        {"columns over the limit, rows below 1", {1, 1}, {0, 0, 0}, {2e5, -5, 0}, true, 0},
        {"right to left", {1, 1}, {0, 0, 0}, {-50, 10, 0}, false, 0},
        {"infinite window", {1, 1}, {-1e308, 0, 0}, {1e308, 0, 0}, true, 0},
        {"no count at all", {std::numeric_limits<double>::infinity(), 1}, {-1e308, 0, 0}, {1e308, 0, 0}, true, 0},
    };
    for (const auto& c : cases) {
        const PrintFrameGrid g = printFrameGrid(c.lo, c.hi, c.size);
        EXPECT_EQ(g.tooMany(), c.tooMany) << c.what;
        EXPECT_EQ(g.frames(), c.frames) << c.what;
        EXPECT_EQ(printFrameTiles(c.lo, c.hi, c.size).size(), size_t(c.frames)) << c.what;
    }
}

TEST(Plotting, DrawingTurnedAndSavedAsPlotCopy)
{
    const struct {
        const char* what;
        const char* p1;
        const char* p2;
        cad::Point start, end;
    } cases[] = {
        {"due north", "100,100", "100,200", {100, 0, 0}, {100, -100, 0}},
        {"same point: nothing turns", "100,100", "100,100", {200, 100, 0}, {300, 100, 0}},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        {
            cad::Document d;
            d.ModelSpace().AddLine({200, 100, 0}, {300, 100, 0});
            d.ModelSpace().AddPoint({100, 100, 0});
            QDir().mkpath(host.home.path(u("d:\\图")));
            cad::writeDxf(d, host.home.path(u("d:\\图\\A.dxf")));
        }
        const QByteArray source = test::readBytes(host.home.path(u("d:\\图\\A.dxf")));
        host.app.DocumentsOpen(u("d:\\图\\A.dxf"));
        host.answerTypedPoint(u(c.p1));
        host.answerTypedPoint(u(c.p2));
        rotatedwgfile_Click(host.home.context);

        const auto all = host.ms().entities();
        EXPECT_NEAR(all[0]->StartPoint().x, c.start.x, 1e-9) << c.what;
        EXPECT_NEAR(all[0]->StartPoint().y, c.start.y, 1e-9) << c.what;
        EXPECT_NEAR(all[0]->EndPoint().x, c.end.x, 1e-9) << c.what;
        EXPECT_NEAR(all[0]->EndPoint().y, c.end.y, 1e-9) << c.what;
        EXPECT_NEAR(all[1]->Coordinate3().x, 100, 1e-9) << c.what << ": P1 unmoved";
        EXPECT_NEAR(all[1]->Coordinate3().y, 100, 1e-9) << c.what << ": P1 unmoved";
        EXPECT_EQ(host.doc().Name(), u("plotA.dxf")) << c.what;
        EXPECT_EQ(host.doc().format(), cad::DrawingFormat::R14) << c.what;
        EXPECT_TRUE(test::readBytes(host.home.path(u("d:\\图\\plotA.dxf"))).contains("AC1014")) << c.what;
        EXPECT_EQ(test::readBytes(host.home.path(u("d:\\图\\A.dxf"))), source) << c.what;
        EXPECT_TRUE(host.app.transcript().endsWith(u("\r\n程序运行结束!\r\n"))) << c.what;
        EXPECT_EQ(host.doc().GetVariable(QStringLiteral("osmode")).toInt(), 1) << c.what;
    }
}

TEST(Plotting, RotationEndsWithoutADrawingFile)
{
    const struct {
        const char* what;
        const char* p1;
        const char* p2; // "" for Esc
    } cases[] = {
        {"never saved", "100,100", "100,200"},
        {"x of 0", "0,100", "100,200"},
        {"Esc", "100,100", ""},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        cad::Entity* line = host.ms().AddLine({200, 100, 0}, {300, 100, 0});
        host.answerTypedPoint(u(c.p1));
        if (*c.p2)
            host.answerTypedPoint(u(c.p2));
        else
            host.answer(QStringLiteral("esc"));
        rotatedwgfile_Click(host.home.context);
        EXPECT_EQ(line->EndPoint(), (cad::Point{300, 100, 0})) << c.what << ": nothing turned";
        EXPECT_TRUE(host.doc().FullName().isEmpty()) << c.what << ": no file";
        EXPECT_TRUE(QDir(host.home.path(QStringLiteral("d:\\"))).entryList(QDir::Files).isEmpty()) << c.what;
    }
}
