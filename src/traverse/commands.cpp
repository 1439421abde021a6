#include "commands.h"

#include "adjust.h"
#include "data_file.h"
#include "projection.h"
#include "report.h"
#include "report_loader.h"
#include "sheet.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

#include <array>

namespace kelvor::traverse {

namespace {

const QString kInvalidNumber = QStringLiteral("数据为空或非法的数字或字符。");

QString folderSetting(const Context& ctx)
{
    return ctx.setting(QStringLiteral("MydxfileSavepath="));
}

QString folderMessage(const QString& folder)
{
    return QStringLiteral("无法在指定的目录下建立文件，检查是否创建[") + folder + QStringLiteral("]目录！") + QChar(u'\r')
           + QStringLiteral("请在参数设定中设定成果保存的目录。");
}

bool folderExists(const QString& folder)
{
    if (TrimBlanks(folder).isEmpty())
        return false;
    return QFileInfo(paths::resolve(folder)).isDir();
}

} // namespace

QString reportPathFor(const Context& ctx, const QString& stationName)
{
    return folderSetting(ctx) + QLatin1Char('\\') + stationName + QStringLiteral(".CG");
}

bool dxpc(Context& ctx, const QString& filename_pub)
{
    Ui& ui = ctx.ui();
    const QString grade = ctx.sheet() ? ctx.sheet()->grade() : QString();
    const QString contour = ctx.sheet() ? ctx.sheet()->contourInterval() : QString();
    try {
        if (grade == QStringLiteral("自定义"))
            ui.message(QStringLiteral("您所选择的是自定义导线等级,请核对所定义的参数！"), QStringLiteral("提示"),
                       Icon::Information);

        const TraverseData data = ReadTraverseDataFile(filename_pub);
        const Adjustment adj = adjustTraverse(data, grade, contour, ctx.settings());

        // The report and the .zb list are named after station 2 of the file
        // adjusted, so the name must make a plain file name in the folder.
        const QString name = data.station(2).name;
        if (!usableFileName(name)) {
            ui.message(QStringLiteral("第2站的点名[") + name
                           + QStringLiteral("]不能用作成果文件名，请修改点名后再平差。"),
                       QStringLiteral("错误"), Icon::Critical);
            return false;
        }

        const ReportSettings rs = ReportSettings::read(ctx.settings());
        const QStringList report = reportLines(data, adj, rs);
        const bool lists = ctx.state().printcgb;
        const QStringList zb = lists ? coordinateLines(data, adj, rs) : QStringList();
        const QStringList watch = lists ? watchLines(data, adj, rs) : QStringList();

        const QString folder = folderSetting(ctx);
        if (!folderExists(folder))
            raise(err::PathNotFound);
        const QString reportPath = reportPathFor(ctx, name);
        writeTextLines(reportPath, report);
        if (lists) {
            writeTextLines(folder + QLatin1Char('\\') + name + QStringLiteral(".zb"), zb);
            writeTextLines(paths::scratch(QStringLiteral("watch.txt")), watch);
        }

        ctx.state().recentReport = reportPath;
        ui.openTextWindow(reportPath);
        return true;
    } catch (const RunError& e) {
        if (e.number() == err::TypeMismatch) {
            ui.beep();
            ui.message(kInvalidNumber, QStringLiteral("错误"), Icon::Critical);
        } else if (e.number() == err::PathNotFound) {
            ui.beep();
            ui.message(folderMessage(folderSetting(ctx)), QStringLiteral("路径"), Icon::Critical);
        }
        ui.message(QString::number(e.number()));
    }
    return false;
}

void Command37_Click(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    // A failed run must not leave the person's grid cut to the rows it read.
    std::array<bool, TraverseSheet::Rows> shown{};
    if (sheet) {
        for (int r = 0; r < TraverseSheet::Rows; ++r)
            shown[size_t(r)] = sheet->rowVisible(r);
        sheet->hideRowsFromFirstBlankName(2);
        savedx(*sheet);
    }
    if (!dxpc(ctx, scratchDataFilePath()) && sheet) {
        for (int r = 0; r < TraverseSheet::Rows; ++r)
            sheet->setRowVisible(r, shown[size_t(r)]);
    }
}

QString Command37_ToolTip(const Context& ctx, const QString& previous)
{
    const TraverseSheet* sheet = ctx.sheet();
    const QString name = sheet ? TrimBlanks(sheet->text5(9)) : QString();
    if (name.isEmpty())
        return previous;
    return QStringLiteral("SYS.read.dx 生成：") + reportPathFor(ctx, name);
}

void selectdxfile_Click(Context& ctx)
{
    CommonDialog dialog(ctx);
    dialog.setTitle(QStringLiteral("打开导线文件")).setFilter(QStringLiteral("导线数据文件(*.dx)|*.dx"));
    const QString file = dialog.showOpen();
    if (TrimBlanks(file).isEmpty())
        return;
    dxpc(ctx, file);
}

void printcgb_Click(Context& ctx)
{
    ctx.state().printcgb = !ctx.state().printcgb;
}

void registerTraverseCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("Command37"), Command37_Click);
    registry.add(QStringLiteral("selectdxfile"), selectdxfile_Click);
    registry.add(QStringLiteral("printcgb"), printcgb_Click);
    registry.add(QStringLiteral("opendxfile"), opendxfile_Click);
    registry.add(QStringLiteral("filelist(1)"), filelist_Click);
    registry.add(QStringLiteral("bianchangtaoyinggai"), bianchangtaoyinggai_Click);
    registry.add(QStringLiteral("distgsty"), distgsty_Click);
}

} // namespace kelvor::traverse
