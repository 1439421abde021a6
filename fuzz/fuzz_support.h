#pragma once
// One scripted home per fuzzing process: settings, WINDIR and drives in a
// temporary folder, a scripted Ui over an answer queue and a Context wired
// to both. Each input starts from a fresh queue, record and settings file.
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/scripted.h"
#include "platform/settings.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kelvor::fuzz {

class Home {
public:
    static Home& get()
    {
        static Home home;
        return home;
    }
    // The home as each input starts from it.
    static Home& fresh()
    {
        Home& home = get();
        home.reset();
        return home;
    }

    QString root() const { return dir_.path(); }

    // Clears answers, record and settings; the drive folders stay.
    void reset()
    {
        answers.clear();
        ui.clearRecord();
        context.state() = MainState();
        context.setSheet(nullptr);
        QFile::remove(settings.file());
    }

    void answer(const QString& kind, const QString& text = QString())
    {
        ScriptedAnswer a;
        a.kind = kind;
        a.text = text;
        answers.push(a);
    }
    void answerOpen(const QStringList& windowsPaths)
    {
        ScriptedAnswer a;
        a.kind = QStringLiteral("open");
        a.list = windowsPaths;
        answers.push(a);
    }
    void answerOpen(const QString& windowsPath) { answerOpen(QStringList{windowsPath}); }

    // Writes bytes to a Windows-style path ("d:\in.txt") and returns the
    // native path.
    QString put(const QString& windowsPath, const QByteArray& bytes)
    {
        const QString native = paths::resolve(windowsPath);
        QDir().mkpath(QFileInfo(native).absolutePath());
        QFile f(native);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(native));
            std::abort();
        }
        f.write(bytes);
        return native;
    }

    // The native path of a file the run is to create, removed beforehand so
    // that its existence afterwards tells.
    static QString absent(const QString& windowsPath)
    {
        const QString native = paths::resolve(windowsPath);
        QFile::remove(native);
        return native;
    }

private:
    static QString prepare(QTemporaryDir& dir)
    {
        if (!dir.isValid())
            std::abort();
        paths::configureHome(dir.path());
        QDir(dir.path()).mkpath(QStringLiteral("drives/d"));
        QDir(dir.path()).mkpath(QStringLiteral("drives/c"));
        return dir.path() + QStringLiteral("/kelvorconfig.ini");
    }

    Home()
        : settings(prepare(dir_))
        , ui(answers)
        , context(settings, ui)
    {
    }

    // In memory where there is a tmpfs: every commit of the program syncs
    // its file, which on a disk would slow the runs a hundredfold.
    // KELVOR_FUZZ_TMP (set by run.sh) gathers the homes of one run, so that
    // those of aborted runs go with it.
    static QString tempTemplate()
    {
        const QString given = qEnvironmentVariable("KELVOR_FUZZ_TMP");
        if (!given.isEmpty())
            return given + QStringLiteral("/home-XXXXXX");
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
        return base + QStringLiteral("/kelvor-fuzz-XXXXXX");
    }

    QTemporaryDir dir_{tempTemplate()}; // first: everything below lives in it

public:
    SettingsStore settings;
    AnswerQueue answers;
    ScriptedUi ui;
    Context context;
};

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A file's bytes now; empty when it is gone.
inline QByteArray bytesAt(const QString& native)
{
    QFile f(native);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Splits one input into two files at the first "\n====\n" (the second is
// empty without one), so two-file readers get both from one input.
inline std::pair<QByteArray, QByteArray> splitTwo(const QByteArray& input)
{
    static const QByteArray mark("\n====\n");
    const qsizetype at = input.indexOf(mark);
    if (at < 0)
        return {input, QByteArray()};
    return {input.left(at), input.mid(at + mark.size())};
}

// A failure that is not the reader's refusal: stop the run loudly.
[[noreturn]] inline void finding(const char* what)
{
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::abort();
}

} // namespace kelvor::fuzz

// Qt wants an application object for some of its file and text services.
#define KELVOR_FUZZ_INIT                                                                        \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)                                \
    {                                                                                           \
        static QCoreApplication app(*argc, *argv);                                              \
        kelvor::fuzz::Home::get();                                                              \
        return 0;                                                                               \
    }
