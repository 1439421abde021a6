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

// {"command_line": text}: the text typed at the CAD host's command line of
// the active drawing, a carriage return after it.
struct CommandLineStep {
    QString text;
};
using RunEntry = std::variant<QString, WindowStep, CommandLineStep>;

QString textKey(const QJsonObject& sc, const char* key)
{
    const QJsonValue v = sc.value(QLatin1String(key));
    if (v.isUndefined())
        return QString();
    if (!v.isString() || v.toString().isEmpty())
        throw Malformed(QStringLiteral("\"%1\" must be a path").arg(QLatin1String(key)));
    return v.toString();
}

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

ScenarioResult run(const QJsonObject& sc, ScenarioWindows* windows)
{
    for (auto it = sc.begin(); it != sc.end(); ++it) {
        if (!kKeys.contains(it.key()))
            throw Malformed(QStringLiteral("unknown key \"%1\"").arg(it.key()));
    }
    if (sc.contains(QStringLiteral("cad")) && sc.value(QStringLiteral("cad")).toString() != QLatin1String("stopped"))
        throw Malformed(QStringLiteral("\"cad\" takes only \"stopped\""));
    const bool cadStopped = sc.contains(QStringLiteral("cad"));
    const QString drawing = textKey(sc, "drawing");
    const QString saveDrawing = textKey(sc, "save_drawing");
    if (cadStopped && (!drawing.isEmpty() || !saveDrawing.isEmpty()))
        throw Malformed(QStringLiteral("\"drawing\" and \"save_drawing\" need a running CAD host"));

    // Answers and items are checked before anything is written.
    AnswerQueue queue;
    const QJsonValue answers = sc.value(QStringLiteral("answers"));
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
    CommandRegistry registry;
    registerAllCommands(registry);
    const QJsonValue runList = sc.value(QStringLiteral("run"));
    if (!runList.isArray())
        throw Malformed(QStringLiteral("\"run\" must be a list of item names"));
    std::vector<RunEntry> items;
    int index = 0;
    for (const auto& v : runList.toArray()) {
        if (v.isObject() && v.toObject().contains(QStringLiteral("command_line"))) {
            const QJsonObject o = v.toObject();
            if (o.size() != 1 || !o.value(QStringLiteral("command_line")).isString())
                throw Malformed(QStringLiteral("run[%1]: \"command_line\" takes one text").arg(index));
            items.emplace_back(CommandLineStep{o.value(QStringLiteral("command_line")).toString()});
        } else if (v.isObject())
            items.emplace_back(readWindowStep(v.toObject(), index));
        else if (!v.isString() || !registry.has(v.toString()))
            throw Malformed(QStringLiteral("no item \"%1\"").arg(v.toVariant().toString()));
        else
            items.emplace_back(v.toString());
        ++index;
    }

    std::optional<QTemporaryDir> temp;
    QString home = sc.value(QStringLiteral("home")).toString();
    if (home.isEmpty()) {
        temp.emplace();
        home = temp->path();
    } else {
        home = QFileInfo(home).absoluteFilePath();
    }
    QDir().mkpath(home);
    paths::configureHome(home);
    struct ResetPaths {
        ~ResetPaths() { paths::reset(); }
    } resetPaths;
    const PathMapper mapper(home);

    SettingsStore settings(paths::current().settingsFile);
    const QJsonObject presets = sc.value(QStringLiteral("settings")).toObject();
    for (auto it = presets.begin(); it != presets.end(); ++it)
        settings.writeRaw(it.key(), scalarText(it.value(), QStringLiteral("settings.") + it.key()));
    const QJsonObject files = sc.value(QStringLiteral("files")).toObject();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString real = resolveIn(home, it.key());
        QDir().mkpath(QFileInfo(real).absolutePath());
        writeFileBytes(real, encodeGbk(scalarText(it.value(), QStringLiteral("files.") + it.key())));
    }

    ScriptedUi ui(queue);
    Context ctx(settings, ui);
    traverse::TraverseSheet sheet;
    ctx.setSheet(&sheet);
    // The host runs from the start with its empty drawing; its command-line
    // questions take their answers from the same queue.
    cad::Application host;
    cad::registerEditingCommands(host);
    host.setInputSource(std::make_unique<cad::ScriptedInput>(queue));
    host.setRunning(!cadStopped);
    ctx.setCad(&host);
    if (!drawing.isEmpty())
        openDrawing(host, home, drawing);
    sheet::Office office;
    ctx.setOffice(&office);
    setUpWorkbook(sc.value(QStringLiteral("workbook")), office.sheets);
    // The document host runs only while it holds the scenario's document.
    doc::Hosts documents(&ui);
    doc::Instance documentHost(documents.shared());
    documents.setRunning(&documentHost);
    documents.setSpreadsheetHosts(&office);
    ctx.setOffice(&documents);
    if (const QString fault = copyFixtures(sc.value(QStringLiteral("copy_files")).toObject(), home); !fault.isEmpty())
        throw Malformed(fault);
    if (const QString fixture = textKey(sc, "document"); !fixture.isEmpty()) {
        if (const QString fault = openFixtureDocument(documentHost, fixture); !fault.isEmpty())
            throw Malformed(fault);
    }
    // Window openings, item runs and window steps, each at its place among
    // the ui events.
    QList<QPair<qsizetype, QJsonObject>> marks;
    ctx.openWindow = [&](const QString& form) {
        marks.append({ui.events().size(), QJsonObject{{QStringLiteral("kind"), QStringLiteral("window")},
                                                      {QStringLiteral("form"), form}}});
        if (windows)
            windows->opened(form);
    };

    loadMainWindow(ctx);
    applyFirstRun(settings);

    const QJsonObject sheetIn = sc.value(QStringLiteral("sheet")).toObject();
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

    if (windows)
        windows->start(ctx, registry);
    struct FinishWindows {
        ScenarioWindows* w;
        ~FinishWindows()
        {
            if (w)
                w->finish();
        }
    } finishWindows{windows};

    ScenarioResult result;
    QString error;
    QJsonObject forms;
    for (const RunEntry& entry : items) {
        const WindowStep* step = std::get_if<WindowStep>(&entry);
        const CommandLineStep* typed = std::get_if<CommandLineStep>(&entry);
        const QString item = step ? step->form : typed ? typed->text : std::get<QString>(entry);
        marks.append({ui.events().size(),
                      step    ? QJsonObject{{QStringLiteral("kind"), QStringLiteral("step")}, {QStringLiteral("window"), item}}
                      : typed ? QJsonObject{{QStringLiteral("kind"), QStringLiteral("command_line")}, {QStringLiteral("text"), item}}
                              : QJsonObject{{QStringLiteral("kind"), QStringLiteral("run")}, {QStringLiteral("item"), item}}});
        try {
            if (typed)
                host.ActiveDocument().SendCommand(typed->text + QLatin1Char('\r'));
            else if (!step)
                registry.run(item, ctx);
            else if (!windows)
                error = QStringLiteral("the window step of %1 needs kelvor-run's windows").arg(item);
            else
                forms.insert(item, windows->step(*step));
        } catch (const WindowStepError& e) {
            error = e.message();
        } catch (const ScriptMismatch& e) {
            error = e.message();
        } catch (const RunError& e) {
            error = QStringLiteral("%1 ended with the uncaught error %2").arg(item).arg(e.number());
        } catch (const std::exception& e) {
            error = QStringLiteral("%1 failed: %2").arg(item, QString::fromLocal8Bit(e.what()));
        }
        if (!error.isEmpty()) {
            result.exitCode = 1;
            break;
        }
        if (ctx.state().ended) {
            marks.append({ui.events().size(), QJsonObject{{QStringLiteral("kind"), QStringLiteral("ended")}}});
            break;
        }
    }

    if (!saveDrawing.isEmpty()) {
        const QString target = resolveIn(home, saveDrawing);
        QString failure;
        try {
            QDir().mkpath(QFileInfo(target).absolutePath());
            cad::writeDxf(host.ActiveDocument(), target);
        } catch (const RunError& e) {
            failure = QStringLiteral("save_drawing failed with error %1").arg(e.number());
        }
        if (failure.isEmpty()) {
            try { // what the program saves, it opens again
                cad::readDxf(target);
            } catch (const RunError& e) {
                failure = QStringLiteral("the saved drawing does not open again: %1").arg(e.description());
            }
        }
        if (!failure.isEmpty() && error.isEmpty()) {
            error = failure;
            result.exitCode = 1;
        }
    }

    QJsonArray events;
    QJsonArray uiEvents = ui.events();
    for (qsizetype i = 0; i < uiEvents.size(); ++i) {
        QJsonObject e = uiEvents.at(i).toObject();
        if (e.value(QStringLiteral("kind")).toString() == QLatin1String("text_window")) {
            e.insert(QStringLiteral("path"), mapper.file(e.value(QStringLiteral("path")).toString()));
            uiEvents.replace(i, e);
        }
    }
    qsizetype m = 0;
    for (qsizetype i = 0; i <= uiEvents.size(); ++i) {
        while (m < marks.size() && marks[m].first == i)
            events.append(marks[m++].second);
        if (i < uiEvents.size())
            events.append(uiEvents.at(i));
    }

    QJsonObject out;
    out.insert(QStringLiteral("events"), mapper.map(events));
    out.insert(QStringLiteral("messages"), mapper.map(ui.messages()));
    QJsonArray textFiles;
    for (const QString& f : ui.textWindowFiles())
        textFiles.append(mapper.file(f));
    out.insert(QStringLiteral("text_window"), textFiles);
    out.insert(QStringLiteral("sheet"), sheetCells(sheet));
    QJsonObject settingsOut;
    for (const auto& e : settings.all())
        settingsOut.insert(e.first, e.second);
    out.insert(QStringLiteral("settings"), settingsOut);
    if (!forms.isEmpty())
        out.insert(QStringLiteral("forms"), mapper.map(forms));
    out.insert(QStringLiteral("cad"), QJsonObject{{QStringLiteral("transcript"), host.transcript()},
                                                  {QStringLiteral("journal"), host.journal()},
                                                  {QStringLiteral("events"), mapper.map(QJsonArray::fromStringList(host.events()))}});
    if (documentHost.holdsDocument())
        out.insert(QStringLiteral("document"), documentJson(documentHost.activeDocument()));
    out.insert(QStringLiteral("workbook"), workbookOutput(office.sheets));
    const MainState& st = ctx.state();
    out.insert(QStringLiteral("menu"),
               QJsonObject{{QStringLiteral("filelist(1)"), st.recentReport},
                           {QStringLiteral("filelist_shown"), recentReportShown(st.recentReport)},
                           {QStringLiteral("publicfiles"), commonFileCaption(st)},
                           {QStringLiteral("printcgb"), st.printcgb},
                           {QStringLiteral("entitybianzhou"), st.groupPickCaption}});
    QJsonObject read;
    for (const auto& v : sc.value(QStringLiteral("read_files")).toArray()) {
        const QString real = resolveIn(home, v.toString());
        const QFileInfo fi(real);
        read.insert(v.toString(), fi.isFile() ? QJsonValue(readTextFile(real)) : QJsonValue(QJsonValue::Null));
    }
    if (!read.isEmpty())
        out.insert(QStringLiteral("files"), read);
    out.insert(QStringLiteral("unused_answers"), queue.remaining());
    if (!error.isEmpty())
        out.insert(QStringLiteral("error"), mapper.map(error));
    result.output = out;
    return result;
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
