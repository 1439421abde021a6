// Script commands of the host's command line: TEXT, INSERT, the control
// points of DD, and -PLOT with the plot interface.
#include "cad/cad.h"
#include "cad/model/layouts.h"
#include "cad/ui/plot_output.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

void definePointSymbol(Document& doc)
{
    Block& b = doc.BlocksAdd({0, 0, 0}, QStringLiteral("点位符号"));
    b.AddLine({-2.5, 2.5, 0}, {2.5, 2.5, 0});
    b.AddLine({2.5, 2.5, 0}, {2.5, -2.5, 0});
    b.AddLine({2.5, -2.5, 0}, {-2.5, -2.5, 0});
    b.AddLine({-2.5, -2.5, 0}, {-2.5, 2.5, 0});
    b.AddPoint({0, 0, 0});
}

// Eleven lines per point, as the point-symbol script has them.
QString pointScript(const std::vector<std::tuple<QString, QString, QString>>& points)
{
    QString s;
    for (const auto& [name, x, y] : points)
        s += QStringLiteral("text\r\n%2,%3\r\n10\r\n0\r\n%1\r\ninsert\r\n点位符号\r\n%2,%3\r\n\r\n\r\n\r\n")
                 .arg(name, y, x);
    return s;
}

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray b = f.readAll();
    return int(b.count("/Type /Page\n") + b.count("/Type /Page\r") + b.count("/Type /Page ") + b.count("/Type /Page/")
               + b.count("/Type /Page>"));
}

} // namespace

TEST(CadScripts, PointScriptWritesTextsAndReferencesInOrder)
{
    test::CadHost h;
    definePointSymbol(h.doc());
    QDir().mkpath(h.home.path(QStringLiteral("prog")));
    const QString script = h.home.path(QStringLiteral("prog/zd.scr"));
    test::writeGbk(script, pointScript({{QStringLiteral("K1"), QStringLiteral("2551200.5"), QStringLiteral("534500.25")},
                                        {QStringLiteral("K 2"), QStringLiteral("2551210"), QStringLiteral("534510")},
                                        {QStringLiteral("K3"), QStringLiteral("2551220"), QStringLiteral("534490")}}));
    h.doc().SendCommand(QStringLiteral("SCRIPT\r") + script + QStringLiteral("\r"));
    const struct {
        QString name;
        double x, y;
    } points[] = {{QStringLiteral("K1"), 534500.25, 2551200.5}, {QStringLiteral("K 2"), 534510, 2551210},
                  {QStringLiteral("K3"), 534490, 2551220}};
    ASSERT_EQ(h.ms().Count(), 6) << h.app.transcript().toStdString();
    for (int i = 0; i < 3; ++i) {
        const auto& p = points[i];
        Entity* t = h.ms().Item(2 * i);
        Entity* r = h.ms().Item(2 * i + 1);
        ASSERT_EQ(t->ObjectName(), QStringLiteral("AcDbText")) << i;
        EXPECT_EQ(t->TextString(), p.name) << "blanks belong to the text";
        EXPECT_DOUBLE_EQ(t->Height(), 10) << i;
        EXPECT_DOUBLE_EQ(t->Rotation(), 0) << i;
        EXPECT_DOUBLE_EQ(t->InsertionPoint().x, p.x) << i;
        EXPECT_DOUBLE_EQ(t->InsertionPoint().y, p.y) << i;
        ASSERT_EQ(r->ObjectName(), QStringLiteral("AcDbBlockReference")) << i;
        EXPECT_EQ(r->Name(), QStringLiteral("点位符号")) << i;
        EXPECT_DOUBLE_EQ(r->InsertionPoint().x, p.x) << i;
        EXPECT_DOUBLE_EQ(r->InsertionPoint().y, p.y) << i;
        EXPECT_DOUBLE_EQ(r->XScaleFactor(), 1) << i;
        EXPECT_DOUBLE_EQ(r->YScaleFactor(), 1) << i;
    }
    EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("未知命令"))) << h.app.transcript().toStdString();
}

