// Sheet files written along outlines (standard names and strip numbers),
// strip frames placed on outlines, and the free trimming through the
// host's offset and fence trim.
#include "sheets/free_trim.h"
#include "sheets/sheet_output.h"
#include "sheet_drawings.h"
#include "test_support.h"

#include <QDir>
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheets;
using test::u;

namespace {

cad::Entity* outline(cad::Block& ms, double x, double y, double w = 250, double h = 200)
{
    cad::Entity* e = ms.AddLightWeightPolyline({x, y, x + w, y, x + w, y + h, x, y + h});
    e->setClosed(true);
    return e;
}

const cad::XData kRoadCode{cad::xstr(1001, QStringLiteral("SOUTH")), cad::xstr(1000, QStringLiteral("164300"))};

// Two outlines apart, one entity inside each, a coded road crossing both
// and a line outside both.
struct TwoSheets : test::CadHost {
    cad::Entity *a, *b;
    TwoSheets()
    {
        doc().Layers().Add(QStringLiteral("road"));
        doc().Linetypes().Add(QStringLiteral("DASHED"));
        doc().RegisteredApplications().Add(QStringLiteral("SOUTH"));
        a = outline(ms(), 534500, 2551200);
        b = outline(ms(), 534812, 2551207);
        ms().AddLine({534600, 2551300, 0}, {534610, 2551310, 0});
        ms().AddCircle({534900, 2551300, 0}, 5);
        cad::Entity* road = ms().AddLightWeightPolyline({534700, 2551350, 534900, 2551350});
        road->setLayer(QStringLiteral("road"));
        road->setLinetype(QStringLiteral("DASHED"));
        road->SetXData(kRoadCode);
        ms().AddLine({100, 100, 0}, {200, 200, 0});
    }
};

std::vector<cad::Entity*> entitiesOf(const test::TempHome& home, const QString& file)
{
    static std::vector<std::unique_ptr<cad::Document>> keep;
    keep.push_back(cad::readDxf(home.path(file)));
    return keep.back()->ModelSpace().entities();
}

} // namespace

