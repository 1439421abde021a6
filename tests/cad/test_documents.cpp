// Drawings of the embedded CAD host as files: open, save, save-as, close,
// write-block, purge, drawing files inserted as blocks and exploded.
#include "cad/cad.h"
#include "platform/paths.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <cmath>

using namespace kelvor;
using namespace kelvor::cad;
using kelvor::test::errorOf;

namespace {

QString native(const QString& windowsPath)
{
    return paths::resolve(windowsPath);
}

void makeFolder(const QString& windowsFolder)
{
    QDir().mkpath(native(windowsFolder));
}

template <class T>
QStringList tableNames(const Table<T>& t)
{
    QStringList out;
    for (const T& i : t.items())
        out << i.Name;
    return out;
}

QStringList blockNames(const Document& d)
{
    QStringList out;
    for (Block* b : d.blocks())
        out << b->Name();
    return out;
}

void expectPoint(const Point& p, double x, double y, const char* what)
{
    EXPECT_NEAR(p.x, x, 1e-9) << what;
    EXPECT_NEAR(p.y, y, 1e-9) << what;
}

} // namespace

TEST(CadDocuments, OpenChangeSaveAsAndReopen)
{
    test::TempHome home;
    Application app;
    Document& first = app.ActiveDocument();
    EXPECT_EQ(first.Path(), QString()) << "a drawing never saved has no folder";
    first.ModelSpace().AddLine({0, 0, 0}, {10, 0, 0});
    makeFolder(QStringLiteral("d:\\maps"));
    first.SaveAs(QStringLiteral("d:\\maps\\plan")); // no extension: the drawing one is added
    EXPECT_TRUE(QFile::exists(native(QStringLiteral("d:\\maps\\plan.dxf"))));
    EXPECT_EQ(first.Path(), QStringLiteral("D:\\maps"));
    EXPECT_EQ(first.Name(), QStringLiteral("plan.dxf"));
    // the same file again while it is open is refused, whatever the case of its path
    EXPECT_NE(test::errorOf([&] { app.DocumentsOpen(QStringLiteral("D:\\MAPS\\plan.dwg")); }), 0);
    EXPECT_EQ(app.DocumentsCount(), 1);
    first.SaveAs(QStringLiteral("d:\\maps\\first")); // frees plan.dxf for the next opening

    Document& opened = app.DocumentsOpen(QStringLiteral("D:\\MAPS\\plan.dwg"));
    EXPECT_EQ(&app.ActiveDocument(), &opened);
    ASSERT_EQ(opened.ModelSpace().Count(), 1);
    opened.ModelSpace().AddCircle({5, 5, 0}, 2);
    opened.Save();
    // R14 form under a new name: the drawing now carries that name
    opened.SaveAs(QStringLiteral("d:\\maps\\plotplan.dwg"), DrawingFormat::R14);
    EXPECT_EQ(opened.Name(), QStringLiteral("plotplan.dxf"));
    EXPECT_TRUE(test::readBytes(native(QStringLiteral("d:\\maps\\plotplan.dxf"))).contains("AC1014"));
    opened.Close();
    EXPECT_EQ(&app.ActiveDocument(), &first);

    Document& again = app.DocumentsOpen(QStringLiteral("d:\\maps\\plan"));
    ASSERT_EQ(again.ModelSpace().Count(), 2) << "the plain save kept the change";
    EXPECT_EQ(again.ModelSpace().Item(1)->ObjectName(), QStringLiteral("AcDbCircle"));
    EXPECT_DOUBLE_EQ(again.ModelSpace().Item(1)->Radius(), 2);
}

TEST(CadDocuments, BadFilesFailAndLeaveTheDocumentsAlone)
{
    test::TempHome home;
    Application app;
    Document& first = app.ActiveDocument();
    makeFolder(QStringLiteral("d:\\maps"));
    test::writeGbk(native(QStringLiteral("d:\\maps\\notes.dxf")), QStringLiteral("这不是图形文件\r\n"));
    QFile half(native(QStringLiteral("d:\\maps\\half.dxf")));
    ASSERT_TRUE(half.open(QIODevice::WriteOnly));
    half.write("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n 10\r\n");
    half.close();
    const struct {
        const char* path;
    } cases[] = {{"d:\\maps\\missing.dwg"}, {"d:\\maps\\notes.dxf"}, {"d:\\maps\\half.dxf"}};
    for (const auto& c : cases) {
        const int before = app.DocumentsCount();
        EXPECT_NE(errorOf([&] { app.DocumentsOpen(QString::fromUtf8(c.path)); }), 0) << c.path;
        EXPECT_EQ(app.DocumentsCount(), before) << c.path;
        EXPECT_EQ(&app.ActiveDocument(), &first) << c.path;
    }
}

