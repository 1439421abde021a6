// What the host's drawing files now keep: linetype scale and lineweight of
// every entity, a text's mirror flags, a point's angle, a text style's
// flags and last height, a shape file's style entry, spline-fit polylines
// and the image frame setting. Read back here; ezdxf reads the same files
// in check_kept_dxf.py.
#include "cad/cad.h"
#include "cad/model/geom_boundary.h"
#include "cad_host.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

// One of each newly kept item; the handles of the entities go to the check.
QJsonObject buildKept(test::CadHost& h)
{
    Document& d = h.doc();
    Block& ms = d.ModelSpace();
    Entity* line = ms.AddLine({0, 0, 0}, {10, 0, 0});
    line->setLinetypeScale(2.5);
    line->data().lineweight = 35;
    Entity* text = ms.AddText(QStringLiteral("镜像"), {0, 5, 0}, 2);
    text->data().placedMut().textGeneration = 2;
    Entity* point = ms.AddPoint({3, 4, 0});
    point->data().placedMut().rotation = M_PI / 6;
    TextStyle& st = d.TextStyles().Add(QStringLiteral("HZ"));
    st.flags = 4;
    st.generation = 4;
    st.lastHeight = 3.5;
    Entity* spline = ms.AddLightWeightPolyline({0, 0, 10, 0, 10, 10, 20, 10});
    const QString handle = spline->Handle();
    CommandLineScript(d, {QStringLiteral("_PEDIT"), axEnt2lspEnt(*spline), QStringLiteral("s"), QString()});
    spline = d.HandleToObject(handle);
    d.SetVariable(QStringLiteral("IMAGEFRAME"), 0);
    // regions of a 10 x 10 square and of a half circle on a line (a clockwise outline)
    Entity* square = ms.AddLightWeightPolyline({0, 0, 10, 0, 10, 10, 0, 10});
    square->setClosed(true);
    Entity* region = ms.AddRegion({square}).front();
    Entity* half = ms.AddLightWeightPolyline({25, 0, 15, 0});
    half->SetBulge(0, -1); // clockwise from (25, 0) under the bottom to (15, 0)
    half->setClosed(true);
    Entity* arched = ms.AddRegion({half}).front();
    QJsonObject o{{"line", line->Handle()}, {"text", text->Handle()}, {"point", point->Handle()},
                  {"spline", spline->Handle()}, {"fit", int(spline->data().rare().fit.size())},
                  {"region", region->Handle()}, {"arched", arched->Handle()}};
    return o;
}

} // namespace

TEST(CadDxfKept, NewlyKeptItemsComeBack)
{
    test::CadHost h;
    const QJsonObject handles = buildKept(h);
    const QString file = h.home.path(QStringLiteral("kept.dxf"));
    h.doc().SaveAs(file);
    std::unique_ptr<Document> back = readDxf(file);
    Entity* line = back->HandleToObject(handles["line"].toString());
    EXPECT_DOUBLE_EQ(line->LinetypeScale(), 2.5);
    EXPECT_EQ(line->data().lineweight, 35);
    EXPECT_EQ(back->HandleToObject(handles["text"].toString())->data().placed().textGeneration, 2);
    EXPECT_NEAR(back->HandleToObject(handles["point"].toString())->data().placed().rotation, M_PI / 6, 1e-12);
    const TextStyle& st = back->TextStyles().Item(QStringLiteral("HZ"));
    EXPECT_EQ(st.flags, 4);
    EXPECT_EQ(st.generation, 4);
    EXPECT_DOUBLE_EQ(st.lastHeight, 3.5);
    Entity* spline = back->HandleToObject(handles["spline"].toString());
    EXPECT_EQ(spline->data().polyFlags & 4, 4);
    EXPECT_EQ(int(spline->data().rare().fit.size()), handles["fit"].toInt());
    EXPECT_EQ(spline->Coordinates().size(), 12u) << "the frame's four vertices";
    EXPECT_EQ(spline->data().rare().splineType, 6);
    EXPECT_EQ(back->GetVariable(QStringLiteral("IMAGEFRAME")).toInt(), 0);
    EXPECT_DOUBLE_EQ(back->HandleToObject(handles["text"].toString())->data().ltscale, 1) << "no 48: the default";
    Entity* region = back->HandleToObject(handles["region"].toString());
    EXPECT_DOUBLE_EQ(region->Area(), 100) << "the body brings the outline back";
    ASSERT_EQ(region->data().rare().regionLoops.size(), 1u);
    EXPECT_EQ(region->data().rare().regionLoops[0].size(), 4u);
    Entity* arched = back->HandleToObject(handles["arched"].toString());
    EXPECT_NEAR(arched->Area(), M_PI * 25 / 2, 1e-9) << "measured by its arc";
    ASSERT_EQ(arched->data().rare().regionLoops.size(), 1u);
    EXPECT_NEAR(geom::outlineArea(arched->data().rare().regionLoops[0]), M_PI * 25 / 2, 1e-9) << "the arc kept exactly";
}

TEST(CadDxfKept, ExportForIndependentCheck)
{
    const QByteArray dir = qgetenv("KELVOR_CAD_EXPORT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "run by check_kept_dxf.py";
    test::CadHost h;
    const QJsonObject handles = buildKept(h);
    h.doc().SaveAs(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("kept.dxf")));
    QFile out(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("kept.json")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(handles).toJson());
    // a drawing ezdxf made with a complex linetype of shapes, read and saved
    const QString shapes = QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("shapes.dxf"));
    if (QFile::exists(shapes))
        readDxf(shapes)->SaveAs(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("shapes_saved.dxf")));
}
