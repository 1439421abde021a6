// kelvor-sweep: runs every registered item through kelvor-run under answer
// plans made from what the item asks, question by question, and checks what
// no command may ever do. See tests/e2e/README.md ("The sweep").
#include "sweep.h"

#include "app/registry.h"
#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"
#include "platform/commands.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <linux/capability.h>

extern char** environ;

using namespace kelvor;
using namespace kelvor::sweep;

namespace {

struct Config {
    QString runner;
    QString drawings;
    QString out;
    QStringList fixtures{QStringLiteral("sweep_empty.dxf"), QStringLiteral("sweep_every_kind.dxf"),
                         QStringLiteral("points.dxf")};
    QStringList only; // items; empty: all
    int jobs = 4;
    int timeout = 20;        // seconds
    qint64 memoryMb = 2048;  // address space; 0: none (sanitizer builds)
    int maxQuestions = 8;    // answered by defaults while discovering an item's questions
    int maxExtend = 3;       // more default answers after a variant
    long slice = -1;         // seed of the CI slice; -1: the whole sweep
    QString scenarios;       // a folder of scenarios to vary answer by answer instead of the items
    bool keepRuns = false;
};

// ---------------------------------------------------------------- fixtures

struct Pick {
    QString kind;
    QString handle;
    double x = 0, y = 0, z = 0;
};

struct Fixture {
    QString name;
    QString path;
    std::vector<Pick> picks;
    double onX = 100, onY = 100;       // a point on an entity (the first one)
    double offX = 12345, offY = 6789;  // a point on nothing
};

QString kindName(cad::EntityKind k)
{
    static const char* names[] = {"line", "point", "circle", "arc", "text", "mtext", "lwpolyline",
                                  "polyline2d", "polyline3d", "insert", "region", "image", "foreign"};
    return QString::fromLatin1(names[int(k)]);
}

Fixture readFixture(const QString& folder, const QString& name)
{
    Fixture f;
    f.name = name;
    f.path = QDir(folder).absoluteFilePath(name);
    const std::unique_ptr<cad::Document> doc = cad::readDxf(f.path);
    const cad::Box box = doc->ModelSpace().extents();
    if (box.valid()) {
        f.offX = box.maxX + 1000;
        f.offY = box.maxY + 1000;
    }
    for (cad::Entity* e : doc->ModelSpace().entities()) {
        const auto& v = e->data().v;
        Pick p{kindName(e->kind()), e->Handle()};
        if (!v.empty()) {
            p.x = v[0].x;
            p.y = v[0].y;
            p.z = v[0].z;
        }
        if (v.size() >= 2 && e->kind() != cad::EntityKind::Text) {
            p.x = (v[0].x + v[1].x) / 2; // on the first segment
            p.y = (v[0].y + v[1].y) / 2;
        }
        if (e->kind() == cad::EntityKind::Circle)
            p.x += e->data().placed().radius;
        if (f.picks.empty()) {
            f.onX = p.x;
            f.onY = p.y;
        }
        f.picks.push_back(p);
    }
    return f;
}

// ---------------------------------------------------------------- answers

// What an item asked when the answers ran out.
struct Question {
    QString kind;    // button, input, open, save, folder, point, entity, select, string, real, integer, keyword
    QString prompt;
    QString buttons; // of a message box
    QString filter;  // of a file dialog
    QString defaultText;
};

QJsonObject answer(const QString& kind, const QString& value)
{
    return QJsonObject{{QStringLiteral("kind"), kind}, {QStringLiteral("value"), value}};
}

QJsonObject pointAt(double x, double y)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("point")}, {QStringLiteral("x"), x}, {QStringLiteral("y"), y}};
}

QJsonObject button(const QString& name) { return answer(QStringLiteral("button"), name); }

QStringList boxButtons(const QString& set)
{
    if (set == QLatin1String("OKCancel")) return {QStringLiteral("OK"), QStringLiteral("Cancel")};
    if (set == QLatin1String("YesNo")) return {QStringLiteral("Yes"), QStringLiteral("No")};
    if (set == QLatin1String("YesNoCancel")) return {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel")};
    if (set == QLatin1String("AbortRetryIgnore")) return {QStringLiteral("Ignore"), QStringLiteral("Abort"), QStringLiteral("Retry")};
    if (set == QLatin1String("RetryCancel")) return {QStringLiteral("Cancel"), QStringLiteral("Retry")};
    return {QStringLiteral("OK")};
}

QString extensionOf(const QString& filter)
{
    static const QRegularExpression ext(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const auto m = ext.match(filter);
    return m.hasMatch() ? m.captured(1) : QStringLiteral("txt");
}

// The answer a careful person gives, so that the item goes on to its next
// question. index: the question's place, so repeated points differ.
QJsonObject defaultAnswer(const Question& q, const Fixture& f, int index)
{
    if (q.kind == QLatin1String("button"))
        return button(boxButtons(q.buttons).first());
    if (q.kind == QLatin1String("input"))
        return answer(QStringLiteral("input"), q.defaultText.isEmpty() ? QStringLiteral("1") : q.defaultText);
    if (q.kind == QLatin1String("open"))
        return button(QStringLiteral("Cancel"));
    if (q.kind == QLatin1String("save"))
        return answer(QStringLiteral("save"), QStringLiteral("d:\\sweepout\\out%1.%2").arg(index).arg(extensionOf(q.filter)));
    if (q.kind == QLatin1String("folder"))
        return answer(QStringLiteral("folder"), QStringLiteral("d:\\sweep\\dir"));
    if (q.kind == QLatin1String("point"))
        return pointAt(f.onX + 10 * index, f.onY + 7 * index);
    if (q.kind == QLatin1String("entity")) {
        if (f.picks.empty())
            return QJsonObject{{QStringLiteral("kind"), QStringLiteral("entity")},
                               {QStringLiteral("point"), QJsonArray{f.offX, f.offY, 0}}};
        const Pick& p = f.picks.front();
        return QJsonObject{{QStringLiteral("kind"), QStringLiteral("entity")}, {QStringLiteral("handle"), p.handle},
                           {QStringLiteral("point"), QJsonArray{p.x, p.y, p.z}}};
    }
    if (q.kind == QLatin1String("select")) {
        QJsonArray all;
        for (const Pick& p : f.picks)
            all.append(p.handle);
        return QJsonObject{{QStringLiteral("kind"), QStringLiteral("select")}, {QStringLiteral("handles"), all}};
    }
    if (q.kind == QLatin1String("real") || q.kind == QLatin1String("integer") || q.kind == QLatin1String("string"))
        return answer(q.kind, QStringLiteral("1"));
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("enter")}}; // keyword: the default one
}