TEST(CadDocuments, ClosingBringsBackThePreviouslyActiveDrawing)
{
    test::TempHome home;
    Application app;
    Document& a = app.ActiveDocument();
    Document& b = app.DocumentsAdd();
    app.setActive(a);
    Document& c = app.DocumentsAdd();
    EXPECT_EQ(&app.ActiveDocument(), &c);
    c.Close();
    EXPECT_EQ(&app.ActiveDocument(), &a) << "not merely the newest one left";
    a.Close();
    EXPECT_EQ(&app.ActiveDocument(), &b);
}

TEST(CadDocuments, SavedUntilTheDrawingChanges)
{
    test::TempHome home;
    Application app;
    Document& d = app.ActiveDocument();
    EXPECT_TRUE(d.Saved()) << "a new drawing has nothing to lose";
    Entity* line = d.ModelSpace().AddLine({0, 0, 0}, {1, 1, 0});
    EXPECT_FALSE(d.Saved());
    d.SaveAs(home.path(QStringLiteral("a.dxf")));
    EXPECT_TRUE(d.Saved());
    d.SaveAs(home.path(QStringLiteral("b.dxf"))); // a.dxf no longer open
    Document& opened = app.DocumentsOpen(home.path(QStringLiteral("a.dxf")));
    EXPECT_TRUE(opened.Saved()) << "reading is no change";
    const struct {
        const char* what;
        std::function<void(Document&)> change;
    } changes[] = {
        {"an entity added", [](Document& x) { x.ModelSpace().AddPoint({0, 0, 0}); }},
        {"an entity moved", [](Document& x) { x.ModelSpace().Item(0)->Move({0, 0, 0}, {1, 0, 0}); }},
        {"an entity deleted", [](Document& x) { x.ModelSpace().Item(0)->Delete(); }},
        {"its colour", [](Document& x) { x.ModelSpace().Item(0)->setColor(1); }},
        {"its extended data", [](Document& x) { x.ModelSpace().Item(0)->SetXData({xstr(1001, "SOUTH")}); }},
        {"a layer added", [](Document& x) { x.Layers().Add(QStringLiteral("JMD")); }},
        {"a layer locked", [](Document& x) { x.Layers().Item(QStringLiteral("0")).Lock = true; }},
        {"a linetype's pattern", [](Document& x) { x.Linetypes().Item(QStringLiteral("Continuous")).pattern = {1}; }},
        {"a variable", [](Document& x) { x.SetVariable(QStringLiteral("OSMODE"), 33); }},
        {"a block defined", [](Document& x) { x.BlocksAdd({0, 0, 0}, QStringLiteral("B")); }},
        {"a group", [](Document& x) { x.GroupsAdd(QStringLiteral("G")).AppendItems({x.ModelSpace().Item(0)}); }},
    };
    for (const auto& c : changes) {
        std::unique_ptr<Document> x = readDxf(home.path(QStringLiteral("a.dxf")));
        ASSERT_TRUE(x->Saved()) << c.what;
        c.change(*x);
        EXPECT_FALSE(x->Saved()) << c.what;
    }
    // what is no change
    line = opened.ModelSpace().Item(0);
    line->Highlight(true);
    line->Update();
    opened.Regen();
    SelectionSet& set = ScratchSelectionSet(opened, QStringLiteral("text"));
    set.Select(SelectAll);
    EXPECT_TRUE(opened.Saved());
    opened.ModelSpace().AddPoint({0, 0, 0});
    opened.Save();
    EXPECT_TRUE(opened.Saved());
}

TEST(CadDocuments, TheCollectionHoldsOnlyOpenDrawings)
{
    test::TempHome home;
    Application app;
    Document& a = app.ActiveDocument();
    Document& b = app.DocumentsAdd();
    Document& c = app.DocumentsAdd();
    b.Close();
    ASSERT_EQ(app.DocumentsCount(), 2);
    EXPECT_EQ(&app.DocumentsItem(0), &a);
    EXPECT_EQ(&app.DocumentsItem(1), &c);
    for (int index : {-1, 2})
        EXPECT_THROW(app.DocumentsItem(index), RunError) << index;
    // every index below the count is a drawing, as a loop over them expects
    b.Close();
    c.Close();
    a.Close();
    EXPECT_EQ(app.DocumentsCount(), 0);
    EXPECT_FALSE(app.hasDocument());
    EXPECT_TRUE(b.isClosed()) << "a stale reference still answers";
}

