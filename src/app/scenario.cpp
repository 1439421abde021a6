#include "scenario.h"

#include "registry.h"
#include "scenario_documents.h"
#include "startup.h"

#include "platform/common_file.h"
#include "cad/host/application.h"
#include "cad/host/cmd_commands.h"
#include "cad/dxf/dxf.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/doc/host.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/scripted.h"
#include "platform/settings.h"
#include "platform/sheet/sheet_host.h"
#include "platform/text_file.h"
#include "traverse/sheet.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <optional>
#include <variant>

namespace kelvor::app {

namespace {

class Malformed : public std::runtime_error {
public:
    explicit Malformed(const QString& m) : std::runtime_error(m.toStdString()), text(m) {}
    QString text;
};

const QStringList kKeys = {
    QStringLiteral("home"),    QStringLiteral("settings"), QStringLiteral("files"),
    QStringLiteral("drawing"), QStringLiteral("cad"),      QStringLiteral("sheet"),
    QStringLiteral("answers"), QStringLiteral("run"),      QStringLiteral("save_drawing"),
    QStringLiteral("read_files"), QStringLiteral("expect"), QStringLiteral("comment"),
    QStringLiteral("document"), QStringLiteral("copy_files"),
    QStringLiteral("workbook"),
};

const QStringList kAnswerKinds = {
    QStringLiteral("button"), QStringLiteral("input"),   QStringLiteral("open"),    QStringLiteral("save"),
    QStringLiteral("folder"), QStringLiteral("point"),   QStringLiteral("entity"),  QStringLiteral("string"),
    QStringLiteral("real"),   QStringLiteral("integer"), QStringLiteral("keyword"), QStringLiteral("select"),
    QStringLiteral("enter"),  QStringLiteral("esc"),
};

QString scalarText(const QJsonValue& v, const QString& where)
{
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', 15);
    throw Malformed(QStringLiteral("%1: a text is expected").arg(where));
}

// Cells by index: {"3": "B"} or ["A", "", ...].
void readCells(const QJsonValue& v, int count, const QString& name,
               const std::function<void(int, const QString&)>& set)
{
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        if (a.size() > count)
            throw Malformed(QStringLiteral("sheet.%1 has more than %2 cells").arg(name).arg(count));
        for (int i = 0; i < a.size(); ++i)
            set(i, scalarText(a.at(i), QStringLiteral("sheet.%1[%2]").arg(name).arg(i)));
        return;
    }
    if (!v.isObject())
        throw Malformed(QStringLiteral("sheet.%1 must be an object or an array").arg(name));
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool ok = false;
        const int i = it.key().toInt(&ok);
        if (!ok || i < 0 || i >= count)
            throw Malformed(QStringLiteral("sheet.%1: no cell \"%2\"").arg(name, it.key()));
        set(i, scalarText(it.value(), QStringLiteral("sheet.%1.%2").arg(name, it.key())));
    }
}

QJsonObject sheetCells(const traverse::TraverseSheet& sheet)
{
    QJsonObject t1, t5;
    for (int i = 0; i < traverse::TraverseSheet::KnownCells; ++i) {
        if (!sheet.text1(i).isEmpty())
            t1.insert(QString::number(i), sheet.text1(i));
    }
    for (int i = 0; i < traverse::TraverseSheet::StationCells; ++i) {
        if (!sheet.text5(i).isEmpty())
            t5.insert(QString::number(i), sheet.text5(i));
    }
    return QJsonObject{{QStringLiteral("Text1"), t1},
                       {QStringLiteral("Text5"), t5},
                       {QStringLiteral("Combo1"), sheet.grade()},
                       {QStringLiteral("Combo2"), sheet.contourInterval()},
                       {QStringLiteral("rows"), sheet.shownRows()}};
}

