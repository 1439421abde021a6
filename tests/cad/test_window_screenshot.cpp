// A picture of the CAD host window over a small survey sheet (Chinese
// texts, polylines with bulges and widths, a control-point block), written
// beside the test binary as cadwin_sheet.png for a person to look at. Run it
// under Xvfb with QT_QPA_PLATFORM=xcb to see the real window frame.
#include "cad/cad.h"
#include "cad/ui/cad_view.h"
#include "cad/ui/cad_window.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;

TEST(CadWindowPicture, FixtureSheet)
{
    test::TempHome home;
    Application app;
    home.context.setCad(&app);
    CadHostWindow win(app, home.ui);
    win.resize(1280, 860);
    home.answerOpen({test::fixture(QStringLiteral("fixtures/cadwin_sheet.dxf"))});
    win.openDrawing();
    ASSERT_EQ(home.ui.messages().size(), 0);
    ConnectToAutoCAD(home.context, {Forward::Visible, Forward::Activate});
    app.ZoomExtents();
    QApplication::processEvents();

    const QImage shot = win.grab().toImage();
    const QString out = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("cadwin_sheet.png"));
    ASSERT_TRUE(shot.save(out));
    std::cout << "picture: " << out.toStdString() << std::endl;

    // what must be in it: every colour the sheet uses
    const QImage view = win.view()->renderImage();
    for (int aci : {1, 3, 4, 5, 6, 7}) {
        bool seen = false;
        for (int y = 0; y < view.height() && !seen; ++y)
            for (int x = 0; x < view.width() && !seen; ++x)
                seen = (view.pixel(x, y) & 0xffffff) == (aciColour(aci) & 0xffffff);
        EXPECT_TRUE(seen) << "colour " << aci;
    }
    EXPECT_GT(win.scene().lastStats().texts, 10);
}