TEST(SheetOutput, FileNameRules)
{
    const struct {
        const char* folder;
        cad::Point min;
        int n;
        const char* standard;
        const char* strip;
    } cases[] = {
        {"d:\\分幅", {534500, 2551200, 0}, 1, "d:\\分幅\\2551.20-534.50.dxf", "d:\\分幅\\Trim1.dxf"},
        {" D:\\ ", {534500, 2551200, 0}, 2, "D:\\2551.20-534.50.dxf", "D:\\Trim2.dxf"},
        {"D:\\out", {534512, 2551207, 0}, 10, "D:\\out\\2551.21-534.51.dxf", "D:\\out\\Trim10.dxf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(standardSheetFileRule(u(c.folder), c.min, c.n), u(c.standard)) << c.folder;
        EXPECT_EQ(StripSheetFile(u(c.folder), c.n), u(c.strip)) << c.folder;
    }
}

TEST(SheetOutput, EachOutlineWritesItsOwnSheetFile)
{
    TwoSheets host;
    const int before = host.ms().Count();
    QDir().mkpath(host.home.path(u("d:\\分幅")));
    host.answer(QStringLiteral("folder"), u("d:\\分幅"));
    host.answerSelect({host.a->Handle(), host.b->Handle()});
    zhengguifenfu_Click(host.home.context);

    const QString f1 = u("d:\\分幅\\2551.20-534.50.dxf"), f2 = u("d:\\分幅\\2551.21-534.81.dxf");
    EXPECT_EQ(host.app.transcript(),
              u("正在输出文件:") + f1 + u("正在输出文件:") + f2 + QStringLiteral("\r\nfinish: 2"));
    for (const QString& f : {f1, f2}) {
        const auto es = entitiesOf(host.home, f);
        ASSERT_EQ(es.size(), 3u) << f.toStdString() << ": its outline, its inside entity and the road";
        const auto road = std::find_if(es.begin(), es.end(), [](cad::Entity* e) { return e->Layer() == "road"; });
        ASSERT_NE(road, es.end()) << f.toStdString();
        EXPECT_EQ((*road)->Linetype(), QStringLiteral("DASHED")) << f.toStdString();
        EXPECT_EQ((*road)->GetXData(QStringLiteral("SOUTH")), kRoadCode) << f.toStdString();
    }
    EXPECT_EQ(host.ms().Count(), before) << "the source drawing unchanged";
    EXPECT_TRUE(host.doc().FullName().isEmpty()) << "and unsaved";
    EXPECT_EQ(host.doc().SelectionSets().find(QStringLiteral("text1")), nullptr);
    EXPECT_EQ(host.app.WindowState(), 3);
}

TEST(SheetOutput, NothingSelectedShortOutlinesAndFailedWrites)
{
    {
        TwoSheets host;
        host.answer(QStringLiteral("folder"), QStringLiteral("D:\\"));
        host.answerSelect({});
        zhengguifenfu_Click(host.home.context);
        EXPECT_EQ(host.app.transcript(), QStringLiteral("\r\nfinish: 0")) << "no selection";
        EXPECT_TRUE(QDir(host.home.path(QStringLiteral("D:\\"))).entryList(QDir::Files).isEmpty());
    }
    {
        TwoSheets host;
        cad::Entity* three = host.ms().AddLightWeightPolyline({534500, 2551200, 534750, 2551200, 534750, 2551400});
        host.answer(QStringLiteral("folder"), QStringLiteral("D:\\"));
        host.answerSelect({three->Handle(), host.b->Handle()});
        zhengguifenfu_Click(host.home.context);
        EXPECT_FALSE(QFileInfo::exists(host.home.path(QStringLiteral("D:\\2551.20-534.50.dxf")))) << "3 vertices";
        EXPECT_TRUE(QFileInfo::exists(host.home.path(QStringLiteral("D:\\2551.21-534.81.dxf"))));
        EXPECT_TRUE(host.app.transcript().contains(QStringLiteral("D:\\2551.20-534.50.dxf"))) << "noted";
        EXPECT_TRUE(host.app.transcript().endsWith(QStringLiteral("finish: 2"))) << "still counted";
    }
    {
        TwoSheets host;
        QDir().mkpath(host.home.path(u("d:\\分幅\\2551.20-534.50.dxf"))); // a folder of that name
        host.answer(QStringLiteral("folder"), u("d:\\分幅"));
        host.answerSelect({host.a->Handle(), host.b->Handle()});
        zhengguifenfu_Click(host.home.context);
        EXPECT_TRUE(host.app.transcript().contains(u("无法输出文件:d:\\分幅\\2551.20-534.50.dxf")));
        EXPECT_TRUE(QFileInfo(host.home.path(u("d:\\分幅\\2551.21-534.81.dxf"))).isFile()) << "the next is written";
        EXPECT_TRUE(host.app.transcript().endsWith(QStringLiteral("finish: 2")));
    }
}

TEST(SheetOutput, StripsAreNumberedInSelectionOrder)
{
    TwoSheets host;
    host.answer(QStringLiteral("folder"), QStringLiteral("D:\\"));
    host.answerSelect({host.b->Handle(), host.a->Handle()});
    piliangfenfu_Click(host.home.context);
    EXPECT_EQ(host.app.transcript(), QStringLiteral("正在输出文件:D:\\Trim1.dxf正在输出文件:D:\\Trim2.dxf\r\nfinish: 2"));
    const auto first = entitiesOf(host.home, QStringLiteral("D:\\Trim1.dxf"));
    ASSERT_EQ(first.size(), 3u);
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), [](cad::Entity* e) {
        return e->kind() == cad::EntityKind::Circle;
    })) << "Trim1 is the outline picked first (b)";

    test::CadHost stopped;
    stopped.app.setRunning(false);
    zhengguifenfu_Click(stopped.home.context);
    EXPECT_EQ(test::lastMessage(stopped.home).value("text").toString(), u("AutoCAD 没有运行或版本不符合！"));
    EXPECT_EQ(stopped.home.ui.events().size(), 1) << "no folder asked";
}

namespace {

void writeFrameDrawing(const test::TempHome& home)
{
    cad::Document doc;
    doc.ModelSpace().AddLine({0, 0, 0}, {2, 0, 0});
    doc.ModelSpace().AddLine({2, 0, 0}, {2, 1, 0});
    doc.ModelSpace().AddLine({2, 1, 0}, {0, 1, 0});
    doc.ModelSpace().AddLine({0, 1, 0}, {0, 0, 0});
    QDir().mkpath(home.path(QStringLiteral("d:\\common")));
    cad::writeDxf(doc, home.path(QStringLiteral("d:\\common\\frame.dxf")));
}

} // namespace