// Paths in the output read as the program names them: below the mapped
// drives Windows-style, below the home "<home>/...".
class PathMapper {
public:
    explicit PathMapper(const QString& home)
        : home_(QDir::cleanPath(QFileInfo(home).absoluteFilePath()))
        , drives_(QDir::cleanPath(paths::current().drivesRoot))
    {
    }
    // A file handed to the text window, as the program would name it.
    QString file(const QString& s) const
    {
        const QString native = paths::resolve(s);
        return map(native.startsWith(drives_ + QLatin1Char('/')) ? native : s);
    }
    QString map(const QString& s) const
    {
        if (s.startsWith(drives_ + QLatin1Char('/')))
            return paths::toWindows(s);
        QString out = s;
        out.replace(home_, QStringLiteral("<home>"));
        return out;
    }
    QJsonValue map(const QJsonValue& v) const
    {
        if (v.isString())
            return map(v.toString());
        if (v.isArray()) {
            QJsonArray a;
            for (const auto& e : v.toArray())
                a.append(map(e));
            return a;
        }
        if (v.isObject()) {
            QJsonObject o;
            const QJsonObject in = v.toObject();
            for (auto it = in.begin(); it != in.end(); ++it)
                o.insert(it.key(), map(it.value()));
            return o;
        }
        return v;
    }

private:
    QString home_;
    QString drives_;
};

QString resolveIn(const QString& home, const QString& path)
{
    if (paths::isDrivePath(path) || path.startsWith(QLatin1Char('/')))
        return paths::resolve(path);
    return paths::resolve(home + QLatin1Char('/') + path);
}

// The kinds of "run" entries. Each has a reader, a name for the error texts,
// a mark among the events and a runner; readEntry alone decides the kind.

// "name": a registered item, run as its menu runs it.
struct ItemStep {
    QString name;
};

// {"command_line": text}: the text typed at the CAD host's command line of
// the active drawing, a carriage return after it.
struct CommandLineStep {
    QString text;
};

using RunEntry = std::variant<ItemStep, WindowStep, CommandLineStep>;

ItemStep readItem(const QJsonValue& v, const CommandRegistry& registry)
{
    if (!v.isString() || !registry.has(v.toString()))
        throw Malformed(QStringLiteral("no item \"%1\"").arg(v.toVariant().toString()));
    return ItemStep{v.toString()};
}

const QStringList kStepKeys = {QStringLiteral("window"), QStringLiteral("set"), QStringLiteral("click"),
                               QStringLiteral("double_click"), QStringLiteral("close")};

void checkSetValue(const QString& control, const QJsonValue& v, const QString& where)
{
    if (v.isString() || v.isBool())
        return;
    if (v.isDouble() && v.toDouble() >= 0 && v.toDouble() == double(qint64(v.toDouble())))
        return;
    throw Malformed(QStringLiteral("%1: \"%2\" takes a text, true, false or a list index").arg(where, control));
}

// {"window": form, "set": {control: value} or [{control: value}, ...],
//  "click": control, "double_click": control or form, "close": true}
WindowStep readWindowStep(const QJsonObject& o, int index)
{
    const QString where = QStringLiteral("run[%1]").arg(index);
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!kStepKeys.contains(it.key()))
            throw Malformed(QStringLiteral("%1: unknown key \"%2\"").arg(where, it.key()));
    }
    WindowStep step;
    const QJsonValue form = o.value(QStringLiteral("window"));
    if (!form.isString() || form.toString().isEmpty())
        throw Malformed(QStringLiteral("%1: \"window\" must name a form").arg(where));
    step.form = form.toString();
    const QJsonValue set = o.value(QStringLiteral("set"));
    auto addSets = [&](const QJsonObject& pairs) {
        for (auto it = pairs.begin(); it != pairs.end(); ++it) {
            checkSetValue(it.key(), it.value(), where);
            step.set.append({it.key(), it.value()});
        }
    };
    if (set.isObject()) {
        addSets(set.toObject());
    } else if (set.isArray()) {
        // a list keeps the order in which the controls are set
        for (const auto& e : set.toArray()) {
            if (!e.isObject())
                throw Malformed(QStringLiteral("%1: every element of \"set\" must be an object").arg(where));
            addSets(e.toObject());
        }
    } else if (!set.isUndefined()) {
        throw Malformed(QStringLiteral("%1: \"set\" must be an object or a list of objects").arg(where));
    }
    const QJsonValue click = o.value(QStringLiteral("click"));
    if (!click.isUndefined() && (!click.isString() || click.toString().isEmpty()))
        throw Malformed(QStringLiteral("%1: \"click\" must name a control").arg(where));
    step.click = click.toString();
    const QJsonValue doubleClick = o.value(QStringLiteral("double_click"));
    if (!doubleClick.isUndefined() && (!doubleClick.isString() || doubleClick.toString().isEmpty()))
        throw Malformed(QStringLiteral("%1: \"double_click\" must name a control or the form").arg(where));
    step.doubleClick = doubleClick.toString();
    const QJsonValue close = o.value(QStringLiteral("close"));
    if (!close.isUndefined() && !close.isBool())
        throw Malformed(QStringLiteral("%1: \"close\" must be true or false").arg(where));
    step.close = close.toBool();
    return step;
}

