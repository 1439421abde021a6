// The common drawing inserted into the open one, and the sheet drawing of a
// picked point opened from the sheet folder.
#include "sheets/sheet_files.h"
#include "sheet_drawings.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheets;
using test::u;

namespace {

void writeCommonDrawing(const test::TempHome& home, const QString& name)
{
    cad::Document doc;
    doc.ModelSpace().AddLine({0, 0, 0}, {2, 0, 0});
    doc.ModelSpace().AddLine({2, 0, 0}, {2, 1, 0});
    const QString file = home.path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    cad::writeDxf(doc, file);
}

} // namespace

TEST(SheetFiles, CommonDrawingLandsLooseAtTheOrigin)
{
    test::CadHost host;
    writeCommonDrawing(host.home, QStringLiteral("d:\\common\\frame.dxf"));
    host.home.context.state().commonFile = QStringLiteral("  d:\\common\\frame.dxf ");
    insertdwgfiles_Click(host.home.context);

    const auto all = host.ms().entities();
    ASSERT_EQ(all.size(), 2u);
    for (cad::Entity* e : all)
        EXPECT_EQ(e->kind(), cad::EntityKind::Line) << "no reference left";
    EXPECT_EQ(all[1]->StartPoint(), (cad::Point{2, 0, 0}));
    EXPECT_EQ(all[1]->EndPoint(), (cad::Point{2, 1, 0}));
    EXPECT_NE(host.doc().findBlock(QStringLiteral("frame")), nullptr) << "the definition stays";
    EXPECT_TRUE(host.home.ui.messages().isEmpty());
}

TEST(SheetFiles, CommonDrawingFailures)
{
    const struct {
        const char* what;
        const char* common;
        bool stopped;
        bool message;
    } cases[] = {
        {"none chosen", "", false, true},
        {"none chosen, host stopped", "", true, true},
        {"missing file", "d:\\common\\gone.dxf", false, false},
        {"host stopped", "d:\\common\\frame.dxf", true, false},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        writeCommonDrawing(host.home, QStringLiteral("d:\\common\\frame.dxf"));
        host.home.context.state().commonFile = u(c.common);
        host.app.setRunning(!c.stopped);
        insertdwgfiles_Click(host.home.context);
        EXPECT_EQ(host.ms().Count(), 0) << c.what;
        if (c.message) {
            const QJsonObject m = test::lastMessage(host.home);
            EXPECT_EQ(m.value("text").toString(), u("请在[输出]菜单中的[通用文件名为空]下选择所需的文件！")) << c.what;
            EXPECT_EQ(m.value("title").toString(), u("错误")) << c.what;
            EXPECT_EQ(m.value("icon").toString(), u("critical")) << c.what;
        } else {
            EXPECT_TRUE(host.home.ui.messages().isEmpty()) << c.what;
        }
    }
}

TEST(SheetFiles, SheetDrawingOfAPickedPoint)
{
    const struct {
        const char* what;
        double x, y;
        bool esc, stopped;
        const char* opened; // "" when the message shows
    } cases[] = {
        {"inside", 534520, 2551350, false, false, "2551.20-534.50.dxf"},
        {"on the west edge", 534500, 2551300, false, false, "2551.20-534.50.dxf"},
        {"on the south edge", 534600, 2551200, false, false, "2551.20-534.50.dxf"},
        {"on the east edge: the next sheet", 534750, 2551300, false, false, "2551.20-534.75.dxf"},
        {"no such sheet drawing", 534000, 2551300, false, false, ""},
        {"Esc", 0, 0, true, false, ""},
        {"host stopped", 534520, 2551350, false, true, ""},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        host.home.settings.WriteSetting(QStringLiteral("Queltdxfilesavepath="), QStringLiteral("D:\\SHEETS"));
        for (const char* f : {"2551.20-534.50.dxf", "2551.20-534.75.dxf"})
            test::writeSheetDrawing(host.home, QStringLiteral("D:\\SHEETS\\") + u(f), QString(), {0, 0, 0});
        cad::Document& before = host.doc();
        if (c.esc)
            host.answer(QStringLiteral("esc"));
        else
            host.answerPoint(c.x, c.y);
        host.app.setRunning(!c.stopped);
        openzhidingtufu_Click(host.home.context);
        host.app.setRunning(true);
        if (*c.opened) {
            EXPECT_EQ(host.app.DocumentsCount(), 2) << c.what;
            EXPECT_EQ(host.doc().Name(), u(c.opened)) << c.what;
            EXPECT_TRUE(host.home.ui.messages().isEmpty()) << c.what;
        } else {
            EXPECT_EQ(&host.doc(), &before) << c.what;
            const QJsonObject m = test::lastMessage(host.home);
            EXPECT_EQ(m.value("text").toString(), u("无法找到文件或其它错误!")) << c.what;
            EXPECT_EQ(m.value("title").toString(), u("提示")) << c.what;
            EXPECT_EQ(m.value("icon").toString(), u("critical")) << c.what;
        }
    }
}