TEST(CadScripts, TextAndInsertAnswersAndTheirDefaults)
{
    const struct {
        const char* what;
        QString text;
        double height, rotation, xs, ys; // of the last entity; height 0: a reference
        QString transcript;              // expected in the transcript
    } cases[] = {
        {"text at TEXTSIZE with Enter", QStringLiteral("TEXT 1,2 \r\r30\rA B\r"), 2.5, 30, 0, 0, QString()},
        {"insert: Y scale follows X", QStringLiteral("INSERT mark 1,2 2 \r\r45\r"), 0, 45, 2, 2, QString()},
        {"insert: both scales", QStringLiteral("INSERT\rmark\r1,2\r2\r3\r\r"), 0, 0, 2, 3, QString()},
        {"insert of a missing block adds nothing", QStringLiteral("INSERT\rnone\r1,2\r\r\r\r"), -1, 0, 0, 0,
         QStringLiteral("none")},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("mark")).AddLine({0, 0, 0}, {1, 0, 0});
        h.doc().SendCommand(c.text);
        if (c.height < 0) {
            EXPECT_EQ(h.ms().Count(), 0) << c.what;
            EXPECT_TRUE(h.app.transcript().contains(c.transcript)) << c.what;
            continue;
        }
        ASSERT_EQ(h.ms().Count(), 1) << c.what << h.app.transcript().toStdString();
        Entity* e = h.ms().Item(0);
        EXPECT_NEAR(e->Rotation(), c.rotation * M_PI / 180, 1e-12) << c.what;
        if (c.height > 0) {
            EXPECT_DOUBLE_EQ(e->Height(), c.height) << c.what;
            EXPECT_EQ(e->TextString(), QStringLiteral("A B")) << c.what;
        } else {
            EXPECT_DOUBLE_EQ(e->XScaleFactor(), c.xs) << c.what;
            EXPECT_DOUBLE_EQ(e->YScaleFactor(), c.ys) << c.what;
        }
        EXPECT_DOUBLE_EQ(e->InsertionPoint().x, 1) << c.what;
        EXPECT_DOUBLE_EQ(e->InsertionPoint().y, 2) << c.what;
    }
    // a style of fixed height is not asked for one
    test::CadHost h;
    h.doc().TextStyles().Add(QStringLiteral("Fixed")).height = 7;
    h.doc().SetVariable(QStringLiteral("TEXTSTYLE"), QStringLiteral("Fixed"));
    h.doc().SendCommand(QStringLiteral("TEXT\r1,2\r15\rabc\r"));
    ASSERT_EQ(h.ms().Count(), 1);
    EXPECT_DOUBLE_EQ(h.ms().Item(0)->Height(), 7);
    EXPECT_EQ(h.ms().Item(0)->StyleName(), QStringLiteral("Fixed"));
    EXPECT_NEAR(h.ms().Item(0)->Rotation(), 15 * M_PI / 180, 1e-12);
}

TEST(CadScripts, ControlPointGivesSymbolTextsLineAndRecords)
{
    const struct {
        const char* what;
        bool block, layer;
        QString symbol;
    } cases[] = {
        {"the code's block on layer kzd", true, true, QStringLiteral("AcDbBlockReference")},
        {"a small circle without the block, on the current layer", false, false, QStringLiteral("AcDbCircle")},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        if (c.block)
            h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("131500")).AddCircle({0, 0, 0}, 1);
        if (c.layer)
            h.doc().Layers().Add(QStringLiteral("kzd"));
        h.doc().SendCommand(QStringLiteral("DD\r131500\r534500.5,2551200.25\r12.3\rGP01\r"));
        ASSERT_EQ(h.ms().Count(), 4) << c.what;
        const QString layer = c.layer ? QStringLiteral("kzd") : QStringLiteral("0");
        Entity* sym = h.ms().Item(0);
        EXPECT_EQ(sym->ObjectName(), c.symbol) << c.what;
        const Point at = c.block ? sym->InsertionPoint() : sym->Center();
        EXPECT_EQ(at, (Point{534500.5, 2551200.25, 12.3})) << c.what;
        QStringList texts;
        int lines = 0;
        for (Entity* e : h.ms().entities()) {
            EXPECT_EQ(e->Layer(), layer) << c.what;
            const XData x = e->GetXData(QStringLiteral("SOUTH"));
            ASSERT_EQ(x.size(), 2u) << c.what;
            const QString code = x[1].value.toString();
            if (e->kind() == EntityKind::Text) {
                texts << e->TextString();
                EXPECT_EQ(code, QStringLiteral("131511")) << c.what;
            } else if (e->kind() == EntityKind::Line) {
                ++lines;
                EXPECT_EQ(code, QStringLiteral("131510")) << c.what;
            } else {
                EXPECT_EQ(code, QStringLiteral("131500")) << c.what;
            }
        }
        texts.sort();
        EXPECT_EQ(texts, (QStringList{QStringLiteral("12.3"), QStringLiteral("GP01")})) << c.what;
        EXPECT_EQ(lines, 1) << c.what;
    }
}

