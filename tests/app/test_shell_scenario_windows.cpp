#include "app/scenario.h"
#include "app/ui/scenario_windows.h"
#include "platform/windows.h"
#include "platform/context.h"
#include "test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QApplication>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace kelvor;

namespace {

// A small form whose every reaction lands in its log label "Label9", so
// the tests see which signals a step sends and in what order.
class Probe : public QDialog {
public:
    Probe(Context& ctx, QWidget* parent)
        : QDialog(parent)
        , ctx_(ctx)
    {
        setObjectName(QStringLiteral("probe"));
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        auto add = [&](QWidget* w, const char* name) {
            w->setObjectName(QString::fromLatin1(name));
            layout->addWidget(w);
            return w;
        };
        log_ = static_cast<QLabel*>(add(new QLabel, "Label9"));
        auto* text1 = static_cast<QLineEdit*>(add(new QLineEdit, "Text1"));
        connect(text1, &QLineEdit::textEdited, this, [this](const QString& t) { note("edited:" + t); });
        connect(text1, &QLineEdit::editingFinished, this, [this] { note("finished"); });
        add(new QLineEdit, "Text2")->hide();
        static_cast<QLineEdit*>(add(new QLineEdit(QStringLiteral("fixed")), "Text3"))->setReadOnly(true);
        auto* combo = static_cast<QComboBox*>(add(new QComboBox, "Combo1"));
        combo->addItems({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")});
        connect(combo, &QComboBox::activated, this, [this](int i) { note("activated:" + QString::number(i)); });
        auto* list = static_cast<QListWidget*>(add(new QListWidget, "List1"));
        list->addItems({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
        connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) { note("item:" + it->text()); });
        auto* check = static_cast<QCheckBox*>(add(new QCheckBox(QStringLiteral("勾选")), "Check1"));
        connect(check, &QCheckBox::clicked, this, [this](bool on) { note(on ? "check:on" : "check:off"); });
        auto* o0 = static_cast<QRadioButton*>(add(new QRadioButton(QStringLiteral("一")), "Option1(0)"));
        add(new QRadioButton(QStringLiteral("二")), "Option1(1)");
        o0->setChecked(true);
        auto* label = static_cast<QLabel*>(add(new QLabel(QStringLiteral("点我")), "Label1"));
        label->installEventFilter(this);
        auto* ask = static_cast<QPushButton*>(add(new QPushButton(QStringLiteral("问")), "Command1"));
        connect(ask, &QPushButton::clicked, this, [this] {
            const Answer a = ctx_.ui().message(QStringLiteral("继续吗？"), QStringLiteral("探针"), Icon::Question,
                                               Buttons::YesNo);
            note(a == Answer::Yes ? "yes" : "no");
        });
        add(new QPushButton(QStringLiteral("不可用")), "Command2")->setEnabled(false);
        auto* ok = static_cast<QPushButton*>(add(new QPushButton(QStringLiteral("确定")), "Command3"));
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        auto* other = static_cast<QPushButton*>(add(new QPushButton(QStringLiteral("另一个")), "Command4"));
        connect(other, &QPushButton::clicked, this, [this] { ctx_.openWindow(QStringLiteral("probe2")); });
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease)
            note("label");
        return QDialog::eventFilter(o, e);
    }

private:
    void note(const QString& s) { log_->setText(log_->text() + s + QLatin1Char(';')); }

    Context& ctx_;
    QLabel* log_ = nullptr;
};

class Probe2 : public Probe {
public:
    Probe2(Context& ctx, QWidget* parent)
        : Probe(ctx, parent)
    {
        setObjectName(QStringLiteral("probe2"));
    }
};

struct Runner {
    WindowRegistry registry;
    app::ScenarioWindowDriver driver{registry};

    Runner()
    {
        registry.addWindow<Probe>(QStringLiteral("probe"));
        registry.addWindow<Probe2>(QStringLiteral("probe2"));
        registry.add(QStringLiteral("blocking"), [](Context&, QWidget*) { ADD_FAILURE() << "opened modally"; });
    }

