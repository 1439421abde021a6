#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>
#include <optional>

namespace kelvor::paths {

namespace {

QMutex mutex;
std::optional<Locations> configured;

QString env(const char* name)
{
    return qEnvironmentVariable(name);
}

Locations fromEnvironment()
{
    Locations l;
    const QString home = env("KELVOR_HOME");
    if (!home.isEmpty()) {
        l.settingsFile = home + QStringLiteral("/kelvorconfig.ini");
        l.windir = home + QStringLiteral("/windir");
        l.drivesRoot = home + QStringLiteral("/drives");
        l.programDir = home + QStringLiteral("/program");
    } else {
        const QString user = QDir::homePath();
        l.settingsFile = user + QStringLiteral("/.config/kelvor/kelvorconfig.ini");
        l.windir = user + QStringLiteral("/.local/share/kelvor/windir");
        l.drivesRoot = user + QStringLiteral("/Kelvor");
        l.programDir = user + QStringLiteral("/.local/share/kelvor/program");
    }
    if (!env("KELVOR_SETTINGS").isEmpty())
        l.settingsFile = env("KELVOR_SETTINGS");
    if (!env("KELVOR_WINDIR").isEmpty())
        l.windir = env("KELVOR_WINDIR");
    if (!env("KELVOR_DRIVES").isEmpty())
        l.drivesRoot = env("KELVOR_DRIVES");
    if (!env("KELVOR_PROGRAM_DIR").isEmpty())
        l.programDir = env("KELVOR_PROGRAM_DIR");
    return l;
}

QString stripTrailing(QString p)
{
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

// Applies "." and ".." as Windows does: ".." of a root is that root, so a
// path never climbs above the root it starts from.
QStringList normalised(const QStringList& parts)
{
    QStringList out;
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!out.isEmpty())
                out.removeLast();
            continue;
        }
        out.append(part);
    }
    return out;
}

// Finds each existing component without regard to case; the rest of the
// path is appended as given.
QString matchCase(const QString& base, const QStringList& parts)
{
    QString cur = base;
    bool exists = QFileInfo::exists(cur);
    for (const QString& part : parts) {
        QString next = cur.endsWith(QLatin1Char('/')) ? cur + part : cur + QLatin1Char('/') + part;
        if (exists && !QFileInfo::exists(next)) {
            const QStringList entries = QDir(cur).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                            | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    next = cur.endsWith(QLatin1Char('/')) ? cur + e : cur + QLatin1Char('/') + e;
                    break;
                }
            }
        }
        exists = exists && QFileInfo::exists(next);
        cur = next;
    }
    return cur;
}

QString driveFolder(QChar letter)
{
    const QString base = stripTrailing(QDir::cleanPath(current().drivesRoot)) + QLatin1Char('/') + letter.toLower();
    QDir().mkpath(base);
    return base;
}

// A folder a path may not climb out of, and where below it a path starts.
struct Anchor {
    QString root;
    QStringList parts;
};

// The current folder of a relative path. Inside the drives root, WINDIR or
// the program's folder it is the process's own, held to its drive or folder;
// elsewhere it is the program's folder, where a started program begins.
Anchor currentFolder()
{
    const QString cwd = QDir::cleanPath(QDir::currentPath());
    const QString drives = stripTrailing(QDir::cleanPath(current().drivesRoot));
    const auto below = [&](const QString& root) {
        return cwd == root || cwd.startsWith(root + QLatin1Char('/'));
    };
    if (cwd.startsWith(drives + QLatin1Char('/'))) {
        const QStringList rest = cwd.mid(drives.size() + 1).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (!rest.isEmpty() && rest.first().size() == 1 && rest.first()[0].isLetter())
            return {driveFolder(rest.first()[0]), rest.mid(1)};
    }
    for (const QString& root : {stripTrailing(QDir::cleanPath(current().windir)),
                                stripTrailing(QDir::cleanPath(current().programDir))}) {
        if (below(root))
            return {root, cwd.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)};
    }
    return {programDir(), {}};
}

} // namespace

