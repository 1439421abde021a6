#include "startup.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/ui.h"
#include "traverse/report_loader.h"
#include "traverse/sheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUuid>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    : file_(lockFile)
{
}

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool SingleInstance::acquire()
{
    QDir().mkpath(QFileInfo(file_).absolutePath());
    fd_ = ::open(QFile::encodeName(file_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        failed_ = true;
        return true;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
        failed_ = !held;
        return !held;
    }
    // Who holds it, for a person who looks; nothing reads it back.
    const QByteArray owner = QByteArray::number(qint64(::getpid())) + ' ' + QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(fd_, 0) == 0)
        (void)!::write(fd_, owner.constData(), size_t(owner.size()));
    return true;
}

QString SingleInstance::defaultLockFile()
{
    return paths::current().settingsFile + QStringLiteral(".lock");
}

QString lockFailureText(const QString& lockFile)
{
    return QStringLiteral("无法建立锁文件[") + lockFile + QStringLiteral("]，不能确认是否已有一个程序在运行。");
}

QString settingsUnusableText(const QString& file)
{
    return QStringLiteral("设置文件[") + file + QStringLiteral("]无法读写，本次运行使用默认设置，所作修改不会保存。");
}

QString settingsSetAsideText(const QString& file, const QString& copy)
{
    return QStringLiteral("设置文件[") + file + QStringLiteral("]无法识别，已另存为[") + copy
           + QStringLiteral("]，将写入默认设置。");
}

namespace {

void warn(Ui& ui, const QString& text)
{
    ui.message(text, QStringLiteral("程序处理结果"), Icon::Exclamation);
}

void fallBackToMemory(Ui& ui, SettingsStore& settings)
{
    warn(ui, settingsUnusableText(settings.file()));
    settings.useMemory();
}

} // namespace

CadRequest takeCadRequest(QStringList& arguments)
{
    CadRequest r;
    const qsizetype at = arguments.indexOf(QStringLiteral("--cad"));
    if (at < 0)
        return r;
    r.wanted = true;
    arguments.removeAt(at);
    if (at < arguments.size() && !arguments.at(at).startsWith(QStringLiteral("--"))) {
        const QString given = arguments.takeAt(at);
        // A drive-letter path goes to the path service as it stands; a native
        // one is made absolute here, where it was typed.
        static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
        r.drawing = drive.match(given).hasMatch() ? given : QFileInfo(given).absoluteFilePath();
    }
    return r;
}

HandOver::HandOver(const QString& lockFile, QObject* parent)
    : QObject(parent)
    , folder_(folderFor(lockFile))
{
}

QString HandOver::folderFor(const QString& lockFile)
{
    return lockFile + QStringLiteral(".requests");
}

void HandOver::listen()
{
    QDir().mkpath(folder_);
    auto* watcher = new QFileSystemWatcher(QStringList{folder_}, this);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, [this] { collect(); });
    collect();
}

void HandOver::collect()
{
    // Only whole requests: they are renamed into the folder once written.
    const QFileInfoList files = QDir(folder_).entryInfoList({QStringLiteral("*.cad")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& f : files) {
        QFile file(f.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString drawing = QString::fromUtf8(file.readAll());
        file.close();
        file.remove();
        emit cadRequested(drawing);
    }
}

bool HandOver::send(const QString& lockFile, const CadRequest& request)
{
    const QString folder = folderFor(lockFile);
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(folder + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces)
                   + QStringLiteral(".cad"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(request.drawing.toUtf8());
    return file.commit();
}

bool startUp(Ui& ui, SettingsStore& settings, SingleInstance& instance, const QString& executableName,
             const CadRequest& cad)
{
    if (!instance.acquire()) {
        if (cad.wanted && HandOver::send(instance.fileName(), cad))
            return false;
        showSecondCopy(ui, executableName);
        return false;
    }
    if (instance.failed())
        warn(ui, lockFailureText(instance.fileName()));
    try {
        const QString copy = settings.setAsideUnreadable();
        if (!copy.isEmpty())
            warn(ui, settingsSetAsideText(settings.file(), copy));
        settings.probe();
    } catch (const RunError&) {
        fallBackToMemory(ui, settings);
    }
    return true;
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

bool applyFirstRun(Ui& ui, SettingsStore& settings)
{
    try {
        return settings.applyFirstRunRule();
    } catch (const RunError&) {
        fallBackToMemory(ui, settings);
        return false;
    }
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
