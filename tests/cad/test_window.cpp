// The CAD host's window: what it shows, and how clicks and typing answer
// the host's command-line questions.
#include "cad/cad.h"
#include "cad/model/geom_snap.h"
#include "cad/ui/cad_view.h"
#include "cad/ui/cad_window.h"
#include "platform/paths.h"
#include "cad_host.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using kelvor::test::errorOf;

namespace {

// The person at the screen: one action for each question the window asks,
// run inside the question's wait. A question with no action left gets Esc,
// so a wrong script fails instead of hanging.
class Person : public QObject {
public:
    explicit Person(CadHostWindow& w)
        : w_(w)
    {
        connect(&w, &CadHostWindow::questionAsked, this, [this](const QString& asking) {
            asked << asking;
            std::function<void()> act;
            if (!acts_.empty()) {
                act = acts_.front();
                acts_.pop_front();
            } else {
                act = [this] { QTest::keyClick(w_.commandInput(), Qt::Key_Escape); };
            }
            QTimer::singleShot(0, this, act);
        });
    }
    Person& then(std::function<void()> act)
    {
        acts_.push_back(std::move(act));
        return *this;
    }
    Person& click(QPointF at, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {})
    {
        return then([this, at, b, m] { QTest::mouseClick(w_.view(), b, m, at.toPoint()); });
    }
    Person& type(const QString& text)
    {
        return then([this, text] {
            w_.commandInput()->insert(text);
            QTest::keyClick(w_.commandInput(), Qt::Key_Return);
        });
    }
    Person& key(Qt::Key k)
    {
        return then([this, k] { QTest::keyClick(w_.commandInput(), k); });
    }
    QStringList asked;

private:
    CadHostWindow& w_;
    std::deque<std::function<void()>> acts_;
};

struct Host : test::CadHost {
    CadHostWindow win{app, home.ui};
    Person person{win};
    Host() { win.resize(900, 700); }
    // Shown, with the drawing window given filling the view.
    void showing(const Point& a, const Point& b)
    {
        ConnectToAutoCAD(home.context, {Forward::Visible});
        QApplication::processEvents();
        app.ZoomWindow(a, b);
    }
    QImage image() { return win.view()->renderImage(); }
    double pixel() const { return 1 / win.view()->view().scale; }
};

// Where pixels of the colour lie in the image.
QRect litArea(const QImage& img, QRgb colour)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                r |= QRect(x, y, 1, 1);
    return r;
}

int litCount(const QImage& img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return n;
}

} // namespace

TEST(CadWindowColours, IndexColoursFollowTheStandardTable)
{
    struct Case {
        int aci;
        QRgb rgb;
    } cases[] = {
        {1, qRgb(255, 0, 0)},      {2, qRgb(255, 255, 0)},   {5, qRgb(0, 0, 255)},      {7, qRgb(255, 255, 255)},
        {8, qRgb(128, 128, 128)},  {10, qRgb(255, 0, 0)},    {11, qRgb(255, 127, 127)}, {12, qRgb(204, 0, 0)},
        {18, qRgb(76, 0, 0)},      {20, qRgb(255, 63, 0)},   {30, qRgb(255, 127, 0)},   {50, qRgb(255, 255, 0)},
        {90, qRgb(0, 255, 0)},     {130, qRgb(0, 255, 255)}, {170, qRgb(0, 0, 255)},    {210, qRgb(255, 0, 255)},
        {250, qRgb(51, 51, 51)},   {255, qRgb(255, 255, 255)}, {-1, qRgb(255, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(aciColour(c.aci) & 0xffffff, c.rgb & 0xffffff) << "ACI " << c.aci;
}

TEST(CadWindow, StartsHiddenAndCommandsBringItForward)
{
    Host h;
    EXPECT_FALSE(h.win.isVisible());
    ASSERT_NE(ConnectToAutoCAD(h.home.context), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(h.win.isVisible());
    EXPECT_TRUE(h.win.isMaximized());
    EXPECT_EQ(h.win.windowTitle(), h.app.Caption());
    EXPECT_TRUE(h.win.windowTitle().contains(h.doc().Name()));
}

TEST(CadWindow, ClosingStopsTheHostUntilAStartingCommand)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    h.ms().AddLine({0, 0, 0}, {10, 10, 0});
    h.home.answer(QStringLiteral("button"), QStringLiteral("No")); // the drawing is not saved
    h.win.close();
    EXPECT_FALSE(h.win.isVisible());
    EXPECT_EQ(ConnectToAutoCAD(h.home.context), nullptr);
    const QJsonArray shown = h.home.ui.messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1].toObject()[QStringLiteral("text")].toString(), QStringLiteral("AutoCAD 没有运行或版本不符合！"));
    EXPECT_EQ(shown[1].toObject()[QStringLiteral("title")].toString(), QStringLiteral("本功能需先启动AutoCAD系统"));
    EXPECT_EQ(errorOf([&] { attachCad(h.home.context); }), 429);

    // the starting variant runs it again, with one new empty drawing
    Application* started = ConnectToAutoCAD(h.home.context, {Forward::Visible}, ConnectFailure::Start);
    ASSERT_EQ(started, &h.app);
    ASSERT_TRUE(h.app.hasDocument());
    EXPECT_EQ(h.doc().ModelSpace().Count(), 0);
    EXPECT_EQ(h.win.scene().document(), &h.doc());
    EXPECT_TRUE(h.win.isVisible());
}

TEST(CadWindow, StartOrShowRunsTheHostAndOpensADrawingOnce)
{
    Host h;
    QSignalSpy running(&h.win, &CadHostWindow::runningChanged);
    h.home.answer(QStringLiteral("button"), QStringLiteral("No"));
    h.win.close();
    ASSERT_FALSE(h.app.running());

    const QString file = h.home.root() + QStringLiteral("/Site.dxf");
    {
        Document other(nullptr);
        other.ModelSpace().AddLine({0, 0, 0}, {5, 5, 0});
        writeDxf(other, file);
    }
    h.win.startOrShow(file);
    QApplication::processEvents();
    EXPECT_TRUE(h.app.running());
    EXPECT_TRUE(h.win.isVisible());
    ASSERT_TRUE(h.app.hasDocument());
    EXPECT_EQ(h.doc().ModelSpace().Count(), 1);
    const int open = h.app.DocumentsCount();
    // the same file again, in other letter case: brought forward, not read twice
    h.win.startOrShow(h.home.root() + QStringLiteral("/site.DXF"));
    EXPECT_EQ(h.app.DocumentsCount(), open);
    EXPECT_EQ(h.doc().ModelSpace().Count(), 1);
    // a missing file is named and the window still shows
    h.win.startOrShow(h.home.root() + QStringLiteral("/none.dxf"));
    EXPECT_TRUE(test::lastMessage(h.home).value("text").toString().contains(QStringLiteral("无法打开图形文件")));
    EXPECT_TRUE(h.win.isVisible());
    ASSERT_GE(running.size(), 2);
    EXPECT_FALSE(running.first().first().toBool());
    EXPECT_TRUE(running.last().first().toBool());
}

TEST(CadWindow, LongOpensAndSavesShowProgressWithTheFileNameAndKeepPainting)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    const QString file = h.home.root() + QStringLiteral("/Big.dxf");
    {
        Document big(nullptr);
        for (int i = 0; i < 30000; ++i)
            big.ModelSpace().AddLine({double(i), 0, 0}, {double(i), 10, 0});
        writeDxf(big, file);
    }
    ASSERT_GT(QFileInfo(file).size(), 3 << 20);
    h.win.setProgressDelay(0);

    QStringList seen;
    int ticks = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ++ticks;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible())
                seen << d->labelText();
    });
    watch.start(0);

    h.home.answerOpen({file});
    h.win.openDrawing();
    ASSERT_EQ(h.doc().ModelSpace().Count(), 30000);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.first().contains(QStringLiteral("正在打开 Big.dxf")));
    EXPECT_GT(ticks, 0); // events ran during the read

    seen.clear();
    ASSERT_TRUE(h.win.saveDrawing());
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.first().contains(QStringLiteral("正在保存 Big.dxf")));
    watch.stop();
    // the dialog is gone once the file is done
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QProgressDialog*>(w) && w->isVisible());
}