CommandLineStep readCommandLine(const QJsonObject& o, int index)
{
    if (o.size() != 1 || !o.value(QStringLiteral("command_line")).isString())
        throw Malformed(QStringLiteral("run[%1]: \"command_line\" takes one text").arg(index));
    return CommandLineStep{o.value(QStringLiteral("command_line")).toString()};
}

// An object with "command_line" is typed at the command line, any other
// object is a window step, anything else names an item.
RunEntry readEntry(const QJsonValue& v, int index, const CommandRegistry& registry)
{
    if (!v.isObject())
        return readItem(v, registry);
    const QJsonObject o = v.toObject();
    if (o.contains(QStringLiteral("command_line")))
        return readCommandLine(o, index);
    return readWindowStep(o, index);
}

QString nameOf(const ItemStep& s) { return s.name; }
QString nameOf(const WindowStep& s) { return s.form; }
QString nameOf(const CommandLineStep& s) { return s.text; }

QJsonObject markOf(const ItemStep& s)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("run")}, {QStringLiteral("item"), s.name}};
}
QJsonObject markOf(const WindowStep& s)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("step")}, {QStringLiteral("window"), s.form}};
}
QJsonObject markOf(const CommandLineStep& s)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("command_line")}, {QStringLiteral("text"), s.text}};
}

// Runs an entry of each kind; a failure is thrown.
struct EntryRunner {
    CommandRegistry& registry;
    Context& ctx;
    cad::Application& host;
    ScenarioWindows* windows;
    // control texts of the forms that window steps touched
    QJsonObject& forms;

    void operator()(const ItemStep& s) const { registry.run(s.name, ctx); }
    void operator()(const WindowStep& s) const
    {
        if (!windows)
            throw WindowStepError(QStringLiteral("the window step of %1 needs kelvor-run's windows").arg(s.form));
        forms.insert(s.form, windows->step(s));
    }
    void operator()(const CommandLineStep& s) const { host.ActiveDocument().SendCommand(s.text + QLatin1Char('\r')); }
};

// "" when the entry ran, else why it stopped the run.
QString runEntry(const RunEntry& entry, const EntryRunner& runner)
{
    const QString name = std::visit([](const auto& s) { return nameOf(s); }, entry);
    try {
        std::visit(runner, entry);
    } catch (const WindowStepError& e) {
        return e.message();
    } catch (const ScriptMismatch& e) {
        return e.message();
    } catch (const RunError& e) {
        return QStringLiteral("%1 ended with the uncaught error %2").arg(name).arg(e.number());
    } catch (const std::exception& e) {
        return QStringLiteral("%1 failed: %2").arg(name, QString::fromLocal8Bit(e.what()));
    }
    return QString();
}

QString textKey(const QJsonObject& sc, const char* key)
{
    const QJsonValue v = sc.value(QLatin1String(key));
    if (v.isUndefined())
        return QString();
    if (!v.isString() || v.toString().isEmpty())
        throw Malformed(QStringLiteral("\"%1\" must be a path").arg(QLatin1String(key)));
    return v.toString();
}

// The scenario as checked before anything is written.
struct Checked {
    bool cadStopped = false;
    QString drawing;
    QString saveDrawing;
    AnswerQueue answers;
    std::vector<RunEntry> entries;
};