Locations current()
{
    QMutexLocker lock(&mutex);
    if (configured)
        return *configured;
    return fromEnvironment();
}

void configure(const Locations& locations)
{
    QMutexLocker lock(&mutex);
    configured = locations;
}

void configureHome(const QString& home)
{
    Locations l;
    l.settingsFile = home + QStringLiteral("/kelvorconfig.ini");
    l.windir = home + QStringLiteral("/windir");
    l.drivesRoot = home + QStringLiteral("/drives");
    l.programDir = home + QStringLiteral("/program");
    configure(l);
}

void reset()
{
    QMutexLocker lock(&mutex);
    configured.reset();
}

QString windir()
{
    const QString w = stripTrailing(QDir::cleanPath(current().windir));
    QDir().mkpath(w);
    return w;
}

QString scratch(const QString& name)
{
    return resolve(windir() + QLatin1Char('/') + name);
}

QString programDir()
{
    const QString p = stripTrailing(QDir::cleanPath(current().programDir));
    QDir().mkpath(p);
    return p;
}

bool isDrivePath(const QString& path)
{
    return path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter() && path[0].unicode() < 128;
}

QString resolve(const QString& path)
{
    if (path.isEmpty())
        return path;
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    Anchor at;
    QString rest;
    if (isDrivePath(p)) {
        at.root = driveFolder(p[0]);
        rest = p.mid(2);
    } else if (p.startsWith(QLatin1Char('/'))) {
        at.root = QStringLiteral("/");
        rest = p;
    } else {
        at = currentFolder();
        rest = p;
    }
    const QStringList given = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // A path ending in a separator, "." or ".." names a folder.
    const bool folder = rest.endsWith(QLatin1Char('/'))
                        || (!given.isEmpty() && (given.last() == QLatin1String(".") || given.last() == QLatin1String("..")));
    QString out = matchCase(at.root, normalised(at.parts + given));
    if (folder && !out.endsWith(QLatin1Char('/')))
        out += QLatin1Char('/');
    return out;
}

QString toWindows(const QString& nativePath)
{
    const QString root = stripTrailing(QDir::cleanPath(current().drivesRoot)) + QLatin1Char('/');
    const QString clean = QDir::cleanPath(nativePath);
    if (clean.startsWith(root) && clean.size() > root.size()) {
        QString rest = clean.mid(root.size());
        const QChar drive = rest[0];
        if (rest.size() == 1 || rest[1] == QLatin1Char('/')) {
            rest = rest.mid(1);
            rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
            if (rest.isEmpty())
                rest = QStringLiteral("\\");
            return QString(drive.toUpper()) + QLatin1Char(':') + rest;
        }
    }
    return nativePath;
}

QString shown(const QString& path)
{
    if (path.isEmpty())
        return path;
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (isDrivePath(p)) {
        p.replace(QLatin1Char('/'), QLatin1Char('\\'));
        return p;
    }
    const QString windows = toWindows(p);
    if (windows != p)
        return windows;
    return QDir::toNativeSeparators(p);
}

namespace {

// Characters that may come right before a path's first one inside a word:
// "1/2" and "[Y/N]" are no paths.
bool inWord(QChar c)
{
    return c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral("_.-~/\\").contains(c));
}

bool endsPath(QChar c)
{
    return c.isSpace() || QStringLiteral("\"“”'‘’()（）[]【】<>《》|,，;；。!！?？、").contains(c);
}

bool pathStartsAt(const QString& text, qsizetype i)
{
    if (i > 0 && inWord(text[i - 1]))
        return false;
    if (text[i] == QLatin1Char('/'))
        return true;
    return i + 2 < text.size() && isDrivePath(text.mid(i, 2))
           && (text[i + 2] == QLatin1Char('\\') || text[i + 2] == QLatin1Char('/'));
}

} // namespace

QString shownInText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (!pathStartsAt(text, i)) {
            out += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !endsPath(text[end]))
            ++end;
        out += shown(text.mid(i, end - i));
        i = end;
    }
    return out;
}

} // namespace kelvor::paths