TEST(CadWindow, ClickAnswersGetPointWithThePaintedCoordinates)
{
    Host h;
    // a cross whose centre is painted somewhere between pixels
    const Point c{123.4, 56.7, 0};
    h.ms().AddLine({c.x - 20, c.y, 0}, {c.x + 20, c.y, 0})->setColor(1);
    h.ms().AddLine({c.x, c.y - 20, 0}, {c.x, c.y + 20, 0})->setColor(3);
    h.showing({90, 30}, {160, 80});
    const QImage img = h.image();
    const QRect horizontal = litArea(img, qRgb(255, 0, 0)), vertical = litArea(img, qRgb(0, 255, 0));
    ASSERT_FALSE(horizontal.isEmpty());
    ASSERT_FALSE(vertical.isEmpty());
    const QPoint at(vertical.center().x(), horizontal.center().y());

    Point got;
    h.person.click(at);
    got = h.doc().Utility().GetPoint(QStringLiteral("指定点:"));
    EXPECT_EQ(h.person.asked, QStringList{QStringLiteral("point")});
    EXPECT_NEAR(got.x, c.x, 1.01 * h.pixel());
    EXPECT_NEAR(got.y, c.y, 1.01 * h.pixel());
    EXPECT_TRUE(h.win.commandHistory()->toPlainText().contains(QStringLiteral("指定点:")));
    EXPECT_TRUE(h.win.asking().isEmpty());
}

TEST(CadWindow, ObjectSnapFollowsOsmode)
{
    struct Case {
        int osmode;
        double offsetPx; // click this far right of and above the line's end
        bool endpoint;   // the answer is exactly the end point
        bool onLine;     // the answer lies on the line
    } cases[] = {
        {0, 4, false, false},
        {1, 4, true, true},
        {1, 30, false, false},   // beyond the aperture
        {512, 4, false, true},   // nearest: dropped onto the line
        {513, 4, false, true},   // both: the nearer candidate, the line here
        {513, -4, true, true},   // beyond the end both land on it: the end point
        {16385, 4, false, false}, // snaps switched off
    };
    for (const Case& c : cases) {
        Host h;
        h.ms().AddLine({10, 10, 0}, {60, 10, 0});
        h.showing({0, 0}, {100, 100});
        h.doc().SetVariable(QStringLiteral("OSMODE"), c.osmode);
        // a point near the line's start, inside the line's span for the nearest snap
        const QPointF end = h.win.view()->toScreen({10, 10, 0});
        const QPointF at = QPointF((end + QPointF(c.offsetPx, -c.offsetPx)).toPoint()); // a click lands on a pixel
        h.person.click(at);
        const Point got = h.doc().Utility().GetPoint();
        EXPECT_EQ(got.x == 10 && got.y == 10, c.endpoint) << "osmode " << c.osmode << " at " << c.offsetPx;
        EXPECT_EQ(std::abs(got.y - 10) < 1e-9, c.onLine) << "osmode " << c.osmode << " at " << c.offsetPx;
        // the window hands the raw click over: the model snaps it as it snaps a scripted pick
        const double reach = 10 / h.win.view()->view().scale;
        EXPECT_EQ(got, findSnap(h.doc(), h.win.view()->toDrawing(at), c.osmode, reach).p) << "osmode " << c.osmode;
    }
}

