// kelvor-e2e-check KELVOR-RUN SCENARIO.json: runs the scenario and checks
// that the output holds every fragment of the scenario's "expect" object.
//   objects: every expected key is there (a-z case ignored in names, as the
//            settings store does) and its value matches; "a.b" reaches
//            key b inside a;
//   arrays:  the expected elements appear in this order, others may come
//            between them; an empty list asks for an empty one; a list of names against an object asks that
//            those entries exist and are not null ("files": ["d:\a.CG"]);
//   texts:   equal, except that the drive letter of a path ("D:\...")
//            matches in either case;
//   "exit":  the expected exit status (0 when not given);
//   "files_equal_fixtures": {read path: fixture below the source tree}: the
//            file's text equals the fixture's (both GBK);
//   "file_lines": {read path: [lines]}: the lines appear in this order.
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cstdio>

#include "platform/text_file.h"

namespace {

QString upperAscii(QString s)
{
    for (QChar& c : s) {
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 32);
    }
    return s;
}

QString show(const QJsonValue& v)
{
    if (v.isObject())
        return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    if (v.isArray())
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

QJsonValue member(const QJsonObject& a, const QString& key)
{
    QJsonValue v = a.value(key);
    if (v.isUndefined()) {
        for (auto at = a.begin(); at != a.end(); ++at) {
            if (upperAscii(at.key()) == upperAscii(key))
                v = at.value();
        }
    }
    if (v.isUndefined() && key.contains(QLatin1Char('.'))) {
        const qsizetype dot = key.indexOf(QLatin1Char('.'));
        const QJsonValue head = member(a, key.left(dot));
        if (head.isObject())
            v = member(head.toObject(), key.mid(dot + 1));
    }
    return v;
}

bool isDrivePath(const QString& s)
{
    return s.size() >= 3 && s[0].isLetter() && s[0].unicode() < 128 && s[1] == QLatin1Char(':')
           && s[2] == QLatin1Char('\\');
}

bool matches(const QJsonValue& expected, const QJsonValue& actual, const QString& where, QString* why)
{
    if (expected.isArray() && actual.isObject()) {
        const QJsonObject a = actual.toObject();
        for (const auto& name : expected.toArray()) {
            const QJsonValue v = member(a, name.toString());
            if (v.isUndefined() || v.isNull()) {
                *why = where + QStringLiteral(": no entry ") + show(name);
                return false;
            }
        }
        return true;
    }
    if (expected.isString() && actual.isString()) {
        const QString e = expected.toString();
        const QString a = actual.toString();
        if (e == a || (isDrivePath(e) && isDrivePath(a) && e.mid(1) == a.mid(1)
                       && e[0].toUpper() == a[0].toUpper()))
            return true;
        *why = where + QStringLiteral(": expected ") + show(expected) + QStringLiteral(", got ") + show(actual);
        return false;
    }
    if (expected.isObject()) {
        if (!actual.isObject()) {
            *why = where + QStringLiteral(": an object is expected, got ") + show(actual);
            return false;
        }
        const QJsonObject e = expected.toObject();
        const QJsonObject a = actual.toObject();
        for (auto it = e.begin(); it != e.end(); ++it) {
            const QJsonValue av = member(a, it.key());
            if (av.isUndefined()) {
                *why = where + QLatin1Char('.') + it.key() + QStringLiteral(": missing");
                return false;
            }
            if (!matches(it.value(), av, where + QLatin1Char('.') + it.key(), why))
                return false;
        }
        return true;
    }
    if (expected.isArray()) {
        if (!actual.isArray()) {
            *why = where + QStringLiteral(": a list is expected, got ") + show(actual);
            return false;
        }
        const QJsonArray e = expected.toArray();
        const QJsonArray a = actual.toArray();
        if (e.isEmpty() && !a.isEmpty()) {
            *why = where + QStringLiteral(": expected nothing, got ") + show(a);
            return false;
        }
        qsizetype next = 0;
        for (qsizetype i = 0; i < e.size(); ++i) {
            QString ignored;
            while (next < a.size() && !matches(e.at(i), a.at(next), where, &ignored))
                ++next;
            if (next == a.size()) {
                *why = QStringLiteral("%1[%2]: no element %3 in order in %4").arg(where).arg(i).arg(show(e.at(i)), show(a));
                return false;
            }
            ++next;
        }
        return true;
    }
    if (expected != actual) {
        *why = where + QStringLiteral(": expected ") + show(expected) + QStringLiteral(", got ") + show(actual);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: kelvor-e2e-check KELVOR-RUN SCENARIO.json\n");
        return 2;
    }
    QFile f(args.at(2));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(2)));
        return 2;
    }
    const QJsonObject scenario = QJsonDocument::fromJson(f.readAll()).object();
    QJsonObject expect = scenario.value(QStringLiteral("expect")).toObject();
    const int exitWanted = expect.value(QStringLiteral("exit")).toInt(0);
    expect.remove(QStringLiteral("exit"));
    const QJsonObject fileExpect{{QStringLiteral("files_equal_fixtures"), expect.take(QStringLiteral("files_equal_fixtures"))},
                                 {QStringLiteral("file_lines"), expect.take(QStringLiteral("file_lines"))}};

    QProcess run;
    run.start(args.at(1), {args.at(2)});
    if (!run.waitForFinished(50000)) {
        std::fprintf(stderr, "kelvor-run did not finish\n");
        return 1;
    }
    const QByteArray out = run.readAllStandardOutput();
    const QJsonObject actual = QJsonDocument::fromJson(out).object();
    QString why;
    if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != exitWanted)
        why = QStringLiteral("exit status %1, expected %2").arg(run.exitCode()).arg(exitWanted);
    else
        matches(expect, actual, QStringLiteral("output"), &why);
    const QJsonObject files = actual.value(QStringLiteral("files")).toObject();
    const QJsonObject fixtures = fileExpect.value(QStringLiteral("files_equal_fixtures")).toObject();
    for (auto it = fixtures.begin(); why.isEmpty() && it != fixtures.end(); ++it) {
        QFile fx(QStringLiteral(KELVOR_SOURCE_DIR "/") + it.value().toString());
        if (!fx.open(QIODevice::ReadOnly))
            why = QStringLiteral("fixture %1 missing").arg(it.value().toString());
        else if (files.value(it.key()).toString() != kelvor::decodeGbk(fx.readAll()))
            why = QStringLiteral("%1 differs from %2:\n%3").arg(it.key(), it.value().toString(),
                                                               files.value(it.key()).toString());
    }
    const QJsonObject lines = fileExpect.value(QStringLiteral("file_lines")).toObject();
    for (auto it = lines.begin(); why.isEmpty() && it != lines.end(); ++it) {
        QString text = files.value(it.key()).toString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QStringList have = text.split(QLatin1Char('\n'));
        qsizetype next = 0;
        for (const auto& want : it.value().toArray()) {
            while (next < have.size() && have[next] != want.toString())
                ++next;
            if (next == have.size()) {
                why = QStringLiteral("%1 lacks the line \"%2\" (in order):\n%3").arg(it.key(), want.toString(), text);
                break;
            }
            ++next;
        }
    }
    if (why.isEmpty())
        return 0;
    std::fprintf(stderr, "%s\n--- kelvor-run output ---\n%s\n%s\n", why.toUtf8().constData(), out.constData(),
                 run.readAllStandardError().constData());
    return 1;
}