    app::ScenarioResult run(const QString& steps, const QString& answers = QStringLiteral("[]"))
    {
        const QString json = QStringLiteral(R"~({"settings": {"版本更新日期=": "20070405"}, "answers": %1, "run": %2})~")
                                 .arg(answers, steps);
        return app::runScenarioText(json.toUtf8(), &driver);
    }
};

QJsonObject formTexts(const app::ScenarioResult& r, const char* form)
{
    return r.output.value(QStringLiteral("forms")).toObject().value(QString::fromLatin1(form)).toObject();
}

QString logOf(const app::ScenarioResult& r, const char* form = "probe")
{
    return formTexts(r, form).value(QStringLiteral("Label9")).toString();
}

QString errorOf(const app::ScenarioResult& r)
{
    return r.output.value(QStringLiteral("error")).toString();
}

QStringList kinds(const app::ScenarioResult& r)
{
    QStringList out;
    for (const auto& e : r.output.value(QStringLiteral("events")).toArray()) {
        const QJsonObject o = e.toObject();
        out.append(o.value(QStringLiteral("kind")).toString() + QLatin1Char(':')
                   + o.value(QStringLiteral("window")).toString() + o.value(QStringLiteral("form")).toString()
                   + o.value(QStringLiteral("item")).toString() + o.value(QStringLiteral("answer")).toString());
    }
    return out;
}

} // namespace

TEST(ScenarioWindows, StepSendsWhatTypingAndClickingSend)
{
    Runner runner;
    const app::ScenarioResult r = runner.run(QStringLiteral(R"~([{"window": "probe",
        "set": [{"Text1": "北京54"}, {"Combo1": 2}, {"List1": "b.txt"}, {"Check1": true}, {"Option1(1)": true}],
        "click": "Label1"}])~"));
    ASSERT_EQ(r.exitCode, 0) << errorOf(r).toStdString();
    // typing edits (any script); moving on to the next control finishes the edit
    EXPECT_EQ(logOf(r), QStringLiteral("edited:北京54;finished;activated:2;item:b.txt;check:on;label;"));
    const QJsonObject t = formTexts(r, "probe");
    EXPECT_EQ(t.value(QStringLiteral("Text1")).toString(), QStringLiteral("北京54"));
    EXPECT_EQ(t.value(QStringLiteral("Text3")).toString(), QStringLiteral("fixed"));
    EXPECT_EQ(t.value(QStringLiteral("Combo1")).toString(), QStringLiteral("丙"));
    EXPECT_EQ(t.value(QStringLiteral("List1")).toObject(),
              (QJsonObject{{QStringLiteral("items"), QJsonArray{QStringLiteral("a.txt"), QStringLiteral("b.txt")}},
                           {QStringLiteral("index"), 1}}));
    EXPECT_TRUE(t.value(QStringLiteral("Check1")).toBool());
    EXPECT_FALSE(t.value(QStringLiteral("Option1(0)")).toBool());
    EXPECT_TRUE(t.value(QStringLiteral("Option1(1)")).toBool());
    EXPECT_EQ(t.value(QStringLiteral("Command1")).toString(), QStringLiteral("问"));
    EXPECT_EQ(kinds(r), (QStringList{QStringLiteral("step:probe"), QStringLiteral("window:probe")}));
}

TEST(ScenarioWindows, RetypingReplacesTheTextAndAnEmptyTextClearsIt)
{
    Runner runner;
    const app::ScenarioResult r = runner.run(QStringLiteral(R"~([
        {"window": "probe", "set": {"Text1": "abc"}},
        {"window": "probe", "set": {"Text1": "x"}},
        {"window": "probe", "set": {"Text1": ""}, "click": "Command1"}])~"),
                                             QStringLiteral(R"~([{"kind": "button", "value": "No"}])~"));
    ASSERT_EQ(r.exitCode, 0) << errorOf(r).toStdString();
    EXPECT_EQ(formTexts(r, "probe").value(QStringLiteral("Text1")).toString(), QString());
    EXPECT_EQ(logOf(r), QStringLiteral("edited:abc;edited:x;edited:;finished;no;"));
}

TEST(ScenarioWindows, FormStaysOpenUntilClosedAndOpensAfreshAfterwards)
{
    Runner runner;
    const app::ScenarioResult r = runner.run(QStringLiteral(R"~([
        {"window": "probe", "set": {"Check1": true}},
        {"window": "probe", "click": "Command1"},
        {"window": "probe", "close": true},
        {"window": "probe", "click": "Command3"},
        {"window": "probe"}])~"),
                                             QStringLiteral(R"~([{"kind": "button", "value": "Yes"}])~"));
    ASSERT_EQ(r.exitCode, 0) << errorOf(r).toStdString();
    // the third opening is a new form: the tick and the log are gone
    EXPECT_EQ(logOf(r), QString());
    EXPECT_FALSE(formTexts(r, "probe").value(QStringLiteral("Check1")).toBool());
    EXPECT_EQ(kinds(r), (QStringList{QStringLiteral("step:probe"), QStringLiteral("window:probe"),
                                     QStringLiteral("step:probe"), QStringLiteral("message:Yes"),
                                     QStringLiteral("step:probe"), QStringLiteral("step:probe"),
                                     QStringLiteral("window:probe"), QStringLiteral("step:probe"),
                                     QStringLiteral("window:probe")}));
}