TEST(CadWindow, ClickNearAPolylineAnswersGetEntity)
{
    Host h;
    Entity* pl = h.ms().AddLightWeightPolyline({10, 10, 50, 10, 50, 40});
    Entity* other = h.ms().AddLine({10, 20, 0}, {40, 20, 0});
    h.showing({0, 0}, {100, 60});
    const QPointF onEdge = h.win.view()->toScreen({50, 25, 0});
    h.person.click(onEdge + QPointF(2, 1));
    Point pick;
    Entity* got = h.doc().Utility().GetEntity(pick, QStringLiteral("选择对象:"));
    EXPECT_EQ(got, pl);
    EXPECT_NEAR(pick.x, 50, 3 * h.pixel());
    EXPECT_NEAR(pick.y, 25, 3 * h.pixel());

    // the nearer of two wins
    h.person.click(h.win.view()->toScreen({30, 19.8, 0}));
    EXPECT_EQ(h.doc().Utility().GetEntity(pick), other);

    // empty space: the pick fails as an empty pick does
    h.person.click(h.win.view()->toScreen({80, 50, 0}));
    EXPECT_EQ(errorOf([&] { h.doc().Utility().GetEntity(pick); }), fail::Cancelled);
}

TEST(CadWindow, BoxesAndClicksAnswerSelectOnScreen)
{
    struct Case {
        const char* name;
        bool leftward; // second corner left of the first: crossing
        QStringList expected;
    } cases[] = {
        {"crossing", true, {"inside", "crossing"}},
        {"window", false, {"inside"}},
    };
    for (const Case& c : cases) {
        Host h;
        std::map<QString, QString> names;
        names[h.ms().AddLine({20, 20, 0}, {30, 30, 0})->Handle()] = QStringLiteral("inside");
        names[h.ms().AddLightWeightPolyline({35, 25, 70, 25, 70, 28})->Handle()] = QStringLiteral("crossing");
        names[h.ms().AddCircle({80, 80, 0}, 5)->Handle()] = QStringLiteral("outside");
        h.showing({0, 0}, {100, 100});
        const QPointF a = h.win.view()->toScreen({10, 10, 0}), b = h.win.view()->toScreen({50, 40, 0});
        // both corners of the box, then Enter
        h.person.then([&h, a, b, c] {
            QTest::mouseClick(h.win.view(), Qt::LeftButton, {}, (c.leftward ? b : a).toPoint());
            QTest::mouseMove(h.win.view(), QPoint(int(a.x() + b.x()) / 2, int(a.y() + b.y()) / 2));
            QTest::mouseClick(h.win.view(), Qt::LeftButton, {}, (c.leftward ? a : b).toPoint());
            QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
        });
        SelectionSet& set = ScratchSelectionSet(h.doc(), QStringLiteral("text"));
        set.SelectOnScreen();
        QStringList got;
        for (Entity* e : set.entities())
            got << names[e->Handle()];
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(CadWindow, SelectionClicksAddShiftRemovesAndEscLeavesTheSetAlone)
{
    Host h;
    Entity* a = h.ms().AddLine({10, 10, 0}, {20, 10, 0});
    Entity* b = h.ms().AddLine({10, 30, 0}, {20, 30, 0});
    h.showing({0, 0}, {40, 40});
    const QPointF onA = h.win.view()->toScreen({15, 10, 0}), onB = h.win.view()->toScreen({15, 30, 0});
    h.person.then([&] {
        QTest::mouseClick(h.win.view(), Qt::LeftButton, {}, onA.toPoint());
        QTest::mouseClick(h.win.view(), Qt::LeftButton, {}, onB.toPoint());
        QTest::mouseClick(h.win.view(), Qt::LeftButton, Qt::ShiftModifier, onA.toPoint());
        QTest::mouseClick(h.win.view(), Qt::RightButton, {}, onA.toPoint()); // the right button ends it
    });
    SelectionSet& set = ScratchSelectionSet(h.doc(), QStringLiteral("text"));
    set.SelectOnScreen();
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Item(0), b);

    h.person.then([&] {
        QTest::mouseClick(h.win.view(), Qt::LeftButton, {}, onA.toPoint());
        QTest::keyClick(h.win.commandInput(), Qt::Key_Escape);
    });
    set.SelectOnScreen();
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Item(0), b);
    (void)a;
}

TEST(CadWindow, TypedAnswers)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    Utility& u = h.doc().Utility();

    h.person.type(QStringLiteral("12.5,30"));
    EXPECT_EQ(u.GetPoint(QStringLiteral("指定点:")), (Point{12.5, 30, 0}));
    h.person.type(QStringLiteral("1,2,3.5"));
    EXPECT_EQ(u.GetPoint(), (Point{1, 2, 3.5}));

    h.person.key(Qt::Key_Escape);
    EXPECT_EQ(errorOf([&] { u.GetPoint(); }), fail::Cancelled);
    h.person.key(Qt::Key_Return);
    EXPECT_EQ(errorOf([&] { u.GetPoint(); }), fail::NullInput);

    h.person.type(QStringLiteral("两个 词"));
    EXPECT_EQ(u.GetString(true), QStringLiteral("两个 词"));
    h.person.key(Qt::Key_Return);
    EXPECT_EQ(u.GetString(false), QString());
    h.person.type(QStringLiteral("2.75"));
    EXPECT_EQ(u.GetReal(), 2.75);
    // not a number: asked again
    h.person.type(QStringLiteral("abc")).type(QStringLiteral("7"));
    EXPECT_EQ(u.GetInteger(), 7);

    // the caller's default for an empty answer
    h.person.key(Qt::Key_Return);
    EXPECT_EQ(askReal(u, CommandLinePrompt(QStringLiteral("距离"), QStringLiteral("1.5")), 1.5), 1.5);
    h.person.key(Qt::Key_Space); // the space bar is Enter too
    EXPECT_EQ(askInteger(u, QStringLiteral("个数<4>:"), 4), 4);

    u.InitializeUserInput(0, QStringLiteral("Yes No"));
    h.person.type(QStringLiteral("n"));
    EXPECT_EQ(u.GetKeyword(QStringLiteral("是否注记面积值？[Y/N]<N>:")), QStringLiteral("No"));

    // a keyword where a point is asked
    u.InitializeUserInput(0, QStringLiteral("Close"));
    h.person.type(QStringLiteral("c"));
    EXPECT_EQ(errorOf([&] { u.GetPoint(); }), fail::Keyword);
    EXPECT_EQ(u.GetInput(), QStringLiteral("Close"));

    EXPECT_EQ(h.win.promptLabel()->text(), QStringLiteral("命令:"));
    EXPECT_TRUE(h.win.commandHistory()->toPlainText().contains(QStringLiteral("指定点:12.5,30")));
}

