#include "gps_heights.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <functional>

namespace kelvor::coords {

namespace {

const QString ResidualHeader =
    QStringLiteral("点号            纬度              经度    大地高    正常高      差值");
const QString FittedHeader = QStringLiteral("点号           概略纬度           概略经度      大地高      正常高");

struct TableKind {
    const QString& header;
    int skipped;                                     // lines after the header
    std::function<QString(const QString&)> height;   // of the trimmed row
};

const TableKind Residual{ResidualHeader, 0, [](const QString& t) { return TrimBlanks(t.mid(51, 11)); }};
const TableKind Fitted{FittedHeader, 1, [](const QString& t) { return TrimBlanks(t.right(8)); }};

QStringList heightsIn(const QStringList& report, const TableKind& kind, const QString& name)
{
    const QString wanted = name.toUpper();
    QStringList found;
    qsizetype i = 0;
    while (i < report.size()) {
        if (TrimBlanks(report[i++]) != kind.header)
            continue;
        i += kind.skipped;
        for (;;) {
            if (i >= report.size())
                return found;
            const QString t = TrimBlanks(report[i++]);
            if (t.isEmpty())
                return found;
            if (gpsPointName(t).toUpper() == wanted) {
                found << kind.height(t);
                break;
            }
        }
    }
    return found;
}

} // namespace

QString gpsPointName(const QString& line)
{
    return TrimBlanks(TrimBlanks(line).left(4));
}

GpsHeights findGpsHeights(const QStringList& report, const QString& name)
{
    GpsHeights h;
    h.residual = heightsIn(report, Residual, name);
    if (h.residual.isEmpty())
        h.fitted = heightsIn(report, Fitted, name);
    return h;
}

QStringList mergeGpsHeights(const QStringList& input, const QStringList& report, int decimals, QString* misses)
{
    const QString gap(4, QLatin1Char(' '));
    QStringList out;
    for (const QString& line : input) {
        const QString name = gpsPointName(line);
        const GpsHeights h = findGpsHeights(report, name);
        for (const QString& r : h.residual)
            out << line + gap + r + QLatin1Char('*');
        for (const QString& f : h.fitted)
            out << line + gap + FormatFixed(f, decimals);
        if (h.residual.isEmpty() && h.fitted.isEmpty()) {
            out << line + QStringLiteral("没找到高程值");
            *misses += QLatin1Char(';') + name;
        }
    }
    return out;
}

QStringList residualTableNames(const QStringList& report)
{
    QStringList names;
    qsizetype i = 0;
    while (i < report.size() && TrimBlanks(report[i]) != ResidualHeader)
        ++i;
    for (++i; i < report.size(); ++i) {
        const QString t = TrimBlanks(report[i]);
        if (t.isEmpty())
            break;
        names << gpsPointName(t);
    }
    return names;
}

void dwar_gpsjx_gc_Click(Context& ctx)
{
    Ui& ui = ctx.ui();
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    QString input;
    switch (ui.message(paths::windir() + QStringLiteral("\\watch.txt是否为坐标文件？\r选择{ 否 }则另外选择坐标文件!"),
                       QStringLiteral("操作"), Icon::Exclamation, Buttons::YesNoCancel)) {
    case Answer::Yes:
        input = watch;
        break;
    case Answer::No:
        input = CommonDialog(ctx)
                    .setTitle(QStringLiteral("打开坐标文件"))
                    .setFilter(QStringLiteral("坐标文件|*.txt"))
                    .showOpen();
        if (TrimBlanks(input).isEmpty())
            return;
        break;
    default:
        return;
    }
    const QString heights = CommonDialog(ctx)
                                .setTitle(QStringLiteral("打开高程拟合数据文件"))
                                .setFilter(QStringLiteral("高程文件|*.txt"))
                                .showOpen();
    if (TrimBlanks(heights).isEmpty())
        return;

    QString misses;
    try {
        const QStringList lines = readTextLines(input);
        const QStringList report = readTextLines(heights);
        if (lines.isEmpty()) {
            ui.message(QStringLiteral("文件结构不正确！"), QStringLiteral("错误"), Icon::Critical);
            return;
        }
        const int decimals = qMax(0, int(LeadingNumber(ctx.setting(QStringLiteral("QW_GC=")))));
        writeTextLines(watch, mergeGpsHeights(lines, report, decimals, &misses));
    } catch (const RunError&) {
        return; // a file that cannot be read or written: watch.txt stays as it was
    }
    if (!TrimBlanks(misses).isEmpty())
        ui.message(QStringLiteral("不能找到点:") + TrimBlanks(misses));
    ui.openTextWindow(watch);
}

void dwar_gpsjx_nh_Click(Context& ctx)
{
    const QString input = CommonDialog(ctx)
                              .setTitle(QStringLiteral("选择GPS拟合数据文件"))
                              .setFilter(QStringLiteral("数据文件|*.txt"))
                              .showOpen();
    if (TrimBlanks(input).isEmpty())
        return;
    cad::Application* app =
        cad::ConnectToAutoCAD(ctx, {cad::Forward::Visible, cad::Forward::Activate}, cad::ConnectFailure::Standard);
    if (!app)
        return;
    std::vector<cad::Entity*> texts;
    cad::attempt([&] {
        cad::Document& doc = app->ActiveDocument();
        cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text"));
        set.Select(cad::SelectAll, {}, {}, cad::BuildFilter({0, QStringLiteral("text")}));
        texts = set.entities();
    });
    QStringList names;
    cad::attempt([&] { names = residualTableNames(readTextLines(input)); });
    ctx.ui().processEvents();
    cad::attempt([&] { app->ActiveDocument().Utility().Prompt(QStringLiteral("计算机正在处理数据,请稍候......")); });

    int count = 0;
    QString missing;
    for (const QString& name : names) {
        bool marked = false;
        for (cad::Entity* t : texts) {
            cad::attempt([&] {
                if (marked || t->TextString().toUpper() != name.toUpper())
                    return;
                t->setTextString(t->TextString() + QLatin1Char('*'));
                marked = true;
                ++count;
                t->Update();
            });
            if (marked)
                break;
        }
        if (!marked)
            missing += QStringLiteral("   ") + name;
    }
    const QString n = QLatin1Char(' ') + QString::number(count);
    cad::attempt([&] { app->ActiveDocument().Utility().Prompt(QStringLiteral("\r共处理了") + n + QStringLiteral("个数据")); });
    if (TrimBlanks(missing).isEmpty())
        ctx.ui().message(QStringLiteral("全部的数据已处理,共") + n + QStringLiteral(" 个！"), QStringLiteral("说明"),
                         Icon::Exclamation);
    else
        ctx.ui().message(QStringLiteral("共处理的数据有") + n + QStringLiteral(" 个！\r\n没找到的点号为:")
                             + TrimBlanks(missing),
                         QStringLiteral("说明"), Icon::Critical);
}

} // namespace kelvor::coords
