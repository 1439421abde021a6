#include "test_support.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <charconv>
#include <gtest/gtest.h>

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

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString crlfText(const QStringList& lines)
{
    QString text;
    for (const QString& l : lines)
        text += l + QStringLiteral("\r\n");
    return text;
}

QByteArray gbkLines(const QStringList& lines)
{
    return encodeGbk(crlfText(lines));
}

void writeGbkLines(const QString& path, const QStringList& lines)
{
    writeGbk(path, crlfText(lines));
}

QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    for (QByteArray& l : out) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    return out;
}

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RunError& e) {
        return e.number();
    }
    return 0;
}

std::string exact(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

QStringList messageTexts(const ScriptedUi& ui)
{
    QStringList out;
    for (const QJsonValue& m : ui.messages())
        out.append(m.toObject().value(QStringLiteral("text")).toString());
    return out;
}

QJsonObject lastMessage(const TempHome& home)
{
    const QJsonArray m = home.ui.messages();
    return m.isEmpty() ? QJsonObject() : m.last().toObject();
}

} // namespace kelvor::test