TEST(CadDocuments, WblockCarriesWhatTheEntitiesUse)
{
    test::TempHome home;
    Application app;
    Document& d = app.ActiveDocument();
    Linetype& dashed = d.Linetypes().Add(QStringLiteral("DASHED"));
    dashed.pattern = {1, -0.5};
    d.Linetypes().Add(QStringLiteral("HIDDEN"));
    d.Linetypes().Add(QStringLiteral("X5"));
    d.Layers().Add(QStringLiteral("JMD")).Linetype = QStringLiteral("DASHED");
    d.Layers().Add(QStringLiteral("UNUSED"));
    d.Layers().Add(QStringLiteral("INNER")).Color = 3;
    d.TextStyles().Add(QStringLiteral("HZ")).widthFactor = 0.8;
    d.TextStyles().Add(QStringLiteral("SPARE"));
    d.RegisteredApplications().Add(QStringLiteral("SOUTH"));
    d.RegisteredApplications().Add(QStringLiteral("OTHER"));
    Block& inner = d.BlocksAdd({0, 0, 0}, QStringLiteral("INNERB"));
    inner.AddCircle({0, 0, 0}, 1)->setLayer(QStringLiteral("INNER"));
    Block& outer = d.BlocksAdd({0, 0, 0}, QStringLiteral("OUTERB"));
    outer.AddLine({0, 0, 0}, {1, 0, 0});
    outer.InsertBlock({0, 0, 0}, QStringLiteral("INNERB"), 1, 1, 1, 0);
    d.BlocksAdd({0, 0, 0}, QStringLiteral("SPAREB")).AddPoint({0, 0, 0});

    Block& ms = d.ModelSpace();
    Entity* line = ms.AddLine({0, 0, 0}, {5, 0, 0});
    line->setLayer(QStringLiteral("JMD"));
    line->setLinetype(QStringLiteral("X5"));
    line->SetXData({xstr(1001, QStringLiteral("SOUTH")), xstr(1000, QStringLiteral("141101"))});
    Entity* text = ms.AddText(QStringLiteral("注记"), {1, 1, 0}, 2);
    text->setStyleName(QStringLiteral("HZ"));
    Entity* ref = ms.InsertBlock({10, 10, 0}, QStringLiteral("OUTERB"), 1, 1, 1, 0);
    ms.AddLine({0, 0, 0}, {1, 1, 0})->setLayer(QStringLiteral("UNUSED")); // not selected

    SelectionSet& set = ScratchSelectionSet(d, QStringLiteral("text"));
    set.AddItems({line, text, ref});
    makeFolder(QStringLiteral("d:\\out"));
    d.Wblock(QStringLiteral("d:\\out\\part.dwg"), set);

    std::unique_ptr<Document> w = readDxf(native(QStringLiteral("d:\\out\\part.dxf")));
    EXPECT_EQ(w->ModelSpace().Count(), 3);
    const QStringList layers = tableNames(w->Layers());
    EXPECT_TRUE(layers.contains(QStringLiteral("JMD")));
    EXPECT_TRUE(layers.contains(QStringLiteral("INNER"))) << "used inside a nested block";
    EXPECT_FALSE(layers.contains(QStringLiteral("UNUSED")));
    EXPECT_EQ(w->Layers().Item(QStringLiteral("INNER")).Color, 3);
    const QStringList linetypes = tableNames(w->Linetypes());
    EXPECT_TRUE(linetypes.contains(QStringLiteral("DASHED"))) << "the layer's linetype";
    EXPECT_TRUE(linetypes.contains(QStringLiteral("X5"))) << "the entity's own linetype";
    EXPECT_FALSE(linetypes.contains(QStringLiteral("HIDDEN")));
    EXPECT_EQ(w->Linetypes().Item(QStringLiteral("DASHED")).pattern, (std::vector<double>{1, -0.5}));
    const QStringList styles = tableNames(w->TextStyles());
    EXPECT_TRUE(styles.contains(QStringLiteral("HZ")));
    EXPECT_FALSE(styles.contains(QStringLiteral("SPARE")));
    const QStringList blocks = blockNames(*w);
    EXPECT_TRUE(blocks.contains(QStringLiteral("OUTERB")));
    EXPECT_TRUE(blocks.contains(QStringLiteral("INNERB")));
    EXPECT_FALSE(blocks.contains(QStringLiteral("SPAREB")));
    const QStringList apps = tableNames(w->RegisteredApplications());
    EXPECT_TRUE(apps.contains(QStringLiteral("SOUTH")));
    EXPECT_FALSE(apps.contains(QStringLiteral("OTHER")));
    EXPECT_EQ(w->ModelSpace().Item(0)->GetXData(QString()), line->GetXData(QString()));
    EXPECT_EQ(w->ModelSpace().Item(0)->Layer(), QStringLiteral("JMD"));

    // an empty set writes nothing: the file of the last write stays whole
    const QByteArray before = test::readBytes(native(QStringLiteral("d:\\out\\part.dxf")));
    SelectionSet& none = ScratchSelectionSet(d, QStringLiteral("text1"));
    EXPECT_NE(errorOf([&] { d.Wblock(QStringLiteral("d:\\out\\part.dwg"), none); }), 0);
    EXPECT_EQ(test::readBytes(native(QStringLiteral("d:\\out\\part.dxf"))), before);
}

