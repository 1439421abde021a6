#include "plot_points.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <functional>

namespace kelvor::quelt {

std::optional<PlotPoint> plotPoint(const QString& line)
{
    if (TrimBlanks(line).isEmpty())
        return std::nullopt;
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    PlotPoint p;
    p.name = blank < 0 ? line : line.left(blank);
    const QStringList fields =
        blank < 0 ? QStringList() : line.mid(blank).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() > 0)
        p.x = LeadingNumber(fields.at(0));
    if (fields.size() > 1)
        p.y = LeadingNumber(fields.at(1));
    return p;
}

QString Command4_ToolTip()
{
    return QStringLiteral("本功能在Autocad") + QStringLiteral("2004版") + QStringLiteral("、") +
           QStringLiteral("2006版") +
           QStringLiteral("系统下开发，如果要在其它版本的CAD下绘图,请执行SCRipt命令，调入") +
           paths::toWindows(paths::programDir()) + QStringLiteral("\\ZD.scr文件。");
}

void Command4_Click(Context& ctx, FileDialogRequest& dialog)
{
    Ui& ui = ctx.ui();
    const QString watch = paths::windir() + QStringLiteral("\\watch.txt");
    QString input;
    switch (ui.message(QStringLiteral("是否将") + watch + QStringLiteral("(默认)作为绘图文件？\r选择[否]则另选择文件绘图。"),
                       QStringLiteral("提示"), Icon::Exclamation, Buttons::YesNoCancel)) {
    case Answer::Yes:
        input = watch;
        break;
    case Answer::No:
        dialog.title = QStringLiteral("打开控制点数据文件");
        dialog.filter = QStringLiteral("Txt fileS(*.txt)");
        dialog.multiSelect = false;
        input = ui.openFile(dialog);
        dialog.fileName = input;
        if (TrimBlanks(input).isEmpty())
            return;
        break;
    default:
        return;
    }

    // A host that is not running is started after the message.
    const bool wasRunning = ctx.cad() && ctx.cad()->running();
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Start);
    if (!app)
        return;
    if (!wasRunning && !app->hasDocument())
        cad::attempt([&] { app->DocumentsAdd(); }); // a fresh host opens a new drawing

    QStringList lines;
    cad::attempt([&] { lines = readTextLines(input); }); // an unreadable list plots nothing

    QString block;
    switch (ui.message(QStringLiteral("点位类型1(圆形)  点位类型2(正方形)\r[圆形请选Yes  正方形选择No]\r"
                                      "内部块名称分别为:'圆形符号'  '点位符号'"),
                       emptyTitle(), Icon::Exclamation, Buttons::YesNoCancel)) {
    case Answer::Yes:
        block = QStringLiteral("圆形符号");
        break;
    case Answer::No:
        block = QStringLiteral("点位符号");
        break;
    default:
        return;
    }
    const bool connect = ui.message(QStringLiteral("点之间是否需要连线？"), QStringLiteral("提示"), Icon::Information,
                                    Buttons::YesNo) == Answer::Yes;
    const double height =
        ParseNumber(ui.input(QStringLiteral("请输入控制点注记的大小！！ "), emptyTitle(), QStringLiteral("10"))).value_or(0);

    cad::attempt([&] { app->setVisible(true); });
    cad::attempt([&] { app->activate(app->Caption()); });
    cad::attempt([&] { app->setWindowState(3); });

    // Blank lines are no points; a line joins each point to the one plotted before it.
    std::optional<PlotPoint> previous;
    for (const QString& line : lines) {
        const std::optional<PlotPoint> p = plotPoint(line);
        if (!p)
            continue;
        if (connect && previous)
            cad::attempt([&] {
                app->ActiveDocument().ModelSpace().AddLightWeightPolyline({previous->y, previous->x, p->y, p->x});
            });
        cad::attempt([&] { app->ActiveDocument().ModelSpace().InsertBlock({p->y, p->x, 0}, block, 1, 1, 1, 0); });
        cad::attempt([&] { app->ActiveDocument().ModelSpace().AddText(p->name, {p->y + 3, p->x, 0}, height); });
        previous = p;
    }

    cad::attempt([&] { app->ZoomExtents(); });
    cad::attempt([&] { app->activate(app->Caption()); });
    cad::attempt([&] { app->ActiveDocument().Utility().Prompt(QStringLiteral("已完成绘图")); });
}

} // namespace kelvor::quelt
