#include "app/scenario.h"
#include "app/ui/scenario_windows.h"
#include "platform/windows.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "test_support.h"

#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace kelvor;

namespace {

// A form with one drawing button: it asks for a point on the command line,
// puts a point there and hands the host a command text.
class Drawer : public QDialog {
public:
    Drawer(Context& ctx, QWidget* parent)
        : QDialog(parent)
    {
        setObjectName(QStringLiteral("drawer"));
        auto* b = new QPushButton(QStringLiteral("展点"), this);
        b->setObjectName(QStringLiteral("Command1"));
        (new QVBoxLayout(this))->addWidget(b);
        connect(b, &QPushButton::clicked, this, [&ctx] {
            cad::Application* app = cad::ConnectToAutoCAD(ctx);
            if (!app)
                return;
            const cad::Point p = app->ActiveDocument().Utility().GetPoint(QStringLiteral("指定点:"));
            app->ActiveDocument().ModelSpace().AddPoint(p);
            app->ActiveDocument().SendCommand(QStringLiteral("_NOSUCH\r"));
        });
    }
};

struct Fixture {
    QTemporaryDir dir;
    QString drawing = dir.filePath(QStringLiteral("base.dxf"));
    WindowRegistry registry;
    app::ScenarioWindowDriver driver{registry};

    Fixture()
    {
        registry.addWindow<Drawer>(QStringLiteral("drawer"));
        cad::Document doc;
        doc.ModelSpace().AddLine({0, 0, 0}, {100, 50, 0});
        cad::writeDxf(doc, drawing);
    }

    app::ScenarioResult run(const QString& json) { return app::runScenarioText(json.toUtf8(), &driver); }
};

QString errorOf(const app::ScenarioResult& r)
{
    return r.output.value(QStringLiteral("error")).toString();
}

} // namespace

TEST(ScenarioCad, DrawingIsOpenedAnsweredAndSavedWithoutTouchingTheFixture)
{
    Fixture f;
    const QByteArray before = test::readBytes(f.drawing);
    QTemporaryDir home;
    const app::ScenarioResult r = f.run(QStringLiteral(R"~({
        "home": "%1",
        "settings": {"版本更新日期=": "20070405"},
        "drawing": "%2",
        "answers": [{"kind": "point", "x": 10, "y": 20, "z": 0}],
        "run": [{"window": "drawer", "click": "Command1"}],
        "save_drawing": "d:\\out\\result.dxf"
    })~")
                                            .arg(home.path(), f.drawing));
    ASSERT_EQ(r.exitCode, 0) << errorOf(r).toStdString();
    const QJsonObject cadOut = r.output.value(QStringLiteral("cad")).toObject();
    EXPECT_TRUE(cadOut.value(QStringLiteral("transcript")).toString().contains(QStringLiteral("指定点:")));
    EXPECT_TRUE(cadOut.value(QStringLiteral("transcript")).toString().contains(QStringLiteral("NOSUCH")));
    EXPECT_EQ(cadOut.value(QStringLiteral("journal")).toString(), QStringLiteral("_NOSUCH\r"));
    EXPECT_TRUE(r.output.value(QStringLiteral("unused_answers")).toArray().isEmpty());

    // the saved drawing holds the fixture's line and the new point
    const QString saved = home.filePath(QStringLiteral("drives/d/out/result.dxf"));
    ASSERT_TRUE(QFile::exists(saved)) << saved.toStdString();
    const std::unique_ptr<cad::Document> doc = cad::readDxf(saved);
    ASSERT_EQ(doc->ModelSpace().Count(), 2);
    EXPECT_EQ(doc->ModelSpace().Item(0)->kind(), cad::EntityKind::Line);
    EXPECT_EQ(doc->ModelSpace().Item(1)->kind(), cad::EntityKind::Point);
    EXPECT_EQ(doc->ModelSpace().Item(1)->Coordinates(), (std::vector<double>{10, 20, 0}));
    // the command worked on a copy in the home
    EXPECT_EQ(test::readBytes(f.drawing), before);
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("drives/d/base.dxf"))));
}

TEST(ScenarioCad, StoppedHostIsReportedAsTheCommandReportsIt)
{
    Fixture f;
    const app::ScenarioResult r = f.run(QStringLiteral(R"~({
        "cad": "stopped",
        "answers": [{"kind": "point", "x": 1, "y": 2}],
        "run": [{"window": "drawer", "click": "Command1"}]
    })~"));
    ASSERT_EQ(r.exitCode, 0) << errorOf(r).toStdString();
    const QJsonArray messages = r.output.value(QStringLiteral("messages")).toArray();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.at(0).toObject().value(QStringLiteral("text")).toString(),
              QStringLiteral("AutoCAD 没有运行或版本不符合！"));
    EXPECT_EQ(r.output.value(QStringLiteral("unused_answers")).toArray().size(), 1);
}

TEST(ScenarioCad, CommandLineAnswerOfAnotherKindStopsTheRun)
{
    Fixture f;
    const app::ScenarioResult r = f.run(QStringLiteral(R"~({
        "answers": [{"kind": "real", "value": 2.5}],
        "run": [{"window": "drawer", "click": "Command1"}, "tishi"],
        "save_drawing": "d:\\after.dxf"
    })~"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(errorOf(r).contains(QStringLiteral("指定点:"))) << errorOf(r).toStdString();
    EXPECT_TRUE(r.output.value(QStringLiteral("messages")).toArray().isEmpty()); // tishi never ran
}

TEST(ScenarioCad, DrawingKeysAreCheckedBeforeAnythingRuns)
{
    Fixture f;
    QFile garbage(f.dir.filePath(QStringLiteral("garbage.dxf")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
    garbage.close();
    const QString cases[] = {
        QStringLiteral(R"~({"run": [], "cad": "stopped", "drawing": "%1"})~").arg(f.drawing),
        QStringLiteral(R"~({"run": [], "cad": "stopped", "save_drawing": "d:\\a.dxf"})~"),
        QStringLiteral(R"~({"run": [], "drawing": "%1/none.dxf"})~").arg(f.dir.path()),
        QStringLiteral(R"~({"run": [], "drawing": "d:\\none.dxf"})~"),
        QStringLiteral(R"~({"run": [], "drawing": "%1"})~").arg(garbage.fileName()),
        QStringLiteral(R"~({"run": [], "drawing": 5})~"),
        QStringLiteral(R"~({"run": [], "save_drawing": ""})~"),
    };
    for (const QString& c : cases) {
        SCOPED_TRACE(c.toStdString());
        const app::ScenarioResult r = f.run(c);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_FALSE(errorOf(r).isEmpty());
        EXPECT_FALSE(r.output.contains(QStringLiteral("events")));
    }
}
