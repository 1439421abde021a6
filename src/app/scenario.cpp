#include "scenario.h"

#include "registry.h"
#include "startup.h"

#include "common_file.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/scripted.h"
#include "platform/settings.h"
#include "platform/text_file.h"
#include "traverse/sheet.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <optional>

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

ScenarioResult run(const QJsonObject& sc)
{
    for (auto it = sc.begin(); it != sc.end(); ++it) {
        if (!kKeys.contains(it.key()))
            throw Malformed(QStringLiteral("unknown key \"%1\"").arg(it.key()));
    }
    if (sc.contains(QStringLiteral("drawing")) || sc.contains(QStringLiteral("save_drawing")))
        throw Malformed(QStringLiteral("\"drawing\" and \"save_drawing\" need the CAD host, not built in yet"));
    if (sc.contains(QStringLiteral("cad")) && sc.value(QStringLiteral("cad")).toString() != QLatin1String("stopped"))
        throw Malformed(QStringLiteral("\"cad\" takes only \"stopped\""));

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
    QStringList items;
    for (const auto& v : runList.toArray()) {
        if (!v.isString() || !registry.has(v.toString()))
            throw Malformed(QStringLiteral("no item \"%1\"").arg(v.toVariant().toString()));
        items.append(v.toString());
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
    // Window openings and item runs, each at its place among the ui events.
    QList<QPair<qsizetype, QJsonObject>> marks;
    ctx.openWindow = [&](const QString& form) {
        marks.append({ui.events().size(), QJsonObject{{QStringLiteral("kind"), QStringLiteral("window")},
                                                      {QStringLiteral("form"), form}}});
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

    ScenarioResult result;
    QString error;
    for (const QString& item : items) {
        marks.append({ui.events().size(), QJsonObject{{QStringLiteral("kind"), QStringLiteral("run")},
                                                      {QStringLiteral("item"), item}}});
        try {
            registry.run(item, ctx);
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
    const MainState& st = ctx.state();
    out.insert(QStringLiteral("menu"),
               QJsonObject{{QStringLiteral("filelist(1)"), st.recentReport},
                           {QStringLiteral("filelist_shown"), recentReportShown(st.recentReport)},
                           {QStringLiteral("publicfiles"), commonFileCaption(st)},
                           {QStringLiteral("printcgb"), st.printcgb}});
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

ScenarioResult runScenario(const QJsonObject& scenario)
{
    try {
        return run(scenario);
    } catch (const Malformed& e) {
        return ScenarioResult{QJsonObject{{QStringLiteral("error"), e.text}}, 2};
    } catch (const RunError& e) {
        return ScenarioResult{
            QJsonObject{{QStringLiteral("error"), QStringLiteral("setting up failed with error %1").arg(e.number())}},
            2};
    }
}

ScenarioResult runScenarioText(const QByteArray& json)
{
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        return ScenarioResult{
            QJsonObject{{QStringLiteral("error"),
                         QStringLiteral("not a JSON object: %1 at %2").arg(pe.errorString()).arg(pe.offset)}},
            2};
    return runScenario(doc.object());
}

} // namespace kelvor::app
