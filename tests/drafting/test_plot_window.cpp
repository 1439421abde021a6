// The plot window's operations: one file per polyline of a layer or
// reference of a block, and all layouts.
#include "drafting/plot_window.h"
#include "drafting/ui/plotdwg.h"
#include "drafting_host.h"
#include "cad/ui/plot_output.h"

#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

namespace {

struct PlotHost : test::DraftingHost {
    PlotHost()
    {
        installPlotDevices();
        doc().setFullName(home.path(QStringLiteral("d:\\a.dxf")));
    }
    QStringList written() const
    {
        return QDir(home.path(QStringLiteral("c:\\Test"))).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace

TEST(PlotWindow, OneFilePerPolylineOfTheLayer)
{
    const struct {
        const char* name;
        const char* layer;
        QStringList files;
    } cases[] = {
        {"layer 0", "0", {"a.dxf-0.pdf", "a.dxf-1.pdf", "a.dxf-2.pdf"}},
        {"any letter case", "WALLS", {"a.dxf-0.pdf"}},
        {"no such layer", "none", {}},
    };
    for (const auto& c : cases) {
        PlotHost h;
        h.square(0, 0, 10);
        h.ms().AddLine({0, 0, 0}, {50, 50, 0});
        h.square(20, 0, 10);
        h.square(40, 0, 5);
        h.doc().Layers().Add(QStringLiteral("walls"));
        h.square(60, 0, 5)->setLayer(QStringLiteral("walls"));
        drafting::PlotWindow w(h.context);
        w.PlotAllPlotRgn(QString::fromLatin1(c.layer));
        EXPECT_EQ(h.written(), c.files) << c.name;
        EXPECT_EQ(int(h.app.plots().size()), int(c.files.size())) << c.name;
        for (const PlotPage& p : h.app.plots()) {
            EXPECT_EQ(p.device, kDefaultPrinter) << c.name;
            EXPECT_TRUE(p.window.valid()) << c.name;
        }
        EXPECT_EQ(h.doc().ActiveLayout().PlotType(), 4) << c.name;
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("BACKGROUNDPLOT")).toInt(), 2) << c.name;
        EXPECT_EQ(h.app.WindowState(), 3) << c.name;
    }
}

TEST(PlotWindow, BlockReferencesOnTheFileDeviceWithoutConnecting)
{
    PlotHost h;
    h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("CIR")).AddCircle({0, 0, 0}, 3);
    h.ms().InsertBlock({0, 0, 0}, QStringLiteral("CIR"), 1, 1, 1, 0);
    h.square(0, 0, 10);
    h.ms().InsertBlock({50, 0, 0}, QStringLiteral("cir"), 1, 1, 1, 0);
    drafting::PlotWindow w(h.context);
    w.PlotAllPlotBlk(QStringLiteral("Cir"));
    EXPECT_EQ(h.written(), (QStringList{QStringLiteral("a.dxf-0.pdf"), QStringLiteral("a.dxf-1.pdf")}));
    ASSERT_EQ(h.app.plots().size(), 2u);
    EXPECT_EQ(h.app.plots()[1].device, kPdfDevice);
    EXPECT_DOUBLE_EQ(h.app.plots()[1].window.minX, 47);
    EXPECT_EQ(h.app.activations(), 0);
}

TEST(PlotWindow, LayoutsIntoTheTestFolderAndButtons)
{
    PlotHost h;
    h.square(0, 0, 10);
    drafting::PlotWindow w(h.context);
    w.PlotAllLayouts();
    EXPECT_EQ(h.written(), QStringList{QStringLiteral("a.pdf")});

    drafting::Plotdwg form(h.context);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Form3"));
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("cmd1"))->text(), u("确定"));
    form.findChild<QPushButton*>(QStringLiteral("cmd2"))->click();
    EXPECT_EQ(h.written(),
              (QStringList{QStringLiteral("a.dxf-0.pdf"), QStringLiteral("a.pdf")}));
    EXPECT_TRUE(h.ui.messages().isEmpty());
}

TEST(PlotWindow, WithoutAHostTheStandardMessageOnce)
{
    test::TempHome home;
    drafting::PlotWindow w(home.context);
    w.cmd2_Click();
    w.cmd1_Click();
    w.PlotAllPlotBlk(QStringLiteral("x"));
    w.PlotAllLayouts();
    w.ListPrinters();
    EXPECT_EQ(test::messageTexts(home),
              (QStringList{u("AutoCAD 没有运行或版本不符合！"), u("AutoCAD 没有运行或版本不符合！")}));
}
