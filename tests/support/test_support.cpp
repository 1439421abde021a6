#include "test_support.h"

#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvor::test {

namespace {
QString makeHome(QTemporaryDir& dir)
{
    paths::configureHome(dir.path());
    return dir.path() + QStringLiteral("/kelvorconfig.ini");
}
} // namespace

TempHome::TempHome()
    : settings(makeHome(dir_))
    , ui(answers)
    , context(settings, ui)
{
}

TempHome::~TempHome()
{
    paths::reset();
}

QString TempHome::path(const QString& name) const
{
    if (paths::isDrivePath(name) || name.startsWith(QLatin1Char('/')))
        return paths::resolve(name);
    return dir_.path() + QLatin1Char('/') + name;
}

void TempHome::answer(const QString& kind, const QString& value)
{
    ScriptedAnswer a;
    a.kind = kind;
    a.text = value;
    answers.push(a);
}

void TempHome::answerOpen(const QStringList& paths)
{
    ScriptedAnswer a;
    a.kind = QStringLiteral("open");
    a.list = paths;
    answers.push(a);
}

QByteArray readBytes(const QString& path)
{
    QFile f(paths::resolve(path));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeGbk(const QString& path, const QString& text)
{
    const QString real = paths::resolve(path);
    QDir().mkpath(QFileInfo(real).absolutePath());
    writeFileBytes(real, encodeGbk(text));
}


} // namespace kelvor::test