TEST(CadWindow, TypedNumbersADrawingCannotHoldAreAskedAgain)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    Utility& u = h.doc().Utility();
    for (const char* bad : {"nan,5", "inf,0", "-inf,2", "1e400,0", "1e309,0", "0,-1e309", "1,2,nan"}) {
        h.person.type(QString::fromLatin1(bad)).type(QStringLiteral("3,4"));
        EXPECT_EQ(u.GetPoint(), (Point{3, 4, 0})) << bad;
    }
    for (const char* bad : {"nan", "inf", "-inf", "1e400", "-1e309"}) {
        h.person.type(QString::fromLatin1(bad)).type(QStringLiteral("2.5"));
        EXPECT_EQ(u.GetReal(), 2.5) << bad;
    }
    EXPECT_EQ(h.person.asked.size(), 24);
}

TEST(CadWindow, OtherWindowsTakeNoInputWhileAQuestionWaits)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    QPushButton other(QStringLiteral("别的窗口"));
    other.show();
    int pressed = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++pressed; });
    h.person.then([&] {
        QTest::mouseClick(&other, Qt::LeftButton);
        QTest::keyClicks(h.win.commandInput(), QStringLiteral("5,6"));
        QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
    });
    EXPECT_EQ(h.doc().Utility().GetPoint(), (Point{5, 6, 0}));
    EXPECT_EQ(pressed, 0);
    QTest::mouseClick(&other, Qt::LeftButton);
    EXPECT_EQ(pressed, 1);
}

TEST(CadWindow, AQuestionShowsAHiddenWindow)
{
    Host h;
    ASSERT_FALSE(h.win.isVisible());
    h.person.then([&] {
        EXPECT_TRUE(h.win.isVisible());
        QTest::keyClick(h.win.commandInput(), Qt::Key_Escape);
    });
    EXPECT_EQ(errorOf([&] { h.doc().Utility().GetPoint(); }), fail::Cancelled);
    EXPECT_TRUE(h.app.Visible());
}

TEST(CadWindow, ZoomWindowAndZoomExtentsSetTheView)
{
    Host h;
    h.ms().AddLine({1000, 2000, 0}, {1400, 2100, 0});
    ConnectToAutoCAD(h.home.context);
    QApplication::processEvents();

    struct Case {
        Box box;
        bool extents;
    } cases[] = {{{100, 200, 300, 260}, false}, {{-5, -5, 5, 50}, false}, {{1000, 2000, 1400, 2100}, true}};
    for (const Case& c : cases) {
        if (c.extents)
            h.app.ZoomExtents();
        else
            h.app.ZoomWindow({c.box.minX, c.box.minY, 0}, {c.box.maxX, c.box.maxY, 0});
        const Box v = h.win.view()->view().visible();
        const double px = h.pixel();
        EXPECT_TRUE(c.box.inside(Box{v.minX - px, v.minY - px, v.maxX + px, v.maxY + px}));
        // one side fills the view; the extents leave a small margin on it
        const double lo = c.extents ? 4 * px : 0, hi = c.extents ? 40 * px : 2 * px;
        const auto fills = [&](double shown, double wanted) { return shown - wanted >= lo && shown - wanted < hi; };
        EXPECT_TRUE(fills(v.maxX - v.minX, c.box.maxX - c.box.minX) || fills(v.maxY - v.minY, c.box.maxY - c.box.minY))
            << c.box.minX;
        EXPECT_NEAR((v.minX + v.maxX) / 2, (c.box.minX + c.box.maxX) / 2, px);
        EXPECT_NEAR((v.minY + v.maxY) / 2, (c.box.minY + c.box.maxY) / 2, px);
    }
    // the window stays after a resize
    h.win.showNormal();
    h.win.resize(500, 400);
    QApplication::processEvents();
    h.app.ZoomWindow({100, 200, 0}, {300, 260, 0});
    h.win.resize(800, 500);
    QApplication::processEvents();
    const Box v = h.win.view()->view().visible();
    EXPECT_TRUE((Box{100, 200, 300, 260}).inside(Box{v.minX - 1, v.minY - 1, v.maxX + 1, v.maxY + 1}));
}

TEST(CadWindow, DrawingChangesShowAtOnce)
{
    Host h;
    h.doc().Layers().Add(QStringLiteral("JMD")).Color = 1;
    h.showing({0, 0}, {100, 100});
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    EXPECT_EQ(litCount(h.image(), red), 0);

    Entity* line = h.ms().AddLine({10, 50, 0}, {90, 50, 0});
    line->setLayer(QStringLiteral("JMD"));
    EXPECT_GT(litCount(h.image(), red), 100);

    line->setColor(5);
    EXPECT_EQ(litCount(h.image(), red), 0);
    EXPECT_GT(litCount(h.image(), blue), 100);

    line->Move({0, 0, 0}, {0, 30, 0});
    const QRect at = litArea(h.image(), blue);
    EXPECT_NEAR(at.center().y(), h.win.view()->toScreen({0, 80, 0}).y(), 1.5);

    line->setColor(ColorByLayer);
    h.doc().Layers().Item(QStringLiteral("JMD")).LayerOn = false; // a table change, no entity touched
    EXPECT_EQ(litCount(h.image(), red), 0);
    h.doc().Layers().Item(QStringLiteral("JMD")).LayerOn = true;
    EXPECT_GT(litCount(h.image(), red), 100);

    line->Delete();
    EXPECT_EQ(litCount(h.image(), red), 0);
}

