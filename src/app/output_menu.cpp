#include "output_menu.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QFileInfo>

namespace kelvor {

namespace {

// The directory search of the original takes files and folders alike; like
// Windows it ignores blanks at the end of a name, not at its start.
bool entryExists(const QString& stored)
{
    QString p = stored;
    while (p.endsWith(QLatin1Char(' ')))
        p.chop(1);
    if (p.isEmpty())
        return false;
    return QFileInfo::exists(paths::resolve(p));
}

} // namespace

void outfilew_Click(Context& ctx, int index)
{
    switch (index) {
    case 0:
        ctx.ui().openTextWindow(paths::scratch(QStringLiteral("watch.txt")));
        break;
    case 1: {
        const QString stored = ctx.setting(QStringLiteral("已知点成果="));
        if (entryExists(stored)) {
            ctx.ui().openTextWindow(paths::resolve(TrimBlanks(stored)));
        } else {
            ctx.ui().message(QStringLiteral("不能找到文件！,请核准是否存在该文件并") + QLatin1Char('\r')
                                 + QStringLiteral("确认是否设定已知点文件的名称和目录。"),
                             QStringLiteral("错误"), Icon::Critical);
        }
        break;
    }
    case 3: {
        const QString report = ctx.state().recentReport;
        if (!TrimBlanks(report).isEmpty())
            ctx.ui().openTextWindow(paths::resolve(report));
        break;
    }
    default:
        break;
    }
}

void publicfiles_Click(Context& ctx)
{
    const QString chosen = CommonDialog(ctx)
                               .setTitle(QStringLiteral("选择文件"))
                               .setFilter(QStringLiteral("所有文件(*.*)|*.*"))
                               .showOpen();
    if (TrimBlanks(chosen).isEmpty())
        return;
    ctx.state().commonFile = TrimBlanks(chosen);
    try {
        ctx.settings().WriteSetting(QStringLiteral("publicfilename="), chosen);
    } catch (const RunError&) {
        // the caption already holds the choice; the stored copy is never read
    }
}

} // namespace kelvor
