#pragma once
#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace kelvor {
class Context;
class SettingsStore;
class Ui;
}

namespace kelvor::app {

// The splash's compatibility line and its date text (mm-dd-yyyy).
QString compatibilityLine();
QString splashDate(const QDate& day);

// Another running copy is detected through a lock file beside the settings
// store, held with flock: the lock lasts as long as this object (or the
// process) lives, so a lock file left by a dead process, one with garbage in
// it or one written on another host is free and taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockFile = defaultLockFile());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // False when another copy holds the lock. True also when no lock could
    // be made (a read-only folder, a full disk): failed() then says so.
    bool acquire();
    bool failed() const { return failed_; }
    QString fileName() const { return file_; }
    static QString defaultLockFile();

private:
    QString file_;
    int fd_ = -1;
    bool failed_ = false;
};

// The message for a lock file that cannot be made.
QString lockFailureText(const QString& lockFile);

// "--cad [drawing]" on the command line: start or show the drawing window,
// opening the drawing, in the copy already running when there is one.
struct CadRequest {
    bool wanted = false;
    QString drawing; // absolute, or a Windows-style path as given; "" none
};
// Takes "--cad" and the drawing after it (when not itself an option) out of
// the arguments; the rest stay for the report path.
CadRequest takeCadRequest(QStringList& arguments);

// The hand-over between copies: a later copy drops its request as a file in
// a folder beside the lock file; the running copy watches that folder.
class HandOver : public QObject {
    Q_OBJECT
public:
    explicit HandOver(const QString& lockFile, QObject* parent = nullptr);
    // The running copy: requests from now on (and any left waiting) arrive
    // as cadRequested.
    void listen();
    // A later copy: true when the request was left for the running copy.
    static bool send(const QString& lockFile, const CadRequest& request);
    static QString folderFor(const QString& lockFile);

signals:
    void cadRequested(const QString& drawing);

private:
    void collect();
    QString folder_;
};

// The start-up's checks before the main window loads, each reported and
// none of them ending the program: the single-instance lock (false when
// another copy runs, after its message), then the settings store. A store
// that is neither UTF-8 nor GBK text is moved aside and named; a store that
// is a folder, cannot be read or cannot be written leaves the program on
// the defaults in memory, with a message naming the file.
// A second copy asked for the drawing window hands the request over and
// ends without the second-copy message.
bool startUp(Ui& ui, SettingsStore& settings, SingleInstance& instance, const QString& executableName,
             const CadRequest& cad = CadRequest());

// The message for a store the program cannot use, and for one moved aside.
QString settingsUnusableText(const QString& file);
QString settingsSetAsideText(const QString& file, const QString& copy);

// "[" + executable name + "]应用程序已在运行中！！！"
QString secondCopyText(const QString& executableName);
// The message a second copy shows before it ends.
void showSecondCopy(Ui& ui, const QString& executableName);

// The report path on the command line (the arguments after the program's
// own name), or "" when they are blank. The path is taken as given; quotes
// around it are dropped only when both are there.
QString commandLineReport(const QStringList& arguments);

// Loads a report named on the command line into the sheet, reporting its own
// failure (the traverse report loader).
using ReportLoader = std::function<void(Context&, const QString& path)>;
// The program's loader: the traverse report loader on the path as given.
void openCommandLineReport(Context& ctx, const QString& path);

// The main window's load step on the model: tags, the cleared sheet, the
// grade and contour lists, the presets from the settings and the recent
// report; then the command-line report, when there is one and a loader.
void loadMainWindow(Context& ctx, const QString& commandLinePath = QString(),
                    const ReportLoader& loadReport = ReportLoader());

// The splash's first-run rule: the defaults are written when "版本更新日期="
// reads blank. True when it wrote them.
bool applyFirstRun(SettingsStore& settings);
// The same at start-up: a store that fails here is reported and the
// program goes on with the defaults in memory.
bool applyFirstRun(Ui& ui, SettingsStore& settings);

// 退出: stores the trimmed grade and recent report and ends the program;
// every failure is passed over.
void quit_Click(Context& ctx);

// The grades of Combo1 and the contour intervals of Combo2.
QStringList gradeItems();
QStringList contourItems();

// The recent-report entry filelist(1) and the separator filelist(0) show
// only while the recent report holds a path.
bool recentReportShown(const QString& recentReport);

} // namespace kelvor::app