void checkKeys(const QJsonObject& sc, Checked& checked)
{
    for (auto it = sc.begin(); it != sc.end(); ++it) {
        if (!kKeys.contains(it.key()))
            throw Malformed(QStringLiteral("unknown key \"%1\"").arg(it.key()));
    }
    if (sc.contains(QStringLiteral("cad")) && sc.value(QStringLiteral("cad")).toString() != QLatin1String("stopped"))
        throw Malformed(QStringLiteral("\"cad\" takes only \"stopped\""));
    checked.cadStopped = sc.contains(QStringLiteral("cad"));
    checked.drawing = textKey(sc, "drawing");
    checked.saveDrawing = textKey(sc, "save_drawing");
    if (checked.cadStopped && (!checked.drawing.isEmpty() || !checked.saveDrawing.isEmpty()))
        throw Malformed(QStringLiteral("\"drawing\" and \"save_drawing\" need a running CAD host"));
}

void readAnswers(const QJsonValue& answers, AnswerQueue& queue)
{
    if (!answers.isUndefined() && !answers.isArray())
        throw Malformed(QStringLiteral("\"answers\" must be a list"));
    for (const auto& a : answers.toArray()) {
        if (!a.isObject())
            throw Malformed(QStringLiteral("every answer must be an object"));
        const ScriptedAnswer ans = ScriptedAnswer::fromJson(a.toObject());
        if (!kAnswerKinds.contains(ans.kind))
            throw Malformed(QStringLiteral("unknown answer kind \"%1\"").arg(ans.kind));
        queue.push(ans);
    }
}

std::vector<RunEntry> readRunList(const QJsonValue& runList, const CommandRegistry& registry)
{
    if (!runList.isArray())
        throw Malformed(QStringLiteral("\"run\" must be a list of item names"));
    std::vector<RunEntry> entries;
    int index = 0;
    for (const auto& v : runList.toArray())
        entries.push_back(readEntry(v, index++, registry));
    return entries;
}

void checkScenario(const QJsonObject& sc, const CommandRegistry& registry, Checked& checked)
{
    checkKeys(sc, checked);
    readAnswers(sc.value(QStringLiteral("answers")), checked.answers);
    checked.entries = readRunList(sc.value(QStringLiteral("run")), registry);
}

// The home (a temporary folder when the scenario names none) holds the
// mapped drives and the settings for as long as the run lasts.
class ScenarioHome {
public:
    explicit ScenarioHome(const QString& wanted)
        : path_(settle(wanted))
        , mapper_(path_)
    {
    }
    ~ScenarioHome() { paths::reset(); }
    ScenarioHome(const ScenarioHome&) = delete;
    ScenarioHome& operator=(const ScenarioHome&) = delete;

    const QString& path() const { return path_; }
    const PathMapper& mapper() const { return mapper_; }

private:
    QString settle(const QString& wanted)
    {
        QString home = wanted;
        if (home.isEmpty()) {
            temp_.emplace();
            home = temp_->path();
        } else {
            home = QFileInfo(home).absoluteFilePath();
        }
        QDir().mkpath(home);
        paths::configureHome(home);
        return home;
    }

    std::optional<QTemporaryDir> temp_;
    QString path_;
    PathMapper mapper_;
};

// "settings" stored raw, "files" written as GBK.
void writePresets(const QJsonObject& sc, const QString& home, SettingsStore& settings)
{
    const QJsonObject presets = sc.value(QStringLiteral("settings")).toObject();
    for (auto it = presets.begin(); it != presets.end(); ++it)
        settings.writeRaw(it.key(), scalarText(it.value(), QStringLiteral("settings.") + it.key()));
    const QJsonObject files = sc.value(QStringLiteral("files")).toObject();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString real = resolveIn(home, it.key());
        QDir().mkpath(QFileInfo(real).absolutePath());
        writeFileBytes(real, encodeGbk(scalarText(it.value(), QStringLiteral("files.") + it.key())));
    }
}

