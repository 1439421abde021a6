#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;

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
// store; the lock lasts as long as this object (or the process) lives.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockFile = defaultLockFile());
    ~SingleInstance();
    // False when another copy holds the lock.
    bool acquire();
    static QString defaultLockFile();

private:
    std::unique_ptr<QLockFile> lock_;
};

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