QStringList hostileTexts()
{
    return {QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("1e308"), QStringLiteral("-1e308"),
            QStringLiteral("1e400"), QStringLiteral("nan"), QStringLiteral("inf"), QString(), QStringLiteral("abc"),
            QString(10000, QLatin1Char('8'))};
}

struct Variant {
    QString label;
    QJsonObject answer;
    bool sharp = false; // the one the CI slice always tries: where the faults mended so far were found
};

std::vector<Variant> variants(const Question& q, const Fixture& f)
{
    std::vector<Variant> out;
    auto add = [&](const QString& label, const QJsonObject& a, bool sharp = false) { out.push_back({label, a, sharp}); };
    auto shortText = [](const QString& t) { return t.size() > 12 ? QStringLiteral("%1 chars").arg(t.size()) : t; };
    const bool cad = q.kind == QLatin1String("point") || q.kind == QLatin1String("entity")
                     || q.kind == QLatin1String("select") || q.kind == QLatin1String("string")
                     || q.kind == QLatin1String("real") || q.kind == QLatin1String("integer")
                     || q.kind == QLatin1String("keyword");
    if (cad) {
        add(QStringLiteral("esc"), QJsonObject{{QStringLiteral("kind"), QStringLiteral("esc")}});
        add(QStringLiteral("enter"), QJsonObject{{QStringLiteral("kind"), QStringLiteral("enter")}});
    }
    if (q.kind == QLatin1String("point")) {
        for (const QString& t : hostileTexts())
            add(QStringLiteral("\"%1\" both").arg(shortText(t)), answer(QStringLiteral("point"), t + QLatin1Char(',') + t));
        add(QStringLiteral("\"1e308,-1e308\""), answer(QStringLiteral("point"), QStringLiteral("1e308,-1e308")), true);
        add(QStringLiteral("\"nan,5\""), answer(QStringLiteral("point"), QStringLiteral("nan,5")));
        add(QStringLiteral("on nothing"), pointAt(f.offX, f.offY));
        add(QStringLiteral("origin"), pointAt(0, 0));
        add(QStringLiteral("1e9 away"), pointAt(f.onX + 1e9, f.onY + 1e9));
    } else if (q.kind == QLatin1String("real") || q.kind == QLatin1String("integer") || q.kind == QLatin1String("string")
               || q.kind == QLatin1String("input")) {
        for (const QString& t : hostileTexts())
            add(QStringLiteral("\"%1\"").arg(shortText(t)), answer(q.kind, t), t == QLatin1String("1e308"));
        if (q.kind == QLatin1String("input"))
            add(QStringLiteral("cancel"), button(QStringLiteral("Cancel")));
    } else if (q.kind == QLatin1String("keyword")) {
        add(QStringLiteral("\"abc\""), answer(QStringLiteral("keyword"), QStringLiteral("abc")));
        add(QStringLiteral("long"), answer(QStringLiteral("keyword"), QString(10000, QLatin1Char('8'))));
    } else if (q.kind == QLatin1String("entity")) {
        add(QStringLiteral("on nothing"), QJsonObject{{QStringLiteral("kind"), QStringLiteral("entity")},
                                                     {QStringLiteral("point"), QJsonArray{f.offX, f.offY, 0}}});
        for (const Pick& p : f.picks)
            add(p.kind, QJsonObject{{QStringLiteral("kind"), QStringLiteral("entity")}, {QStringLiteral("handle"), p.handle},
                                    {QStringLiteral("point"), QJsonArray{p.x, p.y, p.z}}});
    } else if (q.kind == QLatin1String("select")) {
        add(QStringLiteral("nothing"), QJsonObject{{QStringLiteral("kind"), QStringLiteral("select")},
                                                  {QStringLiteral("handles"), QJsonArray()}});
        for (const Pick& p : f.picks)
            add(p.kind, QJsonObject{{QStringLiteral("kind"), QStringLiteral("select")},
                                    {QStringLiteral("handles"), QJsonArray{p.handle}}});
    } else if (q.kind == QLatin1String("button")) {
        for (const QString& b : boxButtons(q.buttons).mid(1))
            add(b, button(b));
    } else if (q.kind == QLatin1String("open")) {
        add(QStringLiteral("cancel"), button(QStringLiteral("Cancel")));
        auto open = [&](const QString& label, const QString& path) {
            add(label, QJsonObject{{QStringLiteral("kind"), QStringLiteral("open")}, {QStringLiteral("paths"), QJsonArray{path}}});
        };
        open(QStringLiteral("missing"), QStringLiteral("d:\\sweep\\missing.%1").arg(extensionOf(q.filter)));
        open(QStringLiteral("empty"), QStringLiteral("d:\\sweep\\empty.txt"));
        open(QStringLiteral("random bytes"), QStringLiteral("d:\\sweep\\junk.bin"));
        out.back().sharp = true;
        open(QStringLiteral("a folder"), QStringLiteral("d:\\sweep\\dir"));
        open(QStringLiteral("in a read-only folder"), QStringLiteral("d:\\sweep\\ro\\keep.txt"));
    } else if (q.kind == QLatin1String("save")) {
        const QString ext = extensionOf(q.filter);
        add(QStringLiteral("cancel"), button(QStringLiteral("Cancel")));
        add(QStringLiteral("a folder"), answer(QStringLiteral("save"), QStringLiteral("d:\\sweep\\dir")));
        add(QStringLiteral("missing folder"), answer(QStringLiteral("save"), QStringLiteral("d:\\sweep\\nodir\\out.%1").arg(ext)));
        add(QStringLiteral("read-only folder"), answer(QStringLiteral("save"), QStringLiteral("d:\\sweep\\ro\\out.%1").arg(ext)), true);
    } else if (q.kind == QLatin1String("folder")) {
        add(QStringLiteral("cancel"), button(QStringLiteral("Cancel")));
        add(QStringLiteral("missing"), answer(QStringLiteral("folder"), QStringLiteral("d:\\sweep\\nodir")));
        add(QStringLiteral("a file"), answer(QStringLiteral("folder"), QStringLiteral("d:\\sweep\\junk.bin")), true);
        add(QStringLiteral("read-only"), answer(QStringLiteral("folder"), QStringLiteral("d:\\sweep\\ro")));
    }
    return out;
}

// The next question from a run that stopped for want of an answer, and how
// many answers the run took before it.
struct Stop {
    bool asked = false;
    Question question;
    int used = 0;
};