// What the commands reach, wired as at the program's start.
struct Program {
    Program(SettingsStore& store, AnswerQueue& queue, bool cadStopped)
        : settings(store)
        , ui(queue)
        , ctx(settings, ui)
        , documents(&ui)
        , documentHost(documents.shared())
    {
        ctx.setSheet(&sheet);
        // The host runs from the start with its empty drawing; its
        // command-line questions take their answers from the same queue.
        cad::registerEditingCommands(host);
        host.setInputSource(std::make_unique<cad::ScriptedInput>(queue));
        host.setRunning(!cadStopped);
        ctx.setCad(&host);
        // The document host runs only while it holds the scenario's document.
        documents.setRunning(&documentHost);
        documents.setSpreadsheetHosts(&office);
        ctx.setOffice(&documents);
    }

    SettingsStore& settings;
    ScriptedUi ui;
    Context ctx;
    traverse::TraverseSheet sheet;
    cad::Application host;
    sheet::Office office;
    doc::Hosts documents;
    doc::Instance documentHost;
};

// The scenario's drawing becomes the active drawing of the host. A fixture
// (a path outside the mapped drives, relative to the current folder) is
// copied to the root of D: first, so that a command saving the drawing
// never touches the fixture.
void openDrawing(cad::Application& host, const QString& home, const QString& drawing)
{
    QString windowsPath = drawing;
    if (!paths::isDrivePath(drawing)) {
        const QFileInfo source(drawing);
        if (!source.isFile())
            throw Malformed(QStringLiteral("the drawing \"%1\" does not exist").arg(drawing));
        windowsPath = QStringLiteral("D:\\") + source.fileName();
        const QString target = paths::resolve(windowsPath);
        QDir().mkpath(QFileInfo(target).absolutePath());
        try {
            copyFileAtomically(source.absoluteFilePath(), target);
        } catch (const RunError&) {
            throw Malformed(QStringLiteral("the drawing \"%1\" cannot be copied into the home").arg(drawing));
        }
    } else if (!QFileInfo(resolveIn(home, drawing)).isFile()) {
        throw Malformed(QStringLiteral("the drawing \"%1\" does not exist").arg(drawing));
    }
    cad::Document& pristine = host.ActiveDocument();
    try {
        host.DocumentsOpen(windowsPath);
    } catch (const RunError& e) {
        throw Malformed(QStringLiteral("the drawing \"%1\" cannot be read: %2").arg(drawing, e.description()));
    }
    // as the host does with an untouched new drawing when a file is opened
    pristine.Close();
}

// "workbook": absent, none runs (starting gives one without a workbook);
// "unavailable", none runs or starts; {"cells": {"E5": "011", "G5": 356.8},
// "active": "B7"}, a running host whose one sheet holds them.
void setUpWorkbook(const QJsonValue& v, sheet::SheetHosts& hosts)
{
    if (v.isUndefined())
        return;
    if (v.toString() == QLatin1String("unavailable")) {
        hosts.available = false;
        return;
    }
    if (!v.isObject())
        throw Malformed(QStringLiteral("\"workbook\" takes \"unavailable\" or {\"cells\", \"active\"}"));
    const QJsonObject o = v.toObject();
    sheet::Workbook book;
    auto place = [](const QString& address, const QString& where) {
        int row = 0;
        int column = 0;
        if (!sheet::parseCellAddress(address, &row, &column))
            throw Malformed(QStringLiteral("%1: \"%2\" is no cell").arg(where, address));
        return std::pair{row, column};
    };
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (it.key() == QLatin1String("cells")) {
            const QJsonObject cells = it.value().toObject();
            for (auto c = cells.begin(); c != cells.end(); ++c) {
                const auto [row, column] = place(c.key(), QStringLiteral("workbook.cells"));
                if (!c.value().isString() && !c.value().isDouble())
                    throw Malformed(QStringLiteral("workbook.cells.%1: a text or a number is expected").arg(c.key()));
                book.activeSheet().setCell(row, column, c.value().toVariant());
            }
        } else if (it.key() == QLatin1String("active")) {
            const auto [row, column] = place(it.value().toString(), QStringLiteral("workbook.active"));
            book.activeSheet().setActiveCell(row, column);
        } else {
            throw Malformed(QStringLiteral("workbook: unknown key \"%1\"").arg(it.key()));
        }
    }
    hosts.run(book);
}