TEST(SheetOutput, StripFramesTurnAlongTheFirstEdge)
{
    const struct {
        const char* what;
        std::vector<double> xy;
        std::vector<cad::Point> ends; // end points of the four frame lines
    } cases[] = {
        {"due north", {100, 100, 100, 300, 50, 300, 50, 100},
         {{100, 102, 0}, {99, 102, 0}, {99, 100, 0}, {100, 100, 0}}},
        {"due east", {100, 100, 300, 100, 300, 150, 100, 150},
         {{102, 100, 0}, {102, 101, 0}, {100, 101, 0}, {100, 100, 0}}},
        {"two vertices", {100, 100, 300, 100}, {{102, 100, 0}, {102, 101, 0}, {100, 101, 0}, {100, 100, 0}}},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        writeFrameDrawing(host.home);
        host.home.context.state().commonFile = QStringLiteral("d:\\common\\frame.dxf");
        cad::Entity* o = host.ms().AddLightWeightPolyline(c.xy);
        host.answerSelect({o->Handle()});
        tukuang2000_Click(host.home.context);
        const auto es = host.ms().entities();
        ASSERT_EQ(es.size(), 4u) << c.what << ": the frame's lines only, no reference, no outline";
        for (size_t i = 0; i < es.size(); ++i) {
            ASSERT_EQ(es[i]->kind(), cad::EntityKind::Line) << c.what;
            EXPECT_NEAR(es[i]->EndPoint().x, c.ends[i].x, 1e-9) << c.what << " line " << i;
            EXPECT_NEAR(es[i]->EndPoint().y, c.ends[i].y, 1e-9) << c.what << " line " << i;
        }
        EXPECT_NE(host.doc().findBlock(QStringLiteral("frame")), nullptr) << c.what;
    }
}

TEST(SheetOutput, StripFrameFailures)
{
    {
        test::CadHost host; // a common file that is no drawing, then a good one
        writeFrameDrawing(host.home);
        test::writeBytes(host.home.path(QStringLiteral("d:\\common\\bad.dxf")), "no drawing");
        host.home.context.state().commonFile = QStringLiteral("d:\\common\\bad.dxf");
        cad::Entity* o = outline(host.ms(), 0, 0);
        cad::Entity* next = outline(host.ms(), 300, 0);
        host.answerSelect({o->Handle(), next->Handle()});
        tukuang2000_Click(host.home.context);
        EXPECT_EQ(host.ms().Count(), 2) << "outlines kept";
        EXPECT_FALSE(o->isErased());
        EXPECT_FALSE(next->isErased());
        EXPECT_EQ(host.app.transcript().count(QStringLiteral("d:\\common\\bad.dxf")), 2) << "each named, the next tried";
    }
    {
        test::CadHost host;
        outline(host.ms(), 0, 0);
        tukuang2000_Click(host.home.context);
        const QJsonArray events = host.home.ui.events();
        ASSERT_EQ(events.size(), 1) << "no selection asked";
        EXPECT_EQ(events[0].toObject().value("text").toString(),
                  u("请在[输出]菜单中的[通用文件名为空]下选择所需的文件！"));
        EXPECT_EQ(events[0].toObject().value("title").toString(), u("错误"));
    }
}

namespace {

// A rectangle (100, 200)-(150, 230), vertex 0 at its lower left, and three
// lines crossing it.
struct TrimSite : test::CadHost {
    cad::Entity* boundary;
    std::vector<cad::Entity*> lines;
    TrimSite()
    {
        boundary = outline(ms(), 100, 200, 50, 30);
        lines = {ms().AddLine({90, 210, 0}, {160, 210, 0}), ms().AddLine({120, 190, 0}, {120, 240, 0}),
                 ms().AddLine({95, 215, 0}, {125, 215, 0})};
    }
};

} // namespace