Stop stopOf(const QJsonObject& output, int planSize)
{
    static const QRegularExpression asked(
        QStringLiteral("^(.*) asked for an answer \\(([a-z/]+)\\) but (none is left|the next one is \"[a-z]+\")$"),
        QRegularExpression::DotMatchesEverythingOption);
    Stop s;
    const auto m = asked.match(output.value(QStringLiteral("error")).toString());
    if (!m.hasMatch())
        return s;
    s.asked = true;
    s.used = planSize - int(output.value(QStringLiteral("unused_answers")).toArray().size());
    s.question.kind = m.captured(2).section(QLatin1Char('/'), 0, 0);
    s.question.prompt = m.captured(1);
    const QJsonArray events = output.value(QStringLiteral("events")).toArray();
    for (qsizetype i = events.size() - 1; i >= 0; --i) {
        const QJsonObject e = events.at(i).toObject();
        const QString kind = e.value(QStringLiteral("kind")).toString();
        if (kind == QLatin1String("run"))
            break;
        const bool same = kind == s.question.kind
                          || (kind == QLatin1String("message") && s.question.kind == QLatin1String("button"));
        if (e.contains(QStringLiteral("answer")) || !same)
            continue;
        s.question.buttons = e.value(QStringLiteral("buttons")).toString();
        s.question.filter = e.value(QStringLiteral("filter")).toString();
        s.question.defaultText = e.value(QStringLiteral("default")).toString();
        break;
    }
    return s;
}

// ---------------------------------------------------------------- one run

struct FileState {
    qint64 size = 0;
    QByteArray hash;
};
using Tree = std::map<QString, FileState>; // path below a root → state

Tree treeOf(const QString& root)
{
    Tree t;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile f(p);
        FileState s;
        s.size = QFileInfo(p).size();
        if (s.size <= (64 << 20) && f.open(QIODevice::ReadOnly))
            s.hash = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
        t[p.mid(root.size() + 1)] = s;
    }
    return t;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

struct Outcome {
    bool timedOut = false;
    int signal = 0;
    int exitCode = -1;
    QJsonObject output;
    QByteArray errors;
    QStringList broken; // "check: detail"
    Tree newOutputs;    // files the run made or changed in the home (below the home)
    std::map<QString, QByteArray> outputBytes;
};

std::mutex readerLock; // the drawing reader keeps process-wide pools

void dropDacOverride()
{
    // As root a read-only folder is writable; take that power away from the
    // child so that the read-only answers mean what they say.
    prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
    prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
    prctl(PR_CAPBSET_DROP, CAP_FOWNER, 0, 0, 0);
}

// Spawns kelvor-run in its own session with the bounds, waits for it.
void spawn(const Config& cfg, const QString& dir, Outcome& o)
{
    const QByteArray runner = QFile::encodeName(cfg.runner);
    const QByteArray scenario = QFile::encodeName(dir + QStringLiteral("/scenario.json"));
    const QByteArray outPath = QFile::encodeName(dir + QStringLiteral("/out.json"));
    const QByteArray errPath = QFile::encodeName(dir + QStringLiteral("/err.txt"));
    const QByteArray cwd = QFile::encodeName(dir + QStringLiteral("/cwd"));
    std::vector<QByteArray> env;
    for (char** e = environ; *e; ++e) {
        const QByteArray kv(*e);
        if (!kv.startsWith("HOME=") && !kv.startsWith("TMPDIR=") && !kv.startsWith("KELVOR_") && !kv.startsWith("XDG_"))
            env.push_back(kv);
    }
    const QByteArray d = QFile::encodeName(dir);
    env.push_back("HOME=" + d + "/uhome");
    env.push_back("TMPDIR=" + d + "/tmp");
    env.push_back("KELVOR_HOME=" + d + "/home");
    env.push_back("XDG_RUNTIME_DIR=" + d + "/xdg");
    env.push_back("XDG_CACHE_HOME=" + d + "/xdg/cache");
    env.push_back("XDG_CONFIG_HOME=" + d + "/xdg/config");
    env.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (QByteArray& kv : env)
        envp.push_back(kv.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(runner.constData()), const_cast<char*>(scenario.constData()), nullptr};
    const rlim_t memory = rlim_t(cfg.memoryMb) << 20;

    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGKILL); // a sweep stopped by hand takes its runs with it
        dropDacOverride();
        if (memory) {
            const rlimit as{memory, memory};
            setrlimit(RLIMIT_AS, &as);
        }
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const int out = open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int nul = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || nul < 0 || chdir(cwd.constData()) != 0)
            _exit(127);
        dup2(nul, 0);
        dup2(out, 1);
        dup2(err, 2);
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    // Waits without reaping, so that the run's process group can be ended
    // (with anything it left behind) while its id is still ours.
    while (true) {
        siginfo_t info{};
        if (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
            break;
        if (clock.elapsed() > cfg.timeout * 1000LL) {
            o.timedOut = true;
            break;
        }
        usleep(clock.elapsed() < 1000 ? 5000 : 50000);
    }
    kill(-pid, SIGKILL);
    waitpid(pid, &status, 0);
    if (!o.timedOut) {
        if (WIFSIGNALED(status))
            o.signal = WTERMSIG(status);
        else
            o.exitCode = WEXITSTATUS(status);
    }
    QFile out(dir + QStringLiteral("/out.json"));
    if (out.open(QIODevice::ReadOnly))
        o.output = QJsonDocument::fromJson(out.readAll()).object();
    QFile err(dir + QStringLiteral("/err.txt"));
    if (err.open(QIODevice::ReadOnly))
        o.errors = err.read(1 << 20);
}

// A DXF file that opens again and holds only finite numbers; "" when it does.
QString drawingFault(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read");
    const QByteArray bytes = f.readAll();
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        bool ok = false;
        const int code = lines[i].trimmed().toInt(&ok);
        if (!ok)
            break; // the reader below names it
        const bool real = (code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239)
                          || (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059);
        if (!real)
            continue;
        const double v = lines[i + 1].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return QStringLiteral("\"%1\" at group %2 (line %3)")
                .arg(QString::fromLatin1(lines[i + 1].trimmed().left(30))).arg(code).arg(i + 2);
    }
    std::lock_guard<std::mutex> lock(readerLock);
    try {
        cad::readDxfBytes(bytes);
    } catch (const RunError& e) {
        return QStringLiteral("does not open again: %1").arg(e.description());
    } catch (const std::exception& e) {
        return QStringLiteral("does not open again: %1").arg(QString::fromLocal8Bit(e.what()));
    }
    return QString();
}

const QString kSavedDrawing = QStringLiteral("d:\\sweep_saved.dxf");

const QRegularExpression& successWords()
{
    static const QRegularExpression words(QStringLiteral("完成|成功|输出到"));
    return words;
}