// The running host's active sheet (non-empty cells by address), its active
// cell and whether it is shown; null when none runs.
QJsonValue workbookOutput(sheet::SheetHosts& hosts)
{
    const sheet::SheetHost* host = hosts.running();
    if (!host)
        return QJsonValue::Null;
    QJsonObject cells;
    QString active;
    if (const sheet::Workbook* book = host->workbook()) {
        const sheet::Sheet& s = book->activeSheet();
        for (const sheet::Sheet::Cell& c : s.cells())
            cells.insert(sheet::cellAddress(c.row, c.column), QJsonValue::fromVariant(c.value));
        active = sheet::cellAddress(s.activeRow(), s.activeColumn());
    }
    return QJsonObject{{QStringLiteral("cells"), cells},
                       {QStringLiteral("active"), active},
                       {QStringLiteral("visible"), host->visible()}};
}

// "copy_files": fixtures copied into the home.
void copyFiles(const QJsonValue& copies, const QString& home)
{
    if (const QString fault = copyFixtures(copies.toObject(), home); !fault.isEmpty())
        throw Malformed(fault);
}

// "document": a fixture open in the document host.
void openDocument(const QJsonObject& sc, doc::Instance& host)
{
    const QString fixture = textKey(sc, "document");
    if (fixture.isEmpty())
        return;
    if (const QString fault = openFixtureDocument(host, fixture); !fault.isEmpty())
        throw Malformed(fault);
}

// "sheet": the main window's traverse sheet as the person left it.
void presetSheet(const QJsonObject& sheetIn, traverse::TraverseSheet& sheet)
{
    if (sheetIn.contains(QStringLiteral("rows"))) {
        const int rows = sheetIn.value(QStringLiteral("rows")).toInt(-1);
        if (rows < 0 || rows > traverse::TraverseSheet::Rows)
            throw Malformed(QStringLiteral("sheet.rows must be 0 to 12"));
        for (int r = 0; r < traverse::TraverseSheet::Rows; ++r)
            sheet.setRowVisible(r, r < rows);
    }
    for (auto it = sheetIn.begin(); it != sheetIn.end(); ++it) {
        const QString k = it.key();
        if (k == QLatin1String("Text1"))
            readCells(it.value(), traverse::TraverseSheet::KnownCells, k,
                      [&](int i, const QString& t) { sheet.setText1(i, t); });
        else if (k == QLatin1String("Text5"))
            readCells(it.value(), traverse::TraverseSheet::StationCells, k,
                      [&](int i, const QString& t) { sheet.setText5(i, t); });
        else if (k == QLatin1String("Combo1"))
            sheet.setGrade(scalarText(it.value(), QStringLiteral("sheet.Combo1")));
        else if (k == QLatin1String("Combo2"))
            sheet.setContourInterval(scalarText(it.value(), QStringLiteral("sheet.Combo2")));
        else if (k != QLatin1String("rows"))
            throw Malformed(QStringLiteral("sheet: unknown key \"%1\"").arg(k));
    }
}

// Window openings, entries and the end of the program, each at its place
// among the ui's events.
class Marks {
public:
    explicit Marks(const ScriptedUi& ui) : ui_(ui) {}

    void add(const QJsonObject& mark) { marks_.append({ui_.events().size(), mark}); }

    // The ui's events with the marks among them; a text window's file as
    // the program names it.
    QJsonArray events(const PathMapper& mapper) const
    {
        QJsonArray events;
        QJsonArray uiEvents = ui_.events();
        for (qsizetype i = 0; i < uiEvents.size(); ++i) {
            QJsonObject e = uiEvents.at(i).toObject();
            if (e.value(QStringLiteral("kind")).toString() == QLatin1String("text_window")) {
                e.insert(QStringLiteral("path"), mapper.file(e.value(QStringLiteral("path")).toString()));
                uiEvents.replace(i, e);
            }
        }
        qsizetype m = 0;
        for (qsizetype i = 0; i <= uiEvents.size(); ++i) {
            while (m < marks_.size() && marks_[m].first == i)
                events.append(marks_[m++].second);
            if (i < uiEvents.size())
                events.append(uiEvents.at(i));
        }
        return events;
    }

private:
    const ScriptedUi& ui_;
    QList<QPair<qsizetype, QJsonObject>> marks_;
};