TEST(CadDocuments, PurgeAllRemovesExactlyTheUnreferenced)
{
    test::TempHome home;
    Application app;
    Document& d = app.ActiveDocument();
    for (const char* lt : {"BYLINE", "BYENTITY", "ONLYPURGEDLAYER", "LOOSE", "CURRENTLT"})
        d.Linetypes().Add(QString::fromLatin1(lt));
    d.Layers().Add(QStringLiteral("USED")).Linetype = QStringLiteral("BYLINE");
    d.Layers().Add(QStringLiteral("EMPTY")).Linetype = QStringLiteral("ONLYPURGEDLAYER");
    d.Layers().Add(QStringLiteral("CURRENT"));
    d.Layers().Add(QStringLiteral("INBLOCK"));
    d.Layers().Add(QStringLiteral("INSPAREBLOCK"));
    d.TextStyles().Add(QStringLiteral("USEDSTYLE"));
    d.TextStyles().Add(QStringLiteral("LOOSESTYLE"));
    Block& nested = d.BlocksAdd({0, 0, 0}, QStringLiteral("NESTED"));
    nested.AddPoint({0, 0, 0})->setLayer(QStringLiteral("INBLOCK"));
    d.BlocksAdd({0, 0, 0}, QStringLiteral("HOLDER")).InsertBlock({0, 0, 0}, QStringLiteral("NESTED"), 1, 1, 1, 0);
    Block& spareInner = d.BlocksAdd({0, 0, 0}, QStringLiteral("SPAREINNER"));
    spareInner.AddPoint({0, 0, 0})->setLayer(QStringLiteral("INSPAREBLOCK"));
    d.BlocksAdd({0, 0, 0}, QStringLiteral("SPARE")).InsertBlock({0, 0, 0}, QStringLiteral("SPAREINNER"), 1, 1, 1, 0);

    Block& ms = d.ModelSpace();
    ms.AddLine({0, 0, 0}, {1, 0, 0})->setLayer(QStringLiteral("USED"));
    ms.AddLine({0, 0, 0}, {1, 1, 0})->setLinetype(QStringLiteral("BYENTITY"));
    ms.AddText(QStringLiteral("a"), {0, 0, 0}, 1)->setStyleName(QStringLiteral("USEDSTYLE"));
    ms.InsertBlock({0, 0, 0}, QStringLiteral("HOLDER"), 1, 1, 1, 0);
    Entity* gone = ms.AddLine({0, 0, 0}, {2, 0, 0});
    gone->setLayer(QStringLiteral("EMPTY"));
    gone->Delete(); // a deleted entity holds nothing
    d.setActiveLayer(QStringLiteral("CURRENT"));
    d.SetVariable(QStringLiteral("CELTYPE"), QStringLiteral("CURRENTLT"));

    d.PurgeAll();

    const struct {
        QStringList names;
        const char* what;
        bool kept;
    } cases[] = {
        {{"0", "USED", "CURRENT", "INBLOCK"}, "layers", true},
        {{"EMPTY", "INSPAREBLOCK"}, "layers", false},
        {{"Continuous", "BYLINE", "BYENTITY", "CURRENTLT"}, "linetypes", true},
        {{"ONLYPURGEDLAYER", "LOOSE"}, "linetypes", false},
        {{"Standard", "USEDSTYLE"}, "styles", true},
        {{"LOOSESTYLE"}, "styles", false},
        {{"HOLDER", "NESTED"}, "blocks", true},
        {{"SPARE", "SPAREINNER"}, "blocks", false},
    };
    for (const auto& c : cases) {
        const QString what = QString::fromLatin1(c.what);
        const QStringList have = what == QLatin1String("layers") ? tableNames(d.Layers())
            : what == QLatin1String("linetypes")                 ? tableNames(d.Linetypes())
            : what == QLatin1String("styles")                    ? tableNames(d.TextStyles())
                                                                  : blockNames(d);
        for (const QString& n : c.names)
            EXPECT_EQ(have.contains(n, Qt::CaseInsensitive), c.kept) << c.what << " " << n.toStdString();
    }
    EXPECT_EQ(ms.Count(), 4);
}