bool reportsFailure(const QJsonObject& output)
{
    const QString error = output.value(QStringLiteral("error")).toString();
    if (!error.isEmpty() && !error.contains(QLatin1String(" asked for an answer ")))
        return true;
    for (const QJsonValue& m : output.value(QStringLiteral("messages")).toArray()) {
        const QString icon = m[QStringLiteral("icon")].toString();
        // some commands say they are done with an exclamation mark
        if (icon == QLatin1String("critical")
            || (icon == QLatin1String("exclamation") && !m[QStringLiteral("text")].toString().contains(successWords())))
            return true;
    }
    const QString transcript = output.value(QStringLiteral("cad")).toObject().value(QStringLiteral("transcript")).toString();
    return transcript.contains(QStringLiteral("无法写入")) || transcript.contains(QStringLiteral("未能保存"));
}

// "D:\\a\\b.txt" or "<home>/x" as the output names it, to a path below the home.
QString homeRelative(const QString& named)
{
    if (named.startsWith(QLatin1String("<home>/")))
        return named.mid(7);
    if (named.size() >= 3 && named[1] == QLatin1Char(':') && named[0].isLetter()) {
        QString rest = named.mid(2);
        rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
        while (rest.startsWith(QLatin1Char('/')))
            rest.remove(0, 1);
        return QStringLiteral("drives/%1/%2").arg(named[0].toLower()).arg(rest);
    }
    return QString();
}

struct Seeds {
    QString drawing;                        // the fixture, as a native path; "" for none
    QJsonObject base;                       // the scenario but for its answers and home
    // Whether a failure is the only item's: where one of several items fails,
    // the files another wrote are no old files it changed.
    bool oneItem = true;
    std::map<QString, QByteArray> oldFiles; // below the home
};

// Where a scenario's path lands below the home: "d:\\a\\b" as drives/d/a/b,
// a plain one as it stands.
QString belowHome(const QString& path)
{
    const QString drive = homeRelative(path);
    return drive.isEmpty() ? path : drive;
}

QJsonObject scenarioFor(const QString& item, const QJsonArray& answers, const QString& drawing, const QString& home)
{
    QJsonObject sc{{QStringLiteral("drawing"), drawing},
                   {QStringLiteral("answers"), answers},
                   {QStringLiteral("run"), QJsonArray{item}},
                   {QStringLiteral("save_drawing"), kSavedDrawing},
                   {QStringLiteral("files"), QJsonObject{{QStringLiteral("d:\\sweep\\dir\\keep.txt"), QStringLiteral("1,2,3\r\n")},
                                                         {QStringLiteral("d:\\sweepout\\keep.txt"), QStringLiteral("1,2,3\r\n")}}}};
    if (!home.isEmpty())
        sc.insert(QStringLiteral("home"), home);
    return sc;
}