// A command opening a window is marked, and kelvor-run's windows show it.
void watchWindows(Context& ctx, Marks& marks, ScenarioWindows* windows)
{
    ctx.openWindow = [&marks, windows](const QString& form) {
        marks.add(QJsonObject{{QStringLiteral("kind"), QStringLiteral("window")}, {QStringLiteral("form"), form}});
        if (windows)
            windows->opened(form);
    };
}

// kelvor-run's windows from before the first entry to after the output is
// read: every window still open then goes.
class WindowsOpen {
public:
    WindowsOpen(ScenarioWindows* windows, Context& ctx, CommandRegistry& registry)
        : windows_(windows)
    {
        if (windows_)
            windows_->start(ctx, registry);
    }
    ~WindowsOpen()
    {
        if (windows_)
            windows_->finish();
    }
    WindowsOpen(const WindowsOpen&) = delete;
    WindowsOpen& operator=(const WindowsOpen&) = delete;

private:
    ScenarioWindows* windows_;
};

// Runs the entries in order until one fails or the program ends; "" unless
// one failed, else why.
QString runEntries(const std::vector<RunEntry>& entries, const EntryRunner& runner, Marks& marks)
{
    for (const RunEntry& entry : entries) {
        marks.add(std::visit([](const auto& s) { return markOf(s); }, entry));
        if (const QString error = runEntry(entry, runner); !error.isEmpty())
            return error;
        if (runner.ctx.state().ended) {
            marks.add(QJsonObject{{QStringLiteral("kind"), QStringLiteral("ended")}});
            break;
        }
    }
    return QString();
}

// "save_drawing": "" when the active drawing was written and opens again,
// else why not.
QString saveDrawing(cad::Application& host, const QString& target)
{
    try {
        QDir().mkpath(QFileInfo(target).absolutePath());
        cad::writeDxf(host.ActiveDocument(), target);
    } catch (const RunError& e) {
        return QStringLiteral("save_drawing failed with error %1").arg(e.number());
    }
    try { // what the program saves, it opens again
        cad::readDxf(target);
    } catch (const RunError& e) {
        return QStringLiteral("the saved drawing does not open again: %1").arg(e.description());
    }
    return QString();
}

QJsonObject settingsOutput(const SettingsStore& settings)
{
    QJsonObject out;
    for (const auto& e : settings.all())
        out.insert(e.first, e.second);
    return out;
}

QJsonObject cadOutput(const cad::Application& host, const PathMapper& mapper)
{
    // the command line names files too: the same run prints the same
    return QJsonObject{{QStringLiteral("transcript"), mapper.map(host.transcript())},
                       {QStringLiteral("journal"), mapper.map(host.journal())},
                       {QStringLiteral("events"), mapper.map(QJsonArray::fromStringList(host.events()))}};
}

QJsonObject menuOutput(const MainState& st)
{
    return QJsonObject{{QStringLiteral("filelist(1)"), st.recentReport},
                       {QStringLiteral("filelist_shown"), recentReportShown(st.recentReport)},
                       {QStringLiteral("publicfiles"), commonFileCaption(st)},
                       {QStringLiteral("printcgb"), st.printcgb},
                       {QStringLiteral("entitybianzhou"), st.groupPickCaption}};
}

// "read_files": each file's text, null when there is none.
QJsonObject readFilesOutput(const QJsonValue& list, const QString& home)
{
    QJsonObject read;
    for (const auto& v : list.toArray()) {
        const QString real = resolveIn(home, v.toString());
        const QFileInfo fi(real);
        read.insert(v.toString(), fi.isFile() ? QJsonValue(readTextFile(real)) : QJsonValue(QJsonValue::Null));
    }
    return read;
}

// How the run went: why it stopped ("" when it did not) and the forms that
// window steps touched.
struct Outcome {
    QString error;
    QJsonObject forms;
};

