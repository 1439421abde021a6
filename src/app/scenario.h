#pragma once
#include <QByteArray>
#include <QJsonObject>

namespace kelvor::app {

// What kelvor-run prints and how it ends.
struct ScenarioResult {
    QJsonObject output;
    // 0: ran to its end; 1: stopped (a command asked for another kind of
    // answer than queued, or failed); 2: malformed scenario.
    int exitCode = 0;
};

// Runs the commands of a scenario exactly as the menus run them, every
// answer scripted, and reports what happened. Keys of the scenario:
//   "home", "settings", "files", "drawing", "cad", "sheet", "answers",
//   "run", "save_drawing", and for the end-to-end tests "read_files" (paths
//   whose text, read as GBK, goes to the output) and "expect" / "comment"
//   (ignored here).
// Output: "events" (every box, dialog, window opening and item run, in
// order), "messages" (the message boxes alone), "text_window", "sheet",
// "settings", "menu", "files" (of "read_files"), "unused_answers", and
// "error" when the run stopped or the scenario is malformed.
ScenarioResult runScenario(const QJsonObject& scenario);
ScenarioResult runScenarioText(const QByteArray& json);

} // namespace kelvor::app