TEST(FreeTrim, CrossingEntitiesLoseTheirOutsideParts)
{
    TrimSite host;
    host.doc().Layers().Add(QStringLiteral("dgx"));
    std::vector<cad::Entity*> contours;
    for (double x : {0.0, 1e6}) {
        cad::Entity* c = host.ms().AddLightWeightPolyline({x, 0, x + 1, 1});
        c->setLayer(QStringLiteral("dgx"));
        c->setElevation(12.5);
        contours.push_back(c);
    }
    const std::vector<double> coords = host.boundary->Coordinates();
    host.answerEntity(host.boundary->Handle(), 100, 215);
    trimdwgfile_Click(host.home.context);

    EXPECT_EQ(host.boundary->Coordinates(), coords) << "the boundary unchanged";
    for (cad::Entity* c : contours)
        EXPECT_EQ(c->Elevation(), 0) << "dgx flattened, also far away";
    // every part left of the lines lies inside the boundary
    for (cad::Entity* e : host.ms().entities()) {
        if (e == host.boundary || e->Layer() == QStringLiteral("dgx"))
            continue;
        ASSERT_EQ(e->kind(), cad::EntityKind::Line) << "no copy left";
        for (const cad::Point& p : {e->StartPoint(), e->EndPoint()}) {
            EXPECT_GE(p.x, 100 - 1e-9);
            EXPECT_LE(p.x, 150 + 1e-9);
            EXPECT_GE(p.y, 200 - 1e-9);
            EXPECT_LE(p.y, 230 + 1e-9);
        }
    }
    const QString h = QStringLiteral("(handent \"") + host.boundary->Handle() + QStringLiteral("\")");
    const QString& j = host.app.journal();
    EXPECT_TRUE(j.startsWith(QStringLiteral("_offset\rThrough\r") + h + QStringLiteral("\r99.95,199.95\r\r")));
    // Each pass: its offset, then the same trim twice along the copy's four
    // vertices and vertex 0 again.
    const QString pt = QStringLiteral("-?[0-9.]+,-?[0-9.]+");
    const QString hx = QRegularExpression::escape(h);
    const QRegularExpression pass(QStringLiteral("^Through\\r%1\\r%2\\r\\r(_trim\\r%1\\r\\rf\\r(%2)\\r(?:%2\\r){3}\\2\\r\\r\\r)\\1$")
                                      .arg(hx, pt));
    const QStringList passes = j.split(QStringLiteral("_offset\r"), Qt::SkipEmptyParts);
    ASSERT_EQ(passes.size(), 4) << j.toStdString();
    for (const QString& p : passes)
        EXPECT_TRUE(pass.match(p).hasMatch()) << p.toStdString();
}

TEST(FreeTrim, WrongBoundaryOrNoCopy)
{
    const struct {
        const char* what;
        std::function<cad::Entity*(cad::Block&)> make;
    } wrong[] = {
        {"old-style polyline", [](cad::Block& ms) { return ms.AddPolyline({0, 0, 0, 10, 0, 0, 10, 10, 0}); }},
        {"circle", [](cad::Block& ms) { return ms.AddCircle({0, 0, 0}, 5); }},
        {"line", [](cad::Block& ms) { return ms.AddLine({0, 0, 0}, {5, 5, 0}); }},
        {"Esc", nullptr},
    };
    for (const auto& c : wrong) {
        TrimSite host;
        const int before = host.ms().Count();
        if (c.make)
            host.answerEntity(c.make(host.ms())->Handle());
        else
            host.answer(QStringLiteral("esc"));
        trimdwgfile_Click(host.home.context);
        EXPECT_TRUE(host.app.journal().isEmpty()) << c.what;
        EXPECT_EQ(host.ms().Count(), before + (c.make ? 1 : 0)) << c.what;
    }

    test::CadHost host; // the first through point lies on the first edge: no copy
    cad::Entity* b = host.ms().AddLightWeightPolyline({10, 10, 0, 0, 20, 0});
    cad::Entity* other = host.ms().AddLine({-5, 5, 0}, {25, 5, 0});
    host.answerEntity(b->Handle(), 5, 5);
    trimdwgfile_Click(host.home.context);
    EXPECT_EQ(host.app.journal().count(QStringLiteral("_offset\r")), 1);
    EXPECT_EQ(host.app.journal().count(QStringLiteral("_trim\r")), 0);
    EXPECT_EQ(host.ms().Count(), 2) << "nothing deleted";
    EXPECT_FALSE(b->isErased());
    EXPECT_FALSE(other->isErased());
}