QJsonObject output(const QJsonObject& sc, const ScenarioHome& home, Program& program, const Marks& marks,
                   const Checked& checked, const Outcome& outcome)
{
    const PathMapper& mapper = home.mapper();
    QJsonObject out;
    out.insert(QStringLiteral("events"), mapper.map(marks.events(mapper)));
    out.insert(QStringLiteral("messages"), mapper.map(program.ui.messages()));
    QJsonArray textFiles;
    for (const QString& f : program.ui.textWindowFiles())
        textFiles.append(mapper.file(f));
    out.insert(QStringLiteral("text_window"), textFiles);
    out.insert(QStringLiteral("sheet"), sheetCells(program.sheet));
    out.insert(QStringLiteral("settings"), settingsOutput(program.settings));
    if (!outcome.forms.isEmpty())
        out.insert(QStringLiteral("forms"), mapper.map(outcome.forms));
    out.insert(QStringLiteral("cad"), cadOutput(program.host, mapper));
    if (program.documentHost.holdsDocument())
        out.insert(QStringLiteral("document"), documentJson(program.documentHost.activeDocument()));
    out.insert(QStringLiteral("workbook"), workbookOutput(program.office.sheets));
    out.insert(QStringLiteral("menu"), menuOutput(program.ctx.state()));
    if (const QJsonObject read = readFilesOutput(sc.value(QStringLiteral("read_files")), home.path());
        !read.isEmpty())
        out.insert(QStringLiteral("files"), read);
    out.insert(QStringLiteral("unused_answers"), checked.answers.remaining());
    if (!outcome.error.isEmpty())
        out.insert(QStringLiteral("error"), mapper.map(outcome.error));
    return out;
}

// The scenario's form is checked before anything is written; what only the
// set-up finds (a drawing, workbook, document, sheet or preset it cannot
// take) ends the run as malformed too.
ScenarioResult run(const QJsonObject& sc, ScenarioWindows* windows)
{
    CommandRegistry registry;
    registerAllCommands(registry);
    Checked checked;
    checkScenario(sc, registry, checked);

    const ScenarioHome home(sc.value(QStringLiteral("home")).toString());
    SettingsStore settings(paths::current().settingsFile);
    writePresets(sc, home.path(), settings);
    Program program(settings, checked.answers, checked.cadStopped);
    if (!checked.drawing.isEmpty())
        openDrawing(program.host, home.path(), checked.drawing);
    setUpWorkbook(sc.value(QStringLiteral("workbook")), program.office.sheets);
    copyFiles(sc.value(QStringLiteral("copy_files")), home.path());
    openDocument(sc, program.documentHost);
    Marks marks(program.ui);
    watchWindows(program.ctx, marks, windows);
    loadMainWindow(program.ctx);
    applyFirstRun(settings);
    presetSheet(sc.value(QStringLiteral("sheet")).toObject(), program.sheet);

    const WindowsOpen windowsOpen(windows, program.ctx, registry);
    Outcome outcome;
    outcome.error = runEntries(checked.entries, EntryRunner{registry, program.ctx, program.host, windows, outcome.forms},
                               marks);
    if (!checked.saveDrawing.isEmpty()) {
        const QString failure = saveDrawing(program.host, resolveIn(home.path(), checked.saveDrawing));
        if (outcome.error.isEmpty())
            outcome.error = failure;
    }
    return ScenarioResult{output(sc, home, program, marks, checked, outcome), outcome.error.isEmpty() ? 0 : 1};
}

} // namespace

ScenarioResult runScenario(const QJsonObject& scenario, ScenarioWindows* windows)
{
    try {
        return run(scenario, windows);
    } catch (const Malformed& e) {
        return ScenarioResult{QJsonObject{{QStringLiteral("error"), e.text}}, 2};
    } catch (const RunError& e) {
        return ScenarioResult{
            QJsonObject{{QStringLiteral("error"), QStringLiteral("setting up failed with error %1").arg(e.number())}},
            2};
    }
}

ScenarioResult runScenarioText(const QByteArray& json, ScenarioWindows* windows)
{
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        return ScenarioResult{
            QJsonObject{{QStringLiteral("error"),
                         QStringLiteral("not a JSON object: %1 at %2").arg(pe.errorString()).arg(pe.offset)}},
            2};
    return runScenario(doc.object(), windows);
}

} // namespace kelvor::app
