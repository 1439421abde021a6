#pragma once
#include "platform/scripted.h"
#include "platform/settings.h"
#include "platform/context.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace kelvor::test {

// A fresh home for one test: settings file, WINDIR, drives root and program
// folder all inside a temporary folder, removed afterwards. Gives a
// scripted Ui over an answer queue and a Context wired to both.
class TempHome {
public:
    TempHome();
    ~TempHome();

private:
    QTemporaryDir dir_; // first: everything below lives in it

public:
    QString root() const { return dir_.path(); }
    // A native path for a Windows-style or relative name ("d:\a.txt" maps
    // below the drives root; "a.txt" lands in root()).
    QString path(const QString& name) const;

    SettingsStore settings;
    AnswerQueue answers;
    ScriptedUi ui;
    Context context;

    void answer(const QString& kind, const QString& value = QString());
    void answerOpen(const QStringList& paths);
};

// Raw bytes of a file (empty when missing).
QByteArray readBytes(const QString& path);
// Writes text as GBK with the line ends given in it.
void writeGbk(const QString& path, const QString& text);
// Writes bytes to a native path as they are (a failed open fails the test).
void writeBytes(const QString& path, const QByteArray& bytes);

// Every line followed by CR LF; nothing for no lines.
QString crlfText(const QStringList& lines);
// The same as GBK bytes.
QByteArray gbkLines(const QStringList& lines);
// Writes a text file as the program's files are (GBK, CR LF), creating its
// folder.
void writeGbkLines(const QString& path, const QStringList& lines);
// Lines of a file's bytes, without their LF or CR LF ends.
QList<QByteArray> linesOf(const QByteArray& bytes);

// The number of the RunError the call raises, 0 when it raises none.
int errorOf(const std::function<void()>& f);
// The shortest text that reads back as the same double: equal texts mean
// bit-equal numbers.
std::string exact(double v);
inline QString u(const char* s)
{
    return QString::fromUtf8(s);
}

// The texts of the message boxes shown so far, in order.
QStringList messageTexts(const ScriptedUi& ui);
inline QStringList messageTexts(const TempHome& home)
{
    return messageTexts(home.ui);
}

// The last message box shown (empty when none was).
QJsonObject lastMessage(const TempHome& home);
// A fixture file beside the test sources.
#ifdef KELVOR_TEST_DIR
inline QString fixture(const QString& relative)
{
    return QStringLiteral(KELVOR_TEST_DIR) + QLatin1Char('/') + relative;
}
#endif

} // namespace kelvor::test
