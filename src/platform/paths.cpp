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

// Finds each existing component without regard to case; the rest of the
// path is appended as given.
QString matchCase(const QString& base, const QStringList& parts)
{
    QString cur = base;
    bool exists = QFileInfo::exists(cur);
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        QString next = cur.endsWith(QLatin1Char('/')) ? cur + part : cur + QLatin1Char('/') + part;
        if (exists && !QFileInfo::exists(next) && part != QLatin1String("..")) {
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
    QString base;
    QString rest;
    if (isDrivePath(p)) {
        const QString root = stripTrailing(QDir::cleanPath(current().drivesRoot));
        base = root + QLatin1Char('/') + p[0].toLower();
        QDir().mkpath(base);
        rest = p.mid(2);
    } else if (p.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
        rest = p;
    } else {
        base = QDir::currentPath();
        rest = p;
    }
    const bool trailing = rest.endsWith(QLatin1Char('/'));
    QString out = matchCase(base, rest.split(QLatin1Char('/'), Qt::SkipEmptyParts));
    if (trailing && !out.endsWith(QLatin1Char('/')))
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

} // namespace kelvor::paths
