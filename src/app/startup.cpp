#include "startup.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "traverse/report_loader.h"
#include "traverse/sheet.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace kelvor::app {

QString compatibilityLine()
{
    return QStringLiteral("兼容AutoCAD的版本：") + QStringLiteral("2004版") + QStringLiteral("、")
           + QStringLiteral("2006版");
}

QString splashDate(const QDate& day)
{
    return day.toString(QStringLiteral("MM-dd-yyyy"));
}

SingleInstance::SingleInstance(const QString& lockFile)
    : lock_(std::make_unique<QLockFile>(lockFile))
{
    // held for the whole run: only a dead owner makes it stale
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    QDir().mkpath(QFileInfo(lock_->fileName()).absolutePath());
    return lock_->tryLock(0);
}

QString SingleInstance::defaultLockFile()
{
    return paths::current().settingsFile + QStringLiteral(".lock");
}

QString secondCopyText(const QString& executableName)
{
    return QLatin1Char('[') + executableName + QLatin1Char(']') + QStringLiteral("应用程序已在运行中！！！");
}

void showSecondCopy(Ui& ui, const QString& executableName)
{
    ui.message(secondCopyText(executableName), QStringLiteral("程序处理结果"), Icon::Exclamation);
}

QString commandLineReport(const QStringList& arguments)
{
    const QString given = arguments.join(QLatin1Char(' '));
    const QString t = given.trimmed();
    if (t.isEmpty())
        return QString();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        return t.mid(1, t.size() - 2);
    return given;
}

QStringList gradeItems()
{
    return {QStringLiteral("8秒导线"), QStringLiteral("一级图根"), QStringLiteral("二级图根"),
            QStringLiteral("自定义")};
}

QStringList contourItems()
{
    return {QStringLiteral("0.5"), QStringLiteral("1.0")};
}

bool recentReportShown(const QString& recentReport)
{
    return !TrimBlanks(recentReport).isEmpty();
}

void loadMainWindow(Context& ctx, const QString& commandLinePath, const ReportLoader& loadReport)
{
    MainState& st = ctx.state();
    st.toolbarTag = QStringLiteral("0");
    st.formTag = QStringLiteral("0");
    paths::windir(); // WINDIR exists from here on
    if (traverse::TraverseSheet* sheet = ctx.sheet()) {
        for (int i = 0; i < traverse::TraverseSheet::KnownCells; ++i)
            sheet->setText1(i, QString());
        for (int i = 0; i < traverse::TraverseSheet::StationCells; ++i)
            sheet->setText5(i, QString());
        sheet->setGradeList(gradeItems());
        sheet->setContourList(contourItems());
        sheet->setContourInterval(QStringLiteral("0.5"));
    }
    st.exportToFolder = true;
    st.printcgb = true;
    if (traverse::TraverseSheet* sheet = ctx.sheet())
        sheet->setGrade(ctx.setting(QStringLiteral("DXdj=")));
    st.exportFolder = ctx.setting(QStringLiteral("MydxfileSavepath="));
    const QString recent = TrimBlanks(ctx.setting(QStringLiteral("Savelist1=")));
    if (!recent.isEmpty())
        st.recentReport = recent;
    if (!commandLinePath.isEmpty() && loadReport)
        loadReport(ctx, commandLinePath);
}

void openCommandLineReport(Context& ctx, const QString& path)
{
    // The loader drops the first and last characters of the command line it
    // gets; quoting the path hands it over whole.
    traverse::opencommandfile(ctx, QLatin1Char('"') + path + QLatin1Char('"'));
}

bool applyFirstRun(SettingsStore& settings)
{
    return settings.applyFirstRunRule();
}

void quit_Click(Context& ctx)
{
    // Each step is attempted whatever the one before did.
    try {
        if (traverse::TraverseSheet* sheet = ctx.sheet())
            ctx.settings().WriteSetting(QStringLiteral("DXdj="), TrimBlanks(sheet->grade()));
    } catch (const RunError&) {
    }
    try {
        ctx.settings().WriteSetting(QStringLiteral("Savelist1="), TrimBlanks(ctx.state().recentReport));
    } catch (const RunError&) {
    }
    ctx.state().ended = true;
}

} // namespace kelvor::app