TEST(CadDocuments, DrawingFileInsertedRotatedAndExploded)
{
    test::TempHome home;
    makeFolder(QStringLiteral("d:\\frames"));
    {
        Document frame;
        frame.Layers().Add(QStringLiteral("TK")).Color = 1;
        frame.ModelSpace().AddLine({0, 0, 0}, {4, 0, 0})->setLayer(QStringLiteral("TK"));
        frame.ModelSpace().AddCircle({2, 1, 0}, 0.5);
        frame.ModelSpace().AddText(QStringLiteral("图名"), {1, 1, 0}, 0.5);
        frame.SaveAs(QStringLiteral("d:\\frames\\tk"));
    }
    Application app;
    Document& d = app.ActiveDocument();
    Block& ms = d.ModelSpace();
    Entity* ref = ms.InsertBlock({10, 20, 0}, QStringLiteral("d:\\frames\\tk.dwg"), 1, 1, 1, M_PI / 2);
    EXPECT_EQ(ref->Name(), QStringLiteral("tk"));
    EXPECT_TRUE(d.Layers().contains(QStringLiteral("TK"))) << "the file's layers come along";
    const std::vector<Entity*> parts = ref->Explode();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_FALSE(ref->isErased()) << "the reference stays until deleted";
    EXPECT_EQ(ms.Count(), 4);
    expectPoint(parts[0]->StartPoint(), 10, 20, "line start");
    expectPoint(parts[0]->EndPoint(), 10, 24, "line end turned north");
    EXPECT_EQ(parts[0]->Layer(), QStringLiteral("TK"));
    expectPoint(parts[1]->Center(), 9, 22, "circle centre");
    EXPECT_DOUBLE_EQ(parts[1]->Radius(), 0.5);
    expectPoint(parts[2]->InsertionPoint(), 9, 21, "text");
    EXPECT_NEAR(parts[2]->Rotation(), M_PI / 2, 1e-12);

    // the file changed: inserting it again redefines the block of its name
    {
        Document frame;
        frame.ModelSpace().AddPoint({1, 0, 0});
        frame.SaveAs(QStringLiteral("d:\\frames\\tk"));
    }
    Entity* again = ms.InsertBlock({0, 0, 0}, QStringLiteral("d:\\frames\\tk.dwg"), 1, 1, 1, 0);
    EXPECT_EQ(d.BlocksItem(QStringLiteral("tk")).Count(), 1);
    EXPECT_EQ(again->Explode().front()->ObjectName(), QStringLiteral("AcDbPoint"));
    EXPECT_EQ(ref->Explode().size(), 1u) << "every reference shows the new definition";

    EXPECT_EQ(errorOf([&] { ms.InsertBlock({0, 0, 0}, QStringLiteral("nosuch"), 1, 1, 1, 0); }), fail::NotFound);
    EXPECT_NE(errorOf([&] { ms.InsertBlock({0, 0, 0}, QStringLiteral("d:\\frames\\gone.dwg"), 1, 1, 1, 0); }), 0);
}

TEST(CadDocuments, BlocksAndGroupsBuiltByHand)
{
    test::TempHome home;
    Application app;
    Document& d = app.ActiveDocument();
    Block& b = d.BlocksAdd({0, 0, 0}, QStringLiteral("点位符号"));
    b.AddCircle({0, 0, 0}, 0.5);
    b.AddLine({-1, 0, 0}, {1, 0, 0});
    b.AddPoint({0, 0, 0});
    Entity* ref = d.ModelSpace().InsertBlock({100, 200, 0}, QStringLiteral("点位符号"), 2, 2, 1, 0);
    const std::vector<Entity*> parts = ref->Explode();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_DOUBLE_EQ(parts[0]->Radius(), 1);
    expectPoint(parts[1]->StartPoint(), 98, 200, "scaled line");
    expectPoint(parts[2]->Coordinate3(), 100, 200, "point");

    Group& g = d.GroupsAdd(QStringLiteral("G1"));
    g.AppendItems({parts[0], parts[1]});
    g.AppendItems({parts[1]});
    EXPECT_EQ(g.Count(), 2);
    parts[0]->Delete();
    EXPECT_EQ(g.Count(), 1) << "a deleted member leaves the group";
    EXPECT_EQ(errorOf([&] { d.GroupsAdd(QStringLiteral("g1")); }), fail::Duplicate);
}
