#pragma once
#include "cad/host/application.h"
#include "platform/errors.h"
#include "platform/office.h"
#include "platform/context.h"

#include <QStringList>
#include <QVariantList>
#include <functional>
#include <vector>

// The drawing routines and automation idioms every drawing command shares.
namespace kelvor::cad {

// WINDIR: the per-user scratch folder, no trailing separator.
QString LoadWindowsDir();
// The folder picker: the chosen folder ("D:\" keeps its separator), "" when cancelled.
QString getpath(Context& ctx, const QString& prompt);

// The running host as AcadApp: error 429 when none is wired or it is stopped.
Application& attachCad(Context& ctx);

// How a command brings the host forward after connecting, in its order.
enum class Forward { Visible, Activate, Maximise };
// How a command reports that no host runs.
enum class ConnectFailure {
    Standard,      // "AutoCAD 没有运行或版本不符合！" titled "本功能需先启动AutoCAD系统"
    Silent,        // no message; the command's calls then fail
    NotStarted,    // "Autocad 未启动！" titled "提示"
    SystemOrOther, // "AutoCAD 系统未启动或其它的错误！" / "未知的错误！"
    Unavailable,   // "AutoCAD系统不可用！" titled "错误"
    Start,         // tells, then starts the host
};
inline const std::vector<Forward> kFullForward{Forward::Visible, Forward::Activate, Forward::Maximise};

// This program's own application name in extended data: marks what it keeps
// for itself beside other programs' records (an original code, its own notes).
inline const QString kOwnApplication = QStringLiteral("KELVOR");

// Connects at the start of a drawing command: the host, or null when the
// command must end (its message, if any, already shown once).
Application* ConnectToAutoCAD(Context& ctx, const std::vector<Forward>& steps = kFullForward,
                              ConnectFailure failure = ConnectFailure::Standard);

// Messages of commands whose handler meets error 429 from a later call.
enum class LaterCadError { Invalid, VersionNote };
void reportLaterCadError(Context& ctx, LaterCadError which);

// A closed old-style rectangle right of and below the point (attaches itself;
// failures reach the caller).
void addbox(Context& ctx, const Point& start, float len_box, float hei_box);

// Runs one step of a drawing command whose steps are independent: a step the
// host refuses (a RunError) is passed over and the command goes on. True when
// the step went through.
template <class F>
bool attempt(F&& step)
{
    try {
        step();
        return true;
    } catch (const RunError&) {
        return false;
    }
}

// The host's active drawing, or null when it has none (or refuses).
inline Document* activeDocument(Application& app)
{
    Document* doc = nullptr;
    attempt([&] { doc = &app.ActiveDocument(); });
    return doc;
}

// The way into the drawing for a command: connects as ConnectToAutoCAD does
// (its message, if any, shown once) and takes the active drawing; null when
// the command must end. `app` receives the host, null when none runs; a host
// without (or refusing) a drawing leaves `app` set and returns null. A later
// change of how commands reach their drawing is made here.
Document* ConnectToDrawing(Context& ctx, Application*& app, const std::vector<Forward>& steps = kFullForward,
                           ConnectFailure failure = ConnectFailure::Standard);

// As above, for a command that needs only the drawing.
inline Document* ConnectToDrawing(Context& ctx, const std::vector<Forward>& steps = kFullForward,
                                  ConnectFailure failure = ConnectFailure::Standard)
{
    Application* app = nullptr;
    return ConnectToDrawing(ctx, app, steps, failure);
}

QString axEnt2lspEnt(const Entity& entity);                      // (handent "2F3")
QString GetDoubleEntTable(const Entity& entity, const Point& p); // (list(handent "2F3")(list  100.5 -20 0))
QString axPoint2lspPoint(const Point& p);                        // 2551200.125,534500,0
QString axPoint2lspPoint(const std::vector<double>& p);          // error 13 unless three numbers

// The named set of the active document, added when absent, emptied; null
// when there is no drawing (errors are ignored).
SelectionSet* CreateSelectionSet(Context& ctx, const QString& name);
// Filter from (code, value) pairs; an odd count raises error 9.
void BuildFilter(SelectionFilter& filter, const QVariantList& pairs);
SelectionFilter BuildFilter(const QVariantList& pairs);
// Regions from the polylines the user picks (set "ss"); failures skipped.
void AddRegFromPLline(Context& ctx);

// Deletes the set of that name when present (emptied first when asked)
// and adds it anew.
SelectionSet& ScratchSelectionSet(Document& doc, const QString& name, bool clearFirst = false);

// Steps passed over when the host refuses them, for commands that go on:
// a command-line text of the active drawing; a fresh set of that name in it
// (null when refused); a set's members (none when missing or refused); a
// fresh set "text" filled with every entity the filter admits, its members.
void prompt(Application& app, const QString& text);
// A file write a command carries on past: when write raises, "无法写入:" +
// path goes to the command line and the command goes on. True when written.
bool writeOrTell(Application& app, const QString& path, const std::function<void()>& write);
SelectionSet* scratchSet(Application& app, const QString& name);
std::vector<Entity*> members(SelectionSet* set);
std::vector<Entity*> selectAll(Application& app, const SelectionFilter& filter);
// A fresh set "text" filled by the person's selection; null when the host
// refuses the set.
SelectionSet* selectOnScreen(Document& doc, const SelectionFilter& filter = {});
SelectionSet* selectOnScreen(Application& app, const SelectionFilter& filter = {});

// Command-line text: each item followed by a carriage return.
QString scriptText(const QStringList& items);
void CommandLineScript(Document& doc, const QStringList& items);
// The entity a command-line text created: model space's last item.
Entity* LastModelSpaceEntity(Document& doc);

// "question<default>:"
QString CommandLinePrompt(const QString& question, const QString& defaultValue);
// Questions with a default: an empty answer (or 0 for a number) takes it;
// Esc still fails.
QString askString(Utility& u, const QString& prompt, const QString& defaultValue, bool allowBlanks = false);
double askReal(Utility& u, const QString& prompt, double defaultValue);
int askInteger(Utility& u, const QString& prompt, int defaultValue);
bool isYes(const QString& answer); // Y or y

// Repeats the pick until it fails (Esc, Enter or an empty pick); returns how many were taken.
int PickUntilCancel(Utility& u, const QString& prompt, const std::function<void(const Point&)>& onPoint);
int PickEntitiesUntilCancel(Utility& u, const QString& prompt,
                            const std::function<void(Entity&, const Point&)>& onEntity);

void AddLocatorLine(Document& doc, double x, double y);

// Word and Excel: null after the failure message (Excel: "err ").
ExcelApplication* ConnectToExcel(Context& ctx, OfficeHosts* hosts);
// How a command reaches the word processor: the running one (the person's,
// with the document open) or a new one of its own, shown or not. Attaching
// to a shown one also brings it to the front by its caption.
enum class WordConnect { Attach, AttachShown, Start, StartShown };
// The instance; 429 when none runs (or none can be started).
WordApplication& ConnectToWord(Context& ctx, WordConnect how);

} // namespace kelvor::cad