TEST(CadPlot, PlotScriptOfTwoPagesWritesTwoPdfPages)
{
    installPlotDevices();
    test::CadHost h;
    // two pages side by side, a box in each
    h.ms().AddCircle({50, 70, 0}, 20);
    h.ms().AddLine({120, 10, 0}, {190, 130, 0});
    const QString drawing = h.home.path(QStringLiteral("plots/a.dxf"));
    QDir().mkpath(QFileInfo(drawing).path());
    h.doc().SaveAs(drawing);
    QString script;
    for (int page = 0; page < 2; ++page) {
        const double x1 = 105.0 * page, x2 = x1 + 105;
        script += QStringLiteral("-PLOT Y \r\nmodel\r\nHP Deskjet 5700 Series\r\n\r\nm\r\np\r\n W\r\n%1,148.5\r\n"
                                 "%2,0\r\r\n0,10\r\n\r\r\n\r\r\n\r\r\nY\r\n")
                      .arg(x1)
                      .arg(x2);
    }
    const QString path = h.home.path(QStringLiteral("plots/jzd.scr"));
    test::writeGbk(path, script);
    h.doc().SendCommand(QStringLiteral("SCRIPT\r") + path + QStringLiteral("\r"));
    const QString t = h.app.transcript();
    EXPECT_FALSE(t.contains(QStringLiteral("未知命令"))) << t.toStdString();
    const QStringList pdfs = QDir(QFileInfo(drawing).path()).entryList({QStringLiteral("*.pdf")}, QDir::Files,
                                                                       QDir::Name);
    ASSERT_EQ(pdfs.size(), 2) << t.toStdString();
    for (const QString& f : pdfs) {
        EXPECT_TRUE(t.contains(f)) << "the transcript names " << f.toStdString();
        EXPECT_EQ(pdfPages(QFileInfo(drawing).path() + QLatin1Char('/') + f), 1) << f.toStdString();
    }
    // the pages show their windows: the circle on the first, the line on the second
    const std::vector<PlotPage>& pages = h.app.plots();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].window.minX, 0);
    EXPECT_EQ(pages[1].window.minX, 105);
    EXPECT_EQ(pages[1].window.maxY, 148.5);
    const QImage first = renderPlotPage(h.doc(), pages[0], QSize(210, 297));
    const QImage second = renderPlotPage(h.doc(), pages[1], QSize(210, 297));
    auto ink = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += qGray(img.pixel(x, y)) < 128;
        return n;
    };
    EXPECT_GT(ink(first), 50) << "the circle";
    EXPECT_GT(ink(second), 50) << "the line";
    // the circle's centre column crosses it twice, the line's page is empty there
    const QImage a = first, b = second;
    EXPECT_NE(a, b);
}

TEST(CadPlot, PlotInterfaceWritesOnePageAFileForEachPolyline)
{
    installPlotDevices();
    test::CadHost h;
    h.doc().Layers().Add(QStringLiteral("plot"));
    for (int i = 0; i < 3; ++i) {
        Entity* p = h.ms().AddLightWeightPolyline({10.0 * i, 0, 10.0 * i + 5, 0, 10.0 * i + 5, 5});
        p->setLayer(QStringLiteral("PLOT"));
    }
    h.ms().AddLine({0, 0, 0}, {1, 1, 0})->setLayer(QStringLiteral("plot"));
    const QString folder = h.home.path(QStringLiteral("out"));
    QDir().mkpath(folder);
    h.doc().SaveAs(folder + QStringLiteral("/a") + kDrawingExtension);

    Document& doc = h.doc();
    Layouts& layouts = doc.Layouts();
    ASSERT_GE(layouts.Count(), 1);
    EXPECT_EQ(layouts.Item(0).Name(), QStringLiteral("Model"));
    doc.setActiveLayout(layouts.Item(QStringLiteral("Model")));
    Layout& model = doc.ActiveLayout();
    const QStringList devices = model.GetPlotDeviceNames();
    EXPECT_TRUE(devices.contains(QStringLiteral("默认打印机")));
    EXPECT_TRUE(devices.contains(kPdfDevice));
    EXPECT_THROW(model.setConfigName(QStringLiteral("hp deskjet 9300 series")), RunError)
        << "a device the system lacks";
    model.setConfigName(kPdfDevice);
    model.setPlotType(4);
    model.setStandardScale(0);
    int i = 0;
    for (Entity* e : doc.ModelSpace().entities()) {
        if (e->Layer().compare(QStringLiteral("plot"), Qt::CaseInsensitive) != 0
            || e->kind() != EntityKind::LwPolyline)
            continue;
        Point lo, hi;
        e->GetBoundingBox(lo, hi);
        model.SetWindowToPlot({lo.x, lo.y}, {hi.x, hi.y});
        doc.Plot().PlotToFile(folder + QLatin1Char('/') + doc.Name() + QStringLiteral("-%1").arg(i)
                              + kPlotExtension);
        ++i;
    }
    for (int k = 0; k < 3; ++k) {
        const QString f = folder + QStringLiteral("/a.dxf-%1.pdf").arg(k);
        EXPECT_EQ(pdfPages(f), 1) << f.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/a.dxf-3.pdf")));
    EXPECT_EQ(kPlotExtension, QStringLiteral(".pdf"));
}