TEST(ScenarioWindows, FormTextsAreTakenAsTheStepEnds)
{
    Runner runner;
    const app::ScenarioResult r = runner.run(QStringLiteral(R"~([
        {"window": "probe", "set": {"Text1": "1"}, "click": "Command1"},
        {"window": "probe", "click": "Command4"},
        {"window": "probe2", "set": {"Text1": "2"}, "close": true}])~"),
                                             QStringLiteral(R"~([{"kind": "button", "value": "Yes"}])~"));
    ASSERT_EQ(r.exitCode, 0) << errorOf(r).toStdString();
    // a form a button opened is open for the next step
    EXPECT_EQ(logOf(r, "probe"), QStringLiteral("edited:1;finished;yes;"));
    // closing the form ends the edit too
    EXPECT_EQ(logOf(r, "probe2"), QStringLiteral("edited:2;finished;"));
    EXPECT_EQ(formTexts(r, "probe2").value(QStringLiteral("Text1")).toString(), QStringLiteral("2"));
}

TEST(ScenarioWindows, FaultsOfAStepStopTheRunNamingWhatFailed)
{
    const struct {
        const char* steps;
        const char* error;
    } cases[] = {
        {R"~([{"window": "nosuch"}, "tishi"])~", "no form \"nosuch\""},
        {R"~([{"window": "probe", "set": {"Text9": "x"}}, "tishi"])~", "form probe has no control \"Text9\""},
        {R"~([{"window": "probe", "click": "Command9"}, "tishi"])~", "form probe has no control \"Command9\""},
        {R"~([{"window": "probe", "click": "Command2"}, "tishi"])~", "control Command2 of form probe is disabled"},
        {R"~([{"window": "probe", "set": {"Text2": "x"}}, "tishi"])~", "control Text2 of form probe is not shown"},
        {R"~([{"window": "probe", "set": {"Text3": "x"}}, "tishi"])~", "control Text3 of form probe is read-only"},
        {R"~([{"window": "probe", "set": {"Text1": true}}, "tishi"])~", "control Text1 of form probe cannot be set to true"},
        {R"~([{"window": "probe", "set": {"Check1": "x"}}, "tishi"])~", "control Check1 of form probe cannot be set to \"x\""},
        {R"~([{"window": "probe", "set": {"Combo1": 3}}, "tishi"])~", "list Combo1 of form probe has no item 3"},
        {R"~([{"window": "probe", "set": {"Combo1": "丁"}}, "tishi"])~", "list Combo1 of form probe has no item \"丁\""},
        {R"~([{"window": "probe", "set": {"Option1(0)": false}}, "tishi"])~",
         "option Option1(0) of form probe is unticked only by ticking another"},
        {R"~([{"window": "blocking"}, "tishi"])~", "form blocking opens only as a blocking window"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        Runner runner;
        const app::ScenarioResult r = runner.run(QString::fromUtf8(c.steps));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(errorOf(r), QString::fromUtf8(c.error));
        EXPECT_FALSE(kinds(r).contains(QStringLiteral("run:tishi"))); // stopped there
    }
}

TEST(ScenarioWindows, MalformedStepsAreRefusedBeforeAnythingRuns)
{
    const char* const cases[] = {
        R"~([{"window": "probe", "tick": "x"}])~",
        R"~([{"window": ""}])~",
        R"~([{"set": {"Text1": "x"}}])~",
        R"~([{"window": "probe", "set": {"Text1": {"a": 1}}}])~",
        R"~([{"window": "probe", "set": {"Combo1": -1}}])~",
        R"~([{"window": "probe", "set": {"Combo1": 1.5}}])~",
        R"~([{"window": "probe", "set": "Text1"}])~",
        R"~([{"window": "probe", "set": ["Text1"]}])~",
        R"~([{"window": "probe", "click": ["Command1"]}])~",
        R"~([{"window": "probe", "close": "yes"}])~",
    };
    for (const char* c : cases) {
        SCOPED_TRACE(c);
        Runner runner;
        const app::ScenarioResult r = runner.run(QString::fromUtf8(c));
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_FALSE(errorOf(r).isEmpty());
        EXPECT_FALSE(r.output.contains(QStringLiteral("events")));
    }
}

TEST(ScenarioWindows, AnswersAndStopsOfTheQueueHoldInsideWindows)
{
    Runner runner;
    // the box asks for a button, the queue offers an input: the run stops
    const app::ScenarioResult r = runner.run(QStringLiteral(R"~([{"window": "probe", "click": "Command1"}, "tishi"])~"),
                                             QStringLiteral(R"~([{"kind": "input", "value": "x"}])~"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(errorOf(r).contains(QStringLiteral("继续吗？"))) << errorOf(r).toStdString();
    EXPECT_FALSE(kinds(r).contains(QStringLiteral("run:tishi")));
    EXPECT_EQ(r.output.value(QStringLiteral("unused_answers")).toArray().size(), 1);
}

TEST(ScenarioWindows, WithoutWindowsAWindowStepStopsTheRun)
{
    const app::ScenarioResult r = app::runScenarioText(QByteArray(R"~({"run": [{"window": "probe"}, "tishi"]})~"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(errorOf(r).contains(QStringLiteral("probe")));
}

TEST(ScenarioWindows, MainWindowSheetIsTypedAndItsButtonsAnswered)
{
    const struct {
        const char* answer;
        QJsonObject cells;
    } cases[] = {
        {"No", QJsonObject{{QStringLiteral("0"), QStringLiteral("P1")}, {QStringLiteral("1"), QStringLiteral("90.0000")}}},
        {"Yes", QJsonObject{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        WindowRegistry registry;
        app::ScenarioWindowDriver driver(registry);
        const QString json = QStringLiteral(R"~({
            "settings": {"版本更新日期=": "20070405"},
            "sheet": {"rows": 3},
            "answers": [{"kind": "button", "value": "%1"}],
            "run": [{"window": "Form1", "set": {"Text5(0)": "P1", "Text5(1)": "90.0000"}, "click": "Command9"}]
        })~").arg(QLatin1String(c.answer));
        const app::ScenarioResult r = app::runScenarioText(json.toUtf8(), &driver);
        ASSERT_EQ(r.exitCode, 0) << errorOf(r).toStdString();
        const QJsonArray messages = r.output.value(QStringLiteral("messages")).toArray();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.at(0).toObject().value(QStringLiteral("answer")).toString(), QLatin1String(c.answer));
        // the typed cells reached the sheet, and the form shows what the sheet holds
        EXPECT_EQ(r.output.value(QStringLiteral("sheet")).toObject().value(QStringLiteral("Text5")).toObject(), c.cells);
        const QJsonObject form1 = formTexts(r, "Form1");
        EXPECT_EQ(form1.value(QStringLiteral("Text5(0)")).toString(), c.cells.value(QStringLiteral("0")).toString());
        EXPECT_EQ(form1.value(QStringLiteral("Command9")).toString(), QStringLiteral("清空"));
    }
}

TEST(ScenarioWindows, HiddenSheetRowsCannotBeTyped)
{
    WindowRegistry registry;
    app::ScenarioWindowDriver driver(registry);
    const app::ScenarioResult r = app::runScenarioText(QByteArray(R"~({
        "sheet": {"rows": 1},
        "run": [{"window": "Form1", "set": {"Text5(20)": "P3"}}]
    })~"),
                                                       &driver);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(errorOf(r), QStringLiteral("control Text5(20) of form Form1 is not shown"));
}

TEST(WindowRegistry, BuiltFormsOpenAsTheProgramOpensThem)
{
    for (const bool modal : {true, false}) {
        SCOPED_TRACE(modal);
        test::TempHome home;
        QWidget owner;
        QPointer<QWidget> made;
        WindowRegistry registry;
        registry.addBuilder(
            QStringLiteral("probe"),
            [&made](Context& ctx, QWidget* o) -> QWidget* {
                made = new Probe(ctx, o);
                return made;
            },
            modal);
        QWidget* modalSeen = nullptr;
        QTimer closer; // goes with this case, fired or not
        closer.setSingleShot(true);
        closer.callOnTimeout([&] {
            modalSeen = QApplication::activeModalWidget();
            // never leave a dialog waiting, whatever happened
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && modal)
                    d->accept();
            }
        });
        closer.start(0);
        registry.open(QStringLiteral("probe"), home.context, &owner);
        if (modal) {
            // shown modal over its owner, gone once closed
            EXPECT_NE(modalSeen, nullptr);
            EXPECT_TRUE(made.isNull());
        } else {
            // returns at once and the window stays until it is closed
            ASSERT_FALSE(made.isNull());
            EXPECT_TRUE(made->isVisible());
            EXPECT_EQ(made->parentWidget(), &owner);
            made->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(made.isNull());
        }
    }
}