TEST(CadWindow, BlocksWidthsAndTextsArePainted)
{
    Host h;
    Document& d = h.doc();
    Block& blk = d.BlocksAdd({0, 0, 0}, QStringLiteral("MARK"));
    blk.AddLine({-1, 0, 0}, {1, 0, 0})->setColor(ColorByBlock);
    blk.AddCircle({0, 0, 0}, 1)->setColor(3);
    Entity* ref = h.ms().InsertBlock({50, 50, 0}, QStringLiteral("MARK"), 10, 10, 1, M_PI / 2);
    ref->setColor(1);
    Entity* wide = h.ms().AddLightWeightPolyline({10, 10, 40, 10});
    wide->setConstantWidth(4);
    wide->setColor(5);
    Entity* text = h.ms().AddText(QStringLiteral("房屋"), {60, 10, 0}, 6);
    text->setColor(2);
    h.showing({0, 0}, {100, 100});
    const QImage img = h.image();
    const double px = 1 / h.pixel();

    // the block's line, turned upright by the insertion, in the insert's colour
    const QRect redArea = litArea(img, qRgb(255, 0, 0));
    EXPECT_NEAR(redArea.height(), 20 * px, 2);
    EXPECT_LE(redArea.width(), 2);
    EXPECT_NEAR(litArea(img, qRgb(0, 255, 0)).width(), 20 * px, 2);
    // a width of 4 drawing units
    EXPECT_NEAR(litArea(img, qRgb(0, 0, 255)).height(), 4 * px, 2);
    // the text inside its box: two characters of the height's width each
    const QRect yellow = litArea(img, qRgb(255, 255, 0));
    ASSERT_FALSE(yellow.isEmpty());
    const QRectF box(h.win.view()->toScreen({60, 16, 0}), h.win.view()->toScreen({72, 10, 0}));
    EXPECT_TRUE(box.adjusted(-2, -2, 2, 2).contains(QRectF(yellow))) << box.x() << "," << box.y() << " " << box.width() << "x" << box.height() << " vs " << yellow.x() << "," << yellow.y() << " " << yellow.width() << "x" << yellow.height();
    EXPECT_GT(yellow.width(), box.width() * 0.7);
}

