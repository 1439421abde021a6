#pragma once
#include "platform/scripted.h"
#include "platform/settings.h"
#include "platform/context.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

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
// A fixture file beside the test sources.
#ifdef KELVOR_TEST_DIR
inline QString fixture(const QString& relative)
{
    return QStringLiteral(KELVOR_TEST_DIR) + QLatin1Char('/') + relative;
}
#endif

} // namespace kelvor::test
