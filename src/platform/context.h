#pragma once
#include "settings.h"
#include "ui.h"

#include <QString>
#include <functional>

namespace kelvor {

namespace cad {
class Application; // the embedded CAD host (src/cad)
class OfficeHosts; // the word processor and the spreadsheet (platform/office.h)
}
namespace traverse {
class TraverseSheet; // the traverse sheet model (src/traverse)
}

// Main-window state that lives only in memory between two commands.
struct MainState {
    QString recentReport;        // caption of filelist(1); "" when none
    bool printcgb = false;       // 生成成果表 checked
    QString formTag = QStringLiteral("0");    // Form1.Tag: floating bar's menu choice
    QString toolbarTag = QStringLiteral("0"); // Toolbar1.Tag: "1" compact mode
    QString commonFile;          // the output menu's CommonFile; "" when none
    QString exportFolder;        // Text20: the Quelt export folder box
    bool exportToFolder = false; // Check1
    // The current folder the Quelt export sets (never the process's).
    QString currentFolder;
    // CommonDialog1: properties a command leaves stay for the next one.
    FileDialogRequest commonDialog;
    // The caption of 实体编组控制: the last group-picking switch made.
    QString groupPickCaption = QStringLiteral("实体编组控制");
    // Set by the commands that end the program (退出, the floating bar's
    // exit); the main window ends at once, the scenario runner stops.
    bool ended = false;
};

// What every command reaches: settings, the person at the screen, the CAD
// host, the traverse sheet and the main window's state. Windows fill it with
// the real implementations; tests and kelvor-run with scripted ones.
class Context {
public:
    Context(SettingsStore& settings, Ui& ui)
        : settings_(&settings), ui_(&ui) {}

    SettingsStore& settings() const { return *settings_; }
    Ui& ui() const { return *ui_; }

    // Null when no CAD host is wired in (commands then act as if none ran).
    cad::Application* cad() const { return cad_; }
    void setCad(cad::Application* app) { cad_ = app; }

    // The word processor and the spreadsheet; null when none is wired in
    // (an attach then fails 429).
    cad::OfficeHosts* office() const { return office_; }
    void setOffice(cad::OfficeHosts* hosts) { office_ = hosts; }

    traverse::TraverseSheet* sheet() const { return sheet_; }
    void setSheet(traverse::TraverseSheet* sheet) { sheet_ = sheet; }

    MainState& state() { return state_; }
    const MainState& state() const { return state_; }

    // Convenience for the many settings reads of commands.
    QString setting(const QString& key) const { return settings_->ReadSetting(key); }

    // Opens a window of the program by its form name ("HuanDaiJiSuan",
    // "seting", ...). The main window installs it; tests observe it.
    std::function<void(const QString& form)> openWindow;

private:
    SettingsStore* settings_;
    Ui* ui_;
    cad::Application* cad_ = nullptr;
    cad::OfficeHosts* office_ = nullptr;
    traverse::TraverseSheet* sheet_ = nullptr;
    MainState state_;
};

// Shows a window of the program through the context's window hook; nothing
// when no window system is wired (the scenario runner records the call).
inline void openForm(Context& ctx, const QString& form)
{
    if (ctx.openWindow)
        ctx.openWindow(form);
}

} // namespace kelvor