Outcome runOnce(const Config& cfg, const QString& dir, const QJsonArray& answers, const Seeds& seeds)
{
    Outcome o;
    QDir(dir).removeRecursively();
    const QString home = dir + QStringLiteral("/home");
    for (const char* sub : {"home", "cwd", "tmp", "uhome", "xdg"})
        QDir().mkpath(dir + QLatin1Char('/') + QLatin1String(sub));
    chmod(QFile::encodeName(dir + QStringLiteral("/xdg")).constData(), 0700);
    // the files the answers name, and results of earlier runs as old files
    auto copy = [&](const QString& from, const QString& below) {
        QFile f(from);
        writeFile(home + QLatin1Char('/') + below, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    };
    copy(cfg.drawings + QStringLiteral("/sweep_empty.txt"), QStringLiteral("drives/d/sweep/empty.txt"));
    copy(cfg.drawings + QStringLiteral("/sweep_junk.bin"), QStringLiteral("drives/d/sweep/junk.bin"));
    writeFile(home + QStringLiteral("/drives/d/sweep/ro/keep.txt"), "1,2,3\r\n");
    chmod(QFile::encodeName(home + QStringLiteral("/drives/d/sweep/ro")).constData(), 0555);
    for (const auto& [below, bytes] : seeds.oldFiles)
        writeFile(home + QLatin1Char('/') + below, bytes);
    // what the runner puts in the home as it starts counts among the old
    // files too: written here first, the same bytes, so that a command that
    // changes one after reporting a failure is seen
    if (!seeds.drawing.isEmpty())
        copy(seeds.drawing, QStringLiteral("drives/d/") + QFileInfo(seeds.drawing).fileName());
    const QJsonObject files = seeds.base.value(QStringLiteral("files")).toObject();
    for (auto it = files.begin(); it != files.end(); ++it)
        writeFile(home + QLatin1Char('/') + belowHome(it.key()), encodeGbk(it.value().toVariant().toString()));
    const QJsonObject copies = seeds.base.value(QStringLiteral("copy_files")).toObject();
    for (auto it = copies.begin(); it != copies.end(); ++it)
        copy(it.value().toString(), belowHome(it.key()));
    if (const QString document = seeds.base.value(QStringLiteral("document")).toString(); !document.isEmpty())
        copy(document, QStringLiteral("drives/d/") + QFileInfo(document).fileName());
    QJsonObject sc = seeds.base;
    sc.insert(QStringLiteral("answers"), answers);
    sc.insert(QStringLiteral("home"), home);
    writeFile(dir + QStringLiteral("/scenario.json"), QJsonDocument(sc).toJson(QJsonDocument::Indented));
    const Tree before = treeOf(home);

    spawn(cfg, dir, o);

    chmod(QFile::encodeName(home + QStringLiteral("/drives/d/sweep/ro")).constData(), 0755);
    auto broke = [&](const char* check, const QString& detail) {
        o.broken.append(QStringLiteral("%1: %2").arg(QLatin1String(check), detail));
    };
    const QString error = o.output.value(QStringLiteral("error")).toString();
    if (o.timedOut)
        broke(kNeverEnds, QStringLiteral("still running after %1 s").arg(cfg.timeout));
    else if (o.signal)
        broke(kCrash, QStringLiteral("signal %1 (%2)").arg(o.signal).arg(QString::fromLatin1(strsignal(o.signal))));
    else if (o.errors.contains("Sanitizer") || o.errors.contains("runtime error:"))
        broke(kCrash, QString::fromLocal8Bit(o.errors.mid(o.errors.indexOf("ERROR"), 200)).simplified());
    else if (o.exitCode == 2)
        broke(kMalformed, error);
    else if (o.exitCode != 0 && o.exitCode != 1)
        broke(kCrash, QStringLiteral("exit %1: %2").arg(o.exitCode).arg(QString::fromLocal8Bit(o.errors.right(200)).simplified()));
    if (error.contains(QLatin1String(" failed: ")) || error.contains(QLatin1String("ended with the uncaught error")))
        broke(kInternalError, error.left(300));

    const bool failed = reportsFailure(o.output);
    const Tree after = treeOf(home);
    QSet<QString> present;
    for (const auto& [below, state] : after)
        present.insert(below.toLower());
    const QString saved = belowHome(seeds.base.value(QStringLiteral("save_drawing")).toString());
    if (error.startsWith(QLatin1String("save_drawing failed")))
        broke(kBadDrawing, QStringLiteral("the drawing held after the run cannot be saved (%1)").arg(error));
    for (const auto& [below, state] : after) {
        const QString name = QFileInfo(below).fileName();
        if (name.startsWith(QLatin1String(".kelvor-tmp-")) || name.startsWith(QLatin1String("qt_temp.")))
            broke(kTempLeft, below);
        const auto was = before.find(below);
        const bool changed = was == before.end() || was->second.hash != state.hash || was->second.size != state.size;
        if (!changed)
            continue;
        if (below != QLatin1String("kelvorconfig.ini") && below != saved) {
            o.newOutputs[below] = state;
            if (state.size <= (256 << 10) && o.outputBytes.size() < 20) {
                QFile f(home + QLatin1Char('/') + below);
                if (f.open(QIODevice::ReadOnly))
                    o.outputBytes[below] = f.readAll();
            }
        }
        if (below.endsWith(QLatin1String(".dxf"), Qt::CaseInsensitive)) {
            const QString fault = drawingFault(home + QLatin1Char('/') + below);
            if (!fault.isEmpty())
                broke(kBadDrawing, (below == saved ? QStringLiteral("the drawing after the run") : below) + QStringLiteral(": ") + fault);
        }
        if (was != before.end() && failed && seeds.oneItem && below != QLatin1String("kelvorconfig.ini"))
            broke(kOldChanged, below);
    }
    // anything written outside the home: the run's own folders hold only
    // what the sweep put there
    for (const char* sub : {"cwd", "tmp", "uhome"}) {
        const Tree t = treeOf(dir + QLatin1Char('/') + QLatin1String(sub));
        for (const auto& [below, state] : t)
            broke(qstrcmp(sub, "tmp") == 0 ? kTempLeft : kOutsideHome, QStringLiteral("%1/%2").arg(QLatin1String(sub), below));
    }
    static const QRegularExpression named(
        QStringLiteral("[A-Za-z]:\\\\(?:[^\\\\\\s\"'，。！：；;:!？?<>|*]+\\\\)*[^\\\\\\s\"'，。！：；;:!？?<>|*]*?\\.[A-Za-z0-9]{1,4}(?![A-Za-z0-9])"));
    for (const QJsonValue& m : o.output.value(QStringLiteral("messages")).toArray()) {
        const QString text = m[QStringLiteral("text")].toString();
        if (text.trimmed().isEmpty())
            broke(kEmptyMessage, QStringLiteral("title \"%1\"").arg(m[QStringLiteral("title")].toString()));
        const QString icon = m[QStringLiteral("icon")].toString();
        if (failed || (icon != QLatin1String("information") && icon != QLatin1String("none")))
            continue;
        auto it = named.globalMatch(text);
        while (it.hasNext()) {
            const QString path = it.next().captured(0);
            if (!present.contains(homeRelative(path).toLower()))
                broke(kNamedMissing, QStringLiteral("\"%1\" names %2").arg(text.left(80), path));
        }
    }
    // an input file that is missing, empty, random bytes or a folder is never
    // read to a success: no success box after it in the same item
    bool afterBad = false;
    for (const QJsonValue& e : o.output.value(QStringLiteral("events")).toArray()) {
        const QString kind = e[QStringLiteral("kind")].toString();
        if (kind == QLatin1String("run"))
            afterBad = false;
        for (const QJsonValue& p : e[QStringLiteral("answer")].toArray()) {
            static const QStringList bad{QStringLiteral("d:\\sweep\\missing."), QStringLiteral("d:\\sweep\\empty.txt"),
                                         QStringLiteral("d:\\sweep\\junk.bin"), QStringLiteral("d:\\sweep\\dir")};
            for (const QString& b : bad)
                afterBad = afterBad || (kind == QLatin1String("open") && p.toString().startsWith(b, Qt::CaseInsensitive));
        }
        const QString text = e[QStringLiteral("text")].toString();
        if (afterBad && !failed && kind == QLatin1String("message") && text.contains(successWords()))
            broke(kJunkSuccess, QStringLiteral("\"%1\"").arg(text.left(80)));
    }
    for (const QJsonValue& p : o.output.value(QStringLiteral("text_window")).toArray()) {
        const QString rel = homeRelative(p.toString());
        if (!rel.isEmpty() && !present.contains(rel.toLower()))
            broke(kNamedMissing, QStringLiteral("the text window shows %1").arg(p.toString()));
    }
    if (!cfg.keepRuns)
        QDir(dir).removeRecursively();
    return o;
}

// ---------------------------------------------------------------- the sweep

bool expected(const QString& item, const QString& broken, const Expectation** which)
{
    for (const Expectation& e : expectations()) {
        if ((e.item == QLatin1String("*") || e.item == item) && broken.startsWith(e.check + QLatin1Char(':'))
            && (e.detail.isEmpty() || broken.contains(e.detail))) {
            *which = &e;
            return true;
        }
    }
    return false;
}

struct ItemStats {
    int plans = 0;
    int runs = 0;
    std::map<QString, int> broken;   // check → runs
    int accepted = 0;
};

struct Job {
    QString item;
    int fixture = 0;
    quint32 seed = 0;
    // A scenario varied answer by answer: the careful answers are its own,
    // so the variants reach the questions that only good input files and
    // real picks lead to. Empty name: an item from its first question.
    QString scenarioName;
    QJsonObject scenario; // paths made absolute; without answers, home, expect and comment
    QJsonObject written;  // as its file holds it, for the kept plans
    QJsonArray answers;
    QStringList runItems; // every item it runs, for the expectation table
    Fixture drawing;      // its drawing's picks, for the variants and the answers a variant brings up
};

// What a scenario's answer answered, as far as the variants need to know.
std::optional<Question> questionOf(const QJsonObject& a)
{
    static const QStringList varied{QStringLiteral("point"), QStringLiteral("entity"), QStringLiteral("select"),
                                    QStringLiteral("string"), QStringLiteral("real"), QStringLiteral("integer"),
                                    QStringLiteral("keyword"), QStringLiteral("input"), QStringLiteral("open"),
                                    QStringLiteral("save"), QStringLiteral("folder")};
    Question q;
    q.kind = a.value(QStringLiteral("kind")).toString();
    if (!varied.contains(q.kind))
        return std::nullopt; // a box's buttons and the kind of an Esc's question are not known here
    const QString path = q.kind == QLatin1String("open") ? a.value(QStringLiteral("paths")).toArray().at(0).toString()
                                                         : a.value(QStringLiteral("value")).toString();
    const QString suffix = QFileInfo(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'))).suffix();
    q.filter = QStringLiteral("*.") + (suffix.isEmpty() ? QStringLiteral("txt") : suffix);
    return q;
}

class Sweep {
public:
    Sweep(const Config& cfg, std::vector<Fixture> fixtures)
        : cfg_(cfg)
        , fixtures_(std::move(fixtures))
    {
    }

    void runJob(const Job& job, int worker)
    {
        if (!job.scenarioName.isEmpty()) {
            runScenarioJob(job, worker);
            return;
        }
        const Fixture& f = fixtures_[job.fixture];
        const QString dir = QStringLiteral("%1/runs/w%2").arg(cfg_.out).arg(worker);
        QJsonObject base = scenarioFor(job.item, {}, f.path, QString());
        base.remove(QStringLiteral("answers"));
        Seeds seeds{f.path, base, true, {}};
        std::vector<Question> questions;
        QJsonArray defaults;
        std::mt19937 random(job.seed);
        const int maxQuestions = cfg_.slice >= 0 ? std::min(cfg_.maxQuestions, 4) : cfg_.maxQuestions;
        // the item's questions, each answered as a careful person would
        Outcome last;
        for (int k = 0; k <= maxQuestions; ++k) {
            last = runOnce(cfg_, dir, defaults, seeds);
            record(job, defaults, QStringLiteral("defaults to question %1").arg(k + 1), last);
            const Stop s = stopOf(last.output, int(defaults.size()));
            if (!s.asked || k == maxQuestions)
                break;
            while (defaults.size() > s.used)
                defaults.removeLast();
            questions.push_back(s.question);
            defaults.append(defaultAnswer(s.question, f, int(defaults.size())));
        }
        // what that made becomes the old files of every other plan
        for (const auto& [below, bytes] : last.outputBytes)
            seeds.oldFiles[below] = bytes;

        std::vector<std::pair<int, Variant>> plans;
        std::map<QString, int> seen; // a question asked in a loop is varied at its first two askings
        for (int k = 0; k < int(questions.size()) && k < int(defaults.size()); ++k) {
            if (++seen[questions[k].kind + QLatin1Char(' ') + questions[k].prompt] > 2)
                continue;
            for (const Variant& v : variants(questions[k], f))
                plans.push_back({k, v});
        }
        if (cfg_.slice >= 0 && !plans.empty()) {
            // two plans by the seed, and at every question the answer that
            // found faults before, so that putting one back fails the slice
            std::vector<std::pair<int, Variant>> sharp, rest;
            for (auto& p : plans)
                (p.second.sharp ? sharp : rest).push_back(std::move(p));
            std::shuffle(rest.begin(), rest.end(), random);
            rest.resize(std::min<size_t>(rest.size(), 2));
            plans = std::move(sharp);
            plans.insert(plans.end(), rest.begin(), rest.end());
        }
        for (const auto& [k, v] : plans) {
            QJsonArray plan;
            for (int i = 0; i < k; ++i)
                plan.append(defaults.at(i));
            plan.append(v.answer);
            for (int i = k + 1; i < defaults.size(); ++i)
                plan.append(defaults.at(i));
            const QString label = QStringLiteral("question %1 (%2 \"%3\"): %4")
                                      .arg(k + 1).arg(questions[k].kind, questions[k].prompt.left(40), v.label);
            runVariant(job, dir, seeds, f, plan, k, label);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        stats_[job.item].plans += 1 + int(plans.size());
    }

    // One plan whose answer k is a variant; a question the variant brings up
    // gets the careful answer (up to maxExtend more).
    void runVariant(const Job& job, const QString& dir, const Seeds& seeds, const Fixture& f, QJsonArray plan, int k,
                    const QString& label)
    {
        for (int extend = 0;; ++extend) {
            const Outcome o = runOnce(cfg_, dir, plan, seeds);
            record(job, plan, label, o);
            const Stop s = stopOf(o.output, int(plan.size()));
            if (!s.asked || extend == cfg_.maxExtend || s.used < k + 1)
                break;
            while (plan.size() > s.used)
                plan.removeLast();
            plan.append(defaultAnswer(s.question, f, int(plan.size())));
        }
    }

    void runScenarioJob(const Job& job, int worker)
    {
        const QString dir = QStringLiteral("%1/runs/w%2").arg(cfg_.out).arg(worker);
        const QString drawing = job.scenario.value(QStringLiteral("drawing")).toString();
        Seeds seeds{drawing.size() >= 2 && drawing[1] == QLatin1Char(':') ? QString() : drawing, job.scenario,
                    job.scenario.value(QStringLiteral("run")).toArray().size() == 1, {}};
        const Outcome first = runOnce(cfg_, dir, job.answers, seeds);
        record(job, job.answers, QStringLiteral("as written"), first);
        for (const auto& [below, bytes] : first.outputBytes)
            seeds.oldFiles[below] = bytes;
        int plans = 0;
        std::map<QString, int> seen; // the first four answers of each kind are varied
        for (int k = 0; k < int(job.answers.size()); ++k) {
            const std::optional<Question> q = questionOf(job.answers.at(k).toObject());
            if (!q || ++seen[q->kind] > 4)
                continue;
            for (const Variant& v : variants(*q, job.drawing)) {
                QJsonArray plan = job.answers;
                plan.replace(k, v.answer);
                const QString label = QStringLiteral("answer %1 (%2): %3").arg(k + 1).arg(q->kind, v.label);
                ++plans;
                runVariant(job, dir, seeds, job.drawing, plan, k, label);
            }
        }
        std::lock_guard<std::mutex> lock(mutex_);
        stats_[job.scenarioName].plans += 1 + plans;
    }

    // The plan of a broken run as a scenario that runs from tests/e2e/scenarios.
    QJsonObject keptScenario(const Job& job, const QJsonArray& plan, const QString& label, const QString& broken) const
    {
        const QString sweepFiles = QStringLiteral("the read-only folder d:\\sweep\\ro, d:\\sweep\\empty.txt and "
                                                  "d:\\sweep\\junk.bin are made by the sweep");
        QJsonObject sc;
        QJsonObject copies;
        if (job.scenarioName.isEmpty()) {
            const QString fixture = fixtures_[job.fixture].name;
            sc = scenarioFor(job.item, plan, QStringLiteral("../drawings/") + fixture, QString());
            sc.insert(QStringLiteral("comment"), QStringLiteral("%1 on %2, %3 — %4 (found by the sweep; %5)")
                                                      .arg(job.item, fixture, label, broken, sweepFiles));
        } else {
            sc = job.written;
            sc.remove(QStringLiteral("expect"));
            sc.insert(QStringLiteral("answers"), plan);
            sc.insert(QStringLiteral("comment"), QStringLiteral("%1 varied, %2 — %3 (found by the sweep; %4)")
                                                      .arg(job.scenarioName, label, broken, sweepFiles));
            copies = sc.value(QStringLiteral("copy_files")).toObject();
        }
        copies.insert(QStringLiteral("d:\\sweep\\empty.txt"), QStringLiteral("../drawings/sweep_empty.txt"));
        copies.insert(QStringLiteral("d:\\sweep\\junk.bin"), QStringLiteral("../drawings/sweep_junk.bin"));
        sc.insert(QStringLiteral("copy_files"), copies);
        return sc;
    }

    void record(const Job& job, const QJsonArray& plan, const QString& label, const Outcome& o)
    {
        const QString name = job.scenarioName.isEmpty() ? job.item : job.scenarioName;
        const QString where = job.scenarioName.isEmpty() ? fixtures_[job.fixture].name : job.drawing.name;
        std::lock_guard<std::mutex> lock(mutex_);
        ItemStats& s = stats_[name];
        ++s.runs;
        ++runs_;
        QSet<QString> checks;
        for (const QString& b : o.broken) {
            const Expectation* e = nullptr;
            const QStringList items = job.runItems.isEmpty() ? QStringList{job.item} : job.runItems;
            if (std::any_of(items.begin(), items.end(), [&](const QString& i) { return expected(i, b, &e); })) {
                ++s.accepted;
                continue;
            }
            const QString check = b.section(QLatin1Char(':'), 0, 0);
            if (checks.contains(check))
                continue;
            checks.insert(check);
            ++s.broken[check];
            const int n = ++kept_;
            QString file = QStringLiteral("%1_%2_%3").arg(name, QFileInfo(where).baseName(), check);
            file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]+")), QStringLiteral("_"));
            writeFile(QStringLiteral("%1/broken/%2_%3.json").arg(cfg_.out, file).arg(n),
                      QJsonDocument(keptScenario(job, plan, label, b)).toJson(QJsonDocument::Indented));
            // every broken run is kept; the listing shows the first few of each item and check
            if (++listed_[name + QLatin1Char(' ') + check] <= 3)
                lines_.append(QStringLiteral("BROKEN %1 on %2, %3\n    %4\n    -> broken/%5_%6.json")
                                  .arg(name, where, label, b.left(400), file).arg(n));
        }
    }

    int report(double seconds) const
    {
        const QStringList checks{QLatin1String(kNeverEnds), QLatin1String(kCrash), QLatin1String(kInternalError),
                                 QLatin1String(kBadDrawing), QLatin1String(kOutsideHome), QLatin1String(kTempLeft),
                                 QLatin1String(kOldChanged), QLatin1String(kEmptyMessage), QLatin1String(kNamedMissing),
                                 QLatin1String(kJunkSuccess), QLatin1String(kMalformed)};
        QString out;
        for (const QString& l : lines_)
            out += l + QLatin1Char('\n');
        out += QStringLiteral("\n%1 %2 %3").arg(QStringLiteral("item"), -28).arg(QStringLiteral("plans"), 6).arg(QStringLiteral("runs"), 6);
        for (const QString& c : checks)
            out += QStringLiteral(" %1").arg(c, 6);
        out += QStringLiteral("  accepted\n");
        ItemStats total;
        int brokenItems = 0;
        for (const auto& [item, s] : stats_) {
            out += QStringLiteral("%1 %2 %3").arg(item, -28).arg(s.plans, 6).arg(s.runs, 6);
            for (const QString& c : checks) {
                const auto it = s.broken.find(c);
                const int n = it == s.broken.end() ? 0 : it->second;
                total.broken[c] += n;
                out += QStringLiteral(" %1").arg(n ? QString::number(n) : QStringLiteral("."), c.size() < 6 ? 6 : int(c.size()));
            }
            out += QStringLiteral("  %1\n").arg(s.accepted);
            total.plans += s.plans;
            total.runs += s.runs;
            total.accepted += s.accepted;
            brokenItems += !s.broken.empty();
        }
        out += QStringLiteral("%1 %2 %3").arg(QStringLiteral("total"), -28).arg(total.plans, 6).arg(total.runs, 6);
        int brokenRuns = 0;
        for (const QString& c : checks) {
            brokenRuns += total.broken[c];
            out += QStringLiteral(" %1").arg(total.broken[c], c.size() < 6 ? 6 : int(c.size()));
        }
        out += QStringLiteral("  %1\n").arg(total.accepted);
        const QString what = cfg_.scenarios.isEmpty()
                                 ? QStringLiteral("%1 items on %2 drawings").arg(stats_.size()).arg(fixtures_.size())
                                 : QStringLiteral("%1 scenarios").arg(stats_.size());
        out += QStringLiteral("\n%1, %3 plans, %4 runs in %5 s with %6 at a time; "
                              "%7 items with broken checks (%8 kept plans in %9/broken); %10 runs as expected.\n")
                   .arg(what).arg(total.plans).arg(total.runs)
                   .arg(seconds, 0, 'f', 0).arg(cfg_.jobs).arg(brokenItems).arg(kept_).arg(cfg_.out).arg(total.accepted);
        if (!expectations().empty()) {
            out += QStringLiteral("\nExpected, not counted:\n");
            for (const Expectation& e : expectations())
                out += QStringLiteral("  %1 %2%3: %4%5\n")
                           .arg(e.item, e.check, e.detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(e.detail),
                                e.openFault ? QStringLiteral("OPEN FAULT, ") : QString(), e.reason);
        }
        const QByteArray bytes = out.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        writeFile(cfg_.out + QStringLiteral("/report.txt"), bytes);
        return brokenRuns ? 1 : 0;
    }

private:
    const Config& cfg_;
    std::vector<Fixture> fixtures_;
    std::mutex mutex_;
    std::map<QString, ItemStats> stats_;
    QStringList lines_;
    std::map<QString, int> listed_;
    int runs_ = 0;
    int kept_ = 0;
};

// The same item and slice give the same seed in every process (qHash of a
// string is seeded anew per process where the CPU hashes with AES).
quint32 stableSeed(const QString& item, long slice)
{
    quint32 h = 2166136261u ^ quint32(slice);
    for (const char c : item.toUtf8())
        h = (h ^ quint8(c)) * 16777619u;
    return h;
}

// Every scenario of a folder that runs in a home of its own and is not
// malformed on purpose, with its paths made absolute.
std::vector<Job> scenarioJobs(const QString& folder)
{
    std::vector<Job> jobs;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QFile f(dir.absoluteFilePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject written = QJsonDocument::fromJson(f.readAll()).object();
        const QJsonObject expect = written.value(QStringLiteral("expect")).toObject();
        if (written.contains(QStringLiteral("home")) || expect.value(QStringLiteral("exit")).toInt() == 2
            || expect.contains(QStringLiteral("error")))
            continue;
        Job job;
        job.scenarioName = name;
        job.written = written;
        job.scenario = written;
        for (const char* key : {"expect", "comment", "answers", "home"})
            job.scenario.remove(QLatin1String(key));
        job.answers = written.value(QStringLiteral("answers")).toArray();
        // what the drawing holds after the run is checked like any saved drawing
        if (!job.scenario.contains(QStringLiteral("save_drawing")) && !job.scenario.contains(QStringLiteral("cad")))
            job.scenario.insert(QStringLiteral("save_drawing"), kSavedDrawing);
        auto absolute = [&](const QString& path) {
            return path.isEmpty() || (path.size() >= 2 && path[1] == QLatin1Char(':')) ? path : dir.absoluteFilePath(path);
        };
        for (const char* key : {"drawing", "document"})
            if (job.scenario.contains(QLatin1String(key)))
                job.scenario.insert(QLatin1String(key), absolute(job.scenario.value(QLatin1String(key)).toString()));
        QJsonObject copies = job.scenario.value(QStringLiteral("copy_files")).toObject();
        for (auto it = copies.begin(); it != copies.end(); ++it)
            it.value() = absolute(it.value().toString());
        if (!copies.isEmpty())
            job.scenario.insert(QStringLiteral("copy_files"), copies);
        const QString drawing = job.scenario.value(QStringLiteral("drawing")).toString();
        if (QFileInfo(drawing).isFile())
            job.drawing = readFixture(QFileInfo(drawing).absolutePath(), QFileInfo(drawing).fileName());
        const QJsonArray run = written.value(QStringLiteral("run")).toArray();
        job.item = run.isEmpty() ? QString() : run.first().toString();
        for (const QJsonValue& v : run)
            if (v.isString())
                job.runItems.append(v.toString());
        jobs.push_back(std::move(job));
    }
    return jobs;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: kelvor-sweep --runner KELVOR-RUN --drawings DIR --out DIR [--jobs N] [--slice SEED]\n"
                 "                    [--items a,b] [--fixtures a.dxf,b.dxf] [--timeout S] [--memory MB] [--keep]\n"
                 "                    [--scenarios DIR]   (vary the scenarios' own answers instead)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Config cfg;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args.at(i);
        const QString v = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == QLatin1String("--keep")) {
            cfg.keepRuns = true;
            continue;
        }
        if (v.isEmpty())
            return usage();
        ++i;
        if (a == QLatin1String("--runner")) cfg.runner = QFileInfo(v).absoluteFilePath();
        else if (a == QLatin1String("--drawings")) cfg.drawings = QFileInfo(v).absoluteFilePath();
        else if (a == QLatin1String("--out")) cfg.out = QFileInfo(v).absoluteFilePath();
        else if (a == QLatin1String("--jobs")) cfg.jobs = std::max(1, v.toInt());
        else if (a == QLatin1String("--slice")) cfg.slice = v.toLong();
        else if (a == QLatin1String("--items")) cfg.only = v.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (a == QLatin1String("--fixtures")) cfg.fixtures = v.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (a == QLatin1String("--timeout")) cfg.timeout = std::max(1, v.toInt());
        else if (a == QLatin1String("--memory")) cfg.memoryMb = v.toLongLong();
        else if (a == QLatin1String("--scenarios")) cfg.scenarios = QFileInfo(v).absoluteFilePath();
        else return usage();
    }
    if (cfg.runner.isEmpty() || cfg.drawings.isEmpty() || cfg.out.isEmpty())
        return usage();
    QDir(cfg.out + QStringLiteral("/broken")).removeRecursively();
    QDir(cfg.out + QStringLiteral("/runs")).removeRecursively();
    QDir().mkpath(cfg.out + QStringLiteral("/broken"));

    std::vector<Fixture> fixtures;
    for (const QString& name : cfg.fixtures) {
        try {
            fixtures.push_back(readFixture(cfg.drawings, name));
        } catch (const RunError& e) {
            std::fprintf(stderr, "kelvor-sweep: %s: %s\n", qPrintable(name), qPrintable(e.description()));
            return 2;
        }
    }
    CommandRegistry registry;
    app::registerAllCommands(registry);
    QStringList items = registry.items();
    if (!cfg.only.isEmpty()) {
        for (const QString& i : cfg.only) {
            if (!registry.has(i)) {
                std::fprintf(stderr, "kelvor-sweep: no item \"%s\"\n", qPrintable(i));
                return 2;
            }
        }
        items = cfg.only;
    }
    std::vector<Job> jobs;
    if (!cfg.scenarios.isEmpty()) {
        jobs = scenarioJobs(cfg.scenarios);
        items.clear();
    }
    for (const QString& item : items) {
        // the slice: one drawing per item, picked by the seed
        const quint32 seed = stableSeed(item, cfg.slice < 0 ? 0 : cfg.slice);
        for (int f = 0; f < int(fixtures.size()); ++f) {
            if (cfg.slice >= 0 && quint32(f) != seed % fixtures.size())
                continue;
            Job job;
            job.item = item;
            job.fixture = f;
            job.seed = seed;
            jobs.push_back(job);
        }
    }
    // longest first would need to know them; spread the drawings instead
    Sweep sweep(cfg, fixtures);
    std::atomic<size_t> next{0};
    std::atomic<size_t> done{0};
    QElapsedTimer clock;
    clock.start();
    std::vector<std::thread> workers;
    for (int w = 0; w < cfg.jobs; ++w) {
        workers.emplace_back([&, w] {
            for (size_t j; (j = next++) < jobs.size();) {
                sweep.runJob(jobs[j], w);
                const size_t n = ++done;
                if (n % 20 == 0 || n == jobs.size())
                    std::fprintf(stderr, "kelvor-sweep: %zu of %zu item-drawing pairs done, %lld s\n", n, jobs.size(),
                                 clock.elapsed() / 1000);
            }
        });
    }
    for (std::thread& t : workers)
        t.join();
    QDir(cfg.out + QStringLiteral("/runs")).removeRecursively();
    return sweep.report(clock.elapsed() / 1000.0);
}