// Kept entities of kinds the host does not model are drawn where that is
// simple, in their colours; the rest stays undrawn.
TEST(CadWindow, ForeignEntitiesAreDrawnWhereSimple)
{
    Host h;
    QByteArray dxf;
    auto put = [&dxf](std::initializer_list<std::pair<int, const char*>> groups) {
        for (const auto& [code, value] : groups)
            dxf += QByteArray::number(code).rightJustified(3, ' ') + "\r\n" + value + "\r\n";
    };
    put({{0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {8, "0"}, {2, "*D1"}, {70, "1"}, {10, "0"}, {20, "0"}, {30, "0"},
         {3, "*D1"}, {0, "LINE"}, {8, "0"}, {62, "0"}, {10, "70"}, {20, "60"}, {11, "90"}, {21, "70"}, {0, "ENDBLK"},
         {8, "0"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
    // a spline through its fit points; its control points lie far off
    put({{0, "SPLINE"}, {8, "0"}, {62, "1"}, {70, "8"}, {71, "3"}, {10, "10"}, {20, "90"}, {10, "30"}, {20, "95"},
         {11, "10"}, {21, "10"}, {11, "20"}, {21, "20"}, {11, "30"}, {21, "10"}});
    put({{0, "SPLINE"}, {8, "0"}, {62, "6"}, {10, "40"}, {20, "10"}, {10, "50"}, {20, "20"}, {10, "60"}, {20, "10"}});
    put({{0, "ELLIPSE"}, {8, "0"}, {62, "3"}, {10, "20"}, {20, "40"}, {11, "10"}, {21, "0"}, {40, "0.5"}, {41, "0"},
         {42, "6.283185307179586"}});
    put({{0, "SOLID"}, {8, "0"}, {62, "4"}, {10, "40"}, {20, "35"}, {11, "60"}, {21, "35"}, {12, "40"}, {22, "45"},
         {13, "60"}, {23, "45"}});
    put({{0, "3DFACE"}, {8, "0"}, {62, "5"}, {10, "70"}, {20, "35"}, {11, "90"}, {21, "35"}, {12, "90"}, {22, "45"},
         {13, "70"}, {23, "45"}});
    put({{0, "HATCH"}, {8, "0"}, {62, "2"}, {10, "0"}, {20, "0"}, {2, "SOLID"}, {70, "1"}, {71, "0"}, {91, "1"},
         {92, "2"}, {72, "0"}, {73, "1"}, {93, "4"}, {10, "10"}, {20, "60"}, {10, "30"}, {20, "60"}, {10, "30"},
         {20, "70"}, {10, "10"}, {20, "70"}, {97, "0"}, {75, "0"}, {76, "1"}, {98, "0"}});
    // edges: a line, the upper half circle and, clockwise, the lower half of a smaller one
    put({{0, "HATCH"}, {8, "0"}, {62, "8"}, {10, "0"}, {20, "0"}, {2, "ANSI31"}, {70, "0"}, {71, "0"}, {91, "1"},
         {92, "1"}, {93, "3"}, {72, "1"}, {10, "40"}, {20, "60"}, {11, "60"}, {21, "60"}, {72, "2"}, {10, "50"},
         {20, "60"}, {40, "10"}, {50, "0"}, {51, "180"}, {73, "1"}, {72, "2"}, {10, "50"}, {20, "60"}, {40, "5"},
         {50, "0"}, {51, "180"}, {73, "0"}, {97, "0"}, {75, "0"}, {76, "1"}, {98, "0"}});
    put({{0, "DIMENSION"}, {8, "0"}, {62, "9"}, {2, "*D1"}, {10, "90"}, {20, "70"}, {70, "32"}});
    put({{0, "MLINE"}, {8, "0"}, {62, "30"}, {10, "50"}, {20, "85"}, {11, "50"}, {21, "85"}, {11, "60"}, {21, "90"}});
    put({{0, "ENDSEC"}, {0, "EOF"}});
    QDir().mkpath(paths::resolve(QStringLiteral("d:\\maps")));
    QFile f(paths::resolve(QStringLiteral("d:\\maps\\shapes.dxf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(dxf);
    f.close();
    h.app.DocumentsOpen(QStringLiteral("d:\\maps\\shapes.dxf"));
    ASSERT_EQ(h.ms().Count(), 9);
    h.showing({0, 0}, {100, 100});
    const QImage img = h.image();

    const struct {
        const char* what;
        int aci;
        cad::Box box; // drawing units
    } drawn[] = {
        {"spline through its fit points", 1, {10, 10, 30, 20}},
        {"spline along its control points", 6, {40, 10, 60, 20}},
        {"ellipse", 3, {10, 35, 30, 45}},
        {"solid", 4, {40, 35, 60, 45}},
        {"3D face", 5, {70, 35, 90, 45}},
        {"hatch of a polyline path", 2, {10, 60, 30, 70}},
        {"hatch of line and arc edges", 8, {40, 55, 60, 70}},
        {"dimension by its block, ByBlock in its colour", 9, {70, 60, 90, 70}},
    };
    for (const auto& d : drawn) {
        const QRect lit = litArea(img, aciColour(d.aci));
        const QPointF lo = h.win.view()->toScreen({d.box.minX, d.box.maxY, 0});
        const QPointF hi = h.win.view()->toScreen({d.box.maxX, d.box.minY, 0});
        EXPECT_NEAR(lit.left(), lo.x(), 2) << d.what;
        EXPECT_NEAR(lit.top(), lo.y(), 2) << d.what;
        EXPECT_NEAR(lit.right(), hi.x(), 2) << d.what;
        EXPECT_NEAR(lit.bottom(), hi.y(), 2) << d.what;
    }
    // the solid's outline goes round it, not across its middle
    const QPointF middle = h.win.view()->toScreen({50, 40, 0});
    EXPECT_EQ(img.pixel(middle.toPoint()) & 0xffffff, 0u);
    EXPECT_EQ(litCount(img, aciColour(30)), 0) << "a multiline is not drawn";
}

TEST(CadWindow, FileMenuOpensSavesAndNamesTheDrawing)
{
    Host h;
    h.ms().AddLine({0, 0, 0}, {5, 5, 0});
    h.home.answer(QStringLiteral("save"), QStringLiteral("d:\\maps\\a.dxf"));
    QDir().mkpath(h.home.path(QStringLiteral("d:\\maps")));
    ASSERT_TRUE(h.win.saveDrawingAs());
    EXPECT_EQ(h.doc().Name(), QStringLiteral("a.dxf"));
    EXPECT_TRUE(h.win.windowTitle().contains(QStringLiteral("a.dxf")));

    h.win.newDrawing();
    EXPECT_EQ(h.app.DocumentsCount(), 2);
    EXPECT_EQ(h.doc().ModelSpace().Count(), 0);

    // the drawing open already, named in other letters: refused, no second copy
    h.home.answerOpen({QStringLiteral("D:\\MAPS\\A.DXF")});
    h.win.openDrawing();
    EXPECT_EQ(h.app.DocumentsCount(), 2);
    ASSERT_EQ(h.home.ui.messages().size(), 1);
    EXPECT_TRUE(h.home.ui.messages()[0].toObject()[QStringLiteral("text")].toString().startsWith(QStringLiteral("无法打开图形文件")));

    ASSERT_TRUE(QFile::copy(paths::resolve(QStringLiteral("d:\\maps\\a.dxf")), h.home.path(QStringLiteral("d:\\maps\\b.dxf"))));
    h.home.answerOpen({QStringLiteral("d:\\maps\\b.dxf")});
    h.win.openDrawing();
    EXPECT_EQ(h.app.DocumentsCount(), 3);
    EXPECT_EQ(h.doc().ModelSpace().Count(), 1);
    EXPECT_EQ(h.win.scene().document(), &h.doc());
    EXPECT_EQ(h.win.scene().itemCount(), 1);

    // a file that is no drawing: a message, nothing opened
    test::writeGbk(QStringLiteral("d:\\maps\\bad.dxf"), QStringLiteral("  0\r\nSECTION\r\n  2\r\n"));
    h.home.answerOpen({QStringLiteral("d:\\maps\\bad.dxf")});
    h.win.openDrawing();
    EXPECT_EQ(h.app.DocumentsCount(), 3);
    const QJsonArray shown = h.home.ui.messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].toObject()[QStringLiteral("text")].toString().startsWith(QStringLiteral("无法打开图形文件")));

    // a cancelled dialog does nothing
    h.home.answerOpen({});
    h.win.openDrawing();
    EXPECT_EQ(h.app.DocumentsCount(), 3);
}

TEST(CadWindow, ClosingWhileACommandWaitsCancelsItOnlyWhenTheWindowCloses)
{
    const struct {
        const char* what;
        QString button;
        bool closes;
    } cases[] = {
        {"Cancel: the question still waits and is answered afterwards", QStringLiteral("Cancel"), false},
        {"No: the window closes and the question is cancelled", QStringLiteral("No"), true},
    };
    for (const auto& c : cases) {
        Host h;
        h.showing({0, 0}, {100, 100});
        h.ms().AddLine({0, 0, 0}, {10, 10, 0}); // a change to ask about
        h.home.answer(QStringLiteral("button"), c.button);
        bool waitedOn = false;
        h.person.then([&] {
            h.win.close(); // while the point is asked
            waitedOn = h.win.asking() == QLatin1String("point");
            if (waitedOn) {
                h.win.commandInput()->setText(QStringLiteral("3,4"));
                QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
            }
        });
        const int error = errorOf([&] { h.doc().Utility().GetPoint(QStringLiteral("指定点:")); });
        EXPECT_EQ(waitedOn, !c.closes) << c.what;
        EXPECT_EQ(error, c.closes ? fail::Cancelled : 0) << c.what;
        EXPECT_EQ(h.app.running(), !c.closes) << c.what;
        EXPECT_TRUE(h.home.answers.empty()) << c.what;
    }
}

TEST(CadWindow, ClosingAsksToSaveModifiedDrawings)
{
    const QString file = QStringLiteral("d:\\maps\\m.dxf");
    enum Change { None, Entity, LayerColour, Variable };
    const struct {
        const char* what;
        bool named;
        Change change;
        QStringList answers; // button, then a save path when asked
        bool closes;
        int entitiesInFile; // -1: no file
    } cases[] = {
        {"an unchanged drawing closes without a question", true, None, {}, true, 0},
        {"a new empty drawing too", false, None, {}, true, -1},
        {"No discards the change", true, Entity, {QStringLiteral("No")}, true, 0},
        {"Yes saves it to its file", true, Entity, {QStringLiteral("Yes")}, true, 1},
        {"Yes on a new drawing asks for a name", false, Entity, {QStringLiteral("Yes"), file}, true, 1},
        {"a cancelled name keeps the window open", false, Entity, {QStringLiteral("Yes"), QString()}, false, -1},
        {"Cancel keeps the window open", true, Entity, {QStringLiteral("Cancel")}, false, 0},
        {"a layer's colour is a change", true, LayerColour, {QStringLiteral("Cancel")}, false, 0},
        {"a saved variable is a change", true, Variable, {QStringLiteral("Cancel")}, false, 0},
    };
    for (const auto& c : cases) {
        Host h;
        QDir().mkpath(h.home.path(QStringLiteral("d:\\maps")));
        if (c.named) {
            Document fresh;
            fresh.SaveAs(file);
            h.app.DocumentsOpen(file);
            h.app.DocumentsItem(0).Close();
        }
        h.showing({0, 0}, {100, 100});
        if (c.change == Entity)
            h.ms().AddLine({0, 0, 0}, {10, 10, 0});
        else if (c.change == LayerColour)
            h.doc().Layers().Item(QStringLiteral("0")).Color = 1;
        else if (c.change == Variable)
            h.doc().SetVariable(QStringLiteral("USERR1"), 500.0);
        for (qsizetype i = 0; i < c.answers.size(); ++i) {
            if (i == 0)
                h.home.answer(QStringLiteral("button"), c.answers[i]);
            else if (c.answers[i].isEmpty())
                h.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
            else
                h.home.answer(QStringLiteral("save"), c.answers[i]);
        }
        h.win.close();
        QApplication::processEvents();
        EXPECT_EQ(h.win.isVisible(), !c.closes) << c.what;
        EXPECT_EQ(h.app.running(), !c.closes) << c.what;
        EXPECT_EQ(h.app.hasDocument(), !c.closes) << c.what;
        EXPECT_TRUE(h.home.answers.empty()) << c.what;
        const QJsonArray shown = h.home.ui.messages();
        EXPECT_EQ(shown.size(), c.answers.isEmpty() ? 0 : 1) << c.what;
        if (!shown.isEmpty()) {
            const QString text = shown[0].toObject()[QStringLiteral("text")].toString();
            EXPECT_TRUE(text.startsWith(QStringLiteral("是否将改动保存到"))) << c.what;
            EXPECT_EQ(shown[0].toObject()[QStringLiteral("buttons")].toString(), QStringLiteral("YesNoCancel"));
        }
        const QString native = paths::resolve(file);
        if (c.entitiesInFile < 0) {
            EXPECT_FALSE(QFileInfo::exists(native)) << c.what;
        } else {
            EXPECT_EQ(readDxf(native)->ModelSpace().Count(), c.entitiesInFile) << c.what;
        }
        if (!c.closes) {
            EXPECT_FALSE(h.doc().Saved()) << c.what << ": still to be saved";
        }
    }
}

TEST(CadWindow, MenusCommandsAddShowAndSendTheirMacros)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    const int ownMenus = h.win.menuBar()->actions().size();
    PopupMenu& m = h.app.MenuGroupsItem(0).MenusAdd(QStringLiteral("集成功能"));
    m.AddMenuItem(m.Count() + 1, QStringLiteral("&T图像透明度"), QStringLiteral("\x1b\x1b_transparency "))
        .HelpString = QStringLiteral("用来控制图像的透明/Kelvor");
    m.AddMenuItem(m.Count() + 1, QStringLiteral("&K图像框架"), QStringLiteral("\x1b\x1b_imageframe "));
    m.AddSeparator(m.Count());
    m.InsertInMenuBar(h.app.MenuBarCount() + 1);
    QApplication::processEvents();
    const QList<QAction*> bar = h.win.menuBar()->actions();
    ASSERT_EQ(bar.size(), ownMenus + 1) << "the host's own empty menus add nothing";
    EXPECT_EQ(bar.back()->text(), QStringLiteral("集成功能"));
    ASSERT_EQ(h.win.hostMenus().size(), 1u);
    const QList<QAction*> items = h.win.hostMenus().front()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&T图像透明度"));
    EXPECT_EQ(items[0]->statusTip(), QStringLiteral("用来控制图像的透明/Kelvor"));
    EXPECT_TRUE(items[2]->isSeparator());

    // chosen, the macro goes to the command line and the command asks on
    h.person.type(QStringLiteral("2"));
    items[1]->trigger();
    EXPECT_EQ(h.person.asked, QStringList{QStringLiteral("keyword")});
    EXPECT_TRUE(h.app.journal().contains(QStringLiteral("_imageframe\r")));
    EXPECT_TRUE(h.app.transcript().contains(QStringLiteral("IMAGEFRAME = 2")));
    EXPECT_TRUE(h.win.commandInput()->text().isEmpty());

    // chosen while a command waits, it cancels that command first
    QStringList ran;
    h.app.registerCommand(QStringLiteral("MARKIT"), [&](CommandInput& in) {
        ran << axPoint2lspPoint(in.document().Utility().GetPoint(QStringLiteral("指定点:")));
    });
    h.person.then([&] { items[0]->trigger(); }).key(Qt::Key_Return);
    h.win.commandInput()->setText(QStringLiteral("markit"));
    QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_EQ(h.person.asked, (QStringList{QStringLiteral("keyword"), QStringLiteral("point"), QStringLiteral("select")}));
    EXPECT_TRUE(h.app.journal().endsWith(QStringLiteral("_transparency\r")));
    EXPECT_TRUE(h.win.asking().isEmpty());

    // items added later show too
    m.AddMenuItem(0, QStringLiteral("&L图层"), QStringLiteral("-layer "));
    QApplication::processEvents();
    ASSERT_EQ(h.win.hostMenus().size(), 1u);
    EXPECT_EQ(h.win.hostMenus().front()->actions().size(), 4);
}

TEST(CadWindow, TypedCommandsRunOnTheCommandLine)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    QStringList ran;
    h.app.registerCommand(QStringLiteral("MARKIT"), [&](CommandInput& in) {
        const Point p = in.document().Utility().GetPoint(QStringLiteral("指定点:"));
        ran << axPoint2lspPoint(p);
    });
    h.person.type(QStringLiteral("3,4"));
    h.win.commandInput()->setText(QStringLiteral("markit"));
    QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
    EXPECT_EQ(ran, QStringList{QStringLiteral("3,4,0")});
    h.win.commandInput()->setText(QStringLiteral("nosuch"));
    QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
    EXPECT_TRUE(h.win.commandHistory()->toPlainText().contains(QStringLiteral("未知命令“NOSUCH”")));
}

TEST(CadWindow, HelpListsTheHostsCommandsWhereverItIsAsked)
{
    // the hint after an unknown command sends the person to F1
    const struct {
        const char* way;
        std::function<void(Host&)> ask;
    } ways[] = {
        {"F1 on the command line", [](Host& h) { QTest::keyClick(h.win.commandInput(), Qt::Key_F1); }},
        {"F1 over the drawing", [](Host& h) { QTest::keyClick(h.win.view(), Qt::Key_F1); }},
        {"HELP typed",
         [](Host& h) {
             h.win.commandInput()->setText(QStringLiteral("help"));
             QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
         }},
        {"? typed",
         [](Host& h) {
             h.win.commandInput()->setText(QStringLiteral("?"));
             QTest::keyClick(h.win.commandInput(), Qt::Key_Return);
         }},
    };
    for (const auto& w : ways) {
        Host h;
        h.showing({0, 0}, {100, 100});
        w.ask(h);
        const QStringList lines = h.win.commandHistory()->toPlainText().split(QLatin1Char('\n'));
        // every command the scripts send, on a line of its own with a Chinese description
        for (const char* name : {"OFFSET", "TRIM", "PEDIT", "BPOLY", "LAYER", "CHANGE", "IMAGECLIP", "TEXT", "INSERT",
                                 "DD", "STATDLJ", "GBBLC1", "LINEWIDTH", "SCRIPT", "PLOT", "HELP"}) {
            const QString n = QString::fromLatin1(name);
            const auto line = std::find_if(lines.begin(), lines.end(), [&](const QString& l) {
                return l.trimmed().section(QStringLiteral("  "), 0, 0).split(QStringLiteral(", ")).contains(n);
            });
            ASSERT_NE(line, lines.end()) << w.way << ": " << name;
            const QString description = line->trimmed().section(QStringLiteral("  "), 1).trimmed();
            EXPECT_TRUE(std::any_of(description.begin(), description.end(), [](QChar ch) { return ch.unicode() >= 0x4e00; }))
                << w.way << ": " << name;
        }
        // and the command line is ready for the next command
        EXPECT_TRUE(lines.last().startsWith(QStringLiteral("命令:"))) << w.way;
        EXPECT_TRUE(h.win.asking().isEmpty()) << w.way;
    }
}

TEST(CadWindow, ZoomExtentsKeepsTheOutermostLinesInside)
{
    Host h;
    h.showing({0, 0}, {100, 100});
    h.ms().AddLightWeightPolyline({0, 0, 300, 0, 300, 100, 0, 100, 0, 0})->setColor(1);
    h.win.zoomExtents();
    const QImage shot = h.win.view()->grab().toImage();
    const QRgb red = aciColour(1) & 0xffffff;
    // the frame's sides are lit a few pixels in from the window's edges, and
    // the edges themselves stay dark
    const int midX = shot.width() / 2, midY = shot.height() / 2;
    const QRect lit = litArea(shot, red);
    EXPECT_GE(lit.left(), 3);
    EXPECT_LE(lit.right(), shot.width() - 4);
    EXPECT_GE(lit.top(), 3);
    EXPECT_LE(lit.bottom(), shot.height() - 4);
    for (const QPoint edge : {QPoint(0, midY), QPoint(shot.width() - 1, midY), QPoint(midX, 0),
                              QPoint(midX, shot.height() - 1)})
        EXPECT_NE(shot.pixel(edge) & 0xffffff, red) << edge.x() << "," << edge.y();
    // the two long sides are whole: lit at the middle column
    int hits = 0;
    for (int y = 0; y < shot.height(); ++y)
        hits += (shot.pixel(midX, y) & 0xffffff) == red;
    EXPECT_GE(hits, 2);
    // what scripts read back of the zoom is the drawing's extents, unmargined
    h.app.ZoomExtents();
    EXPECT_EQ(h.app.view().minX, 0);
    EXPECT_EQ(h.app.view().maxX, 300);
    EXPECT_EQ(h.app.events().last(), QStringLiteral("ZoomExtents"));
}
