#pragma once
#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <stdexcept>

namespace kelvor {
class CommandRegistry;
class Context;
} // namespace kelvor

namespace kelvor::app {

// What kelvor-run prints and how it ends.
struct ScenarioResult {
    QJsonObject output;
    // 0: ran to its end; 1: stopped (a command asked for another kind of
    // answer than queued, or failed); 2: malformed scenario.
    int exitCode = 0;
};

// One "window" entry of "run": open the form (or take it as it is open),
// set its controls in order, click one, close it.
struct WindowStep {
    QString form;
    // control name → text (string), tick (bool) or list index (number)
    QList<QPair<QString, QJsonValue>> set;
    QString click;
    // A control, or the form's own name for its background.
    QString doubleClick;
    bool close = false;
};

// A window step that cannot go on: an unknown form or control, a control
// that takes no such value. The run stops there with this as its error.
class WindowStepError : public std::runtime_error {
public:
    explicit WindowStepError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message)
    {
    }
    QString message() const { return message_; }

private:
    QString message_;
};

// Drives the windows of a scenario's window steps on real widgets. The
// runner itself has no widgets; kelvor-run hands it one (app/ui).
class ScenarioWindows {
public:
    virtual ~ScenarioWindows() = default;
    // Once, after the load step, before the first item runs.
    virtual void start(Context& ctx, CommandRegistry& registry) = 0;
    // A command opened the form: show it without blocking.
    virtual void opened(const QString& form) = 0;
    // Runs the step and returns the form's control texts as it ends.
    virtual QJsonObject step(const WindowStep& step) = 0;
    // After the run: every window still open goes.
    virtual void finish() = 0;
};

// Runs the commands of a scenario exactly as the menus run them, every
// answer scripted, and reports what happened. Keys of the scenario:
//   "home", "settings", "files", "copy_files", "drawing", "cad", "document",
//   "workbook", "sheet", "answers", "run", "save_drawing", and for the
//   end-to-end tests "read_files" (paths whose text, read as GBK, goes to
//   the output) and "expect" / "comment" (ignored here).
// Output: "events" (every box, dialog, window opening, item run and window
// step, in order), "messages" (the message boxes alone), "text_window",
// "sheet", "settings", "menu", "forms" (control texts of the forms that
// window steps touched), "cad" (command-line transcript and journal),
// "document", "workbook", "files" (of "read_files"), "unused_answers", and
// "error" when the run stopped or the scenario is malformed. Without
// windows, a window step stops the run.
ScenarioResult runScenario(const QJsonObject& scenario, ScenarioWindows* windows = nullptr);
ScenarioResult runScenarioText(const QByteArray& json, ScenarioWindows* windows = nullptr);

} // namespace kelvor::app
