// -PLOT at the command line, its questions in the order a detailed plot
// configuration asks them.
#include "cad/host/cmd_support.h"
#include "cad/model/layouts.h"
#include "cad/model/document.h"
#include "platform/paths.h"

#include <QDir>
#include <cmath>

namespace kelvor::cad::cmd {

namespace {

bool yes(const QString& answer, bool fallback)
{
    const QString k = matchKeyword(answer, {QStringLiteral("Yes"), QStringLiteral("No")});
    return k.isEmpty() ? fallback : k == QLatin1String("Yes");
}

// "Fit", a number of millimetres per drawing unit, or "a=b" / "a:b".
double scaleAnswer(const QString& answer)
{
    const QString t = answer.trimmed();
    if (t.isEmpty() || matchKeyword(t, {QStringLiteral("Fit")}) == QLatin1String("Fit"))
        return 0;
    for (QChar sep : {QLatin1Char('='), QLatin1Char(':')}) {
        const QStringList p = t.split(sep);
        if (p.size() == 2) {
            const double a = numberOf(p[0]).value_or(0), b = numberOf(p[1]).value_or(0);
            const double s = a > 0 && b > 0 ? a / b : 0;
            return std::isfinite(s) ? s : 0;
        }
    }
    const double v = numberOf(t).value_or(0);
    return v > 0 ? v : 0;
}

Box areaOf(Document& doc, const QString& area, CommandInput& in, Layout& layout)
{
    const QString k = matchKeyword(area, {QStringLiteral("Display"), QStringLiteral("Extents"),
                                          QStringLiteral("Limits"), QStringLiteral("View"), QStringLiteral("Window")});
    Box b;
    if (k == QLatin1String("Window")) {
        for (int i = 0; i < 2; ++i) {
            const QString t = in.nextWord(QStringLiteral("point"), i == 0 ? QStringLiteral("指定窗口的左下角 <0,0>:")
                                                                          : QStringLiteral("指定窗口的右上角 <0,0>:"));
            const std::optional<Point> p = pointOf(t.isEmpty() ? QStringLiteral("0,0") : t);
            if (!p)
                fault(fail::Failed, QStringLiteral("\"%1\" is not a point").arg(t));
            b.add(p->x, p->y);
        }
        layout.SetWindowToPlot({b.minX, b.minY}, {b.maxX, b.maxY});
        return b;
    }
    if ((k.isEmpty() || k == QLatin1String("Display") || k == QLatin1String("View")) && doc.host()
        && layout.block().isModelSpace())
        if (const std::optional<Box> shown = doc.host()->shownView(doc))
            return *shown;
    return b; // the extents
}

void plotCommand(CommandInput& in)
{
    Document& doc = in.document();
    DocumentHost& app = *doc.host();
    const bool detailed = yes(in.nextWord(QStringLiteral("keyword"), QStringLiteral("是否需要详细打印配置？[是(Y)/否(N)] <否>:")), false);
    const QString layoutName = in.nextText(QStringLiteral("string"), QStringLiteral("输入布局名或 [?] <模型>:")).trimmed();
    Layout& layout = doc.Layouts().Item(layoutName.isEmpty() ? QStringLiteral("Model") : layoutName);
    PlotPage page = layout.page();
    if (!detailed)
        in.nextText(QStringLiteral("string"), QStringLiteral("输入页面设置名 <>:"));
    const QString device = in.nextText(QStringLiteral("string"), QStringLiteral("输入输出设备的名称或 [?]:")).trimmed();
    if (!device.isEmpty())
        page.device = device;
    if (detailed) {
        in.nextText(QStringLiteral("string"), QStringLiteral("输入图纸尺寸或 [?] <A4>:"));
        const QString units = in.nextWord(QStringLiteral("keyword"), QStringLiteral("输入图纸单位 [英寸(I)/毫米(M)] <毫米>:"));
        const bool inches = matchKeyword(units, {QStringLiteral("Inches"), QStringLiteral("Millimeters")})
            == QLatin1String("Inches");
        const QString o = in.nextWord(QStringLiteral("keyword"), QStringLiteral("输入图形方向 [纵向(P)/横向(L)] <纵向>:"));
        page.landscape = matchKeyword(o, {QStringLiteral("Portrait"), QStringLiteral("Landscape")})
            == QLatin1String("Landscape");
        in.nextWord(QStringLiteral("keyword"), QStringLiteral("是否反向打印？[是(Y)/否(N)] <否>:"));
        const QString area = in.nextWord(QStringLiteral("keyword"),
                                         QStringLiteral("输入打印区域 [显示(D)/范围(E)/图形界限(L)/视图(V)/窗口(W)] <显示>:"));
        page.window = areaOf(doc, area, in, layout);
        page.scale = scaleAnswer(in.nextWord(QStringLiteral("keyword"),
                                             QStringLiteral("输入打印比例 (打印的 毫米=图形单位) 或 [布满(F)] <布满>:")));
        if (inches)
            page.scale *= 25.4;
        in.nextWord(QStringLiteral("point"), QStringLiteral("输入打印偏移 (x,y) 或 [居中打印(C)] <0.00,0.00>:"));
        in.nextWord(QStringLiteral("keyword"), QStringLiteral("是否按样式打印？[是(Y)/否(N)] <是>:"));
        in.nextText(QStringLiteral("string"), QStringLiteral("输入打印样式表名称或 [?] (输入 . 表示无) <>:"));
        in.nextWord(QStringLiteral("keyword"), QStringLiteral("是否打印线宽？[是(Y)/否(N)] <是>:"));
        in.nextWord(QStringLiteral("keyword"), QStringLiteral("输入着色打印设置 <按显示>:"));
    }
    if (yes(in.nextWord(QStringLiteral("keyword"), QStringLiteral("是否打印到文件 [是(Y)/否(N)] <N>:")), false))
        page.file = in.nextText(QStringLiteral("string"), QStringLiteral("输入文件名:")).trimmed();
    in.nextWord(QStringLiteral("keyword"), QStringLiteral("是否保存对页面设置的修改 [是(Y)/否(N)]? <N>"));
    if (!yes(in.nextWord(QStringLiteral("keyword"), QStringLiteral("是否继续打印？[是(Y)/否(N)] <Y>:")), true))
        return;
    if (!page.file.isEmpty()) {
        QString file = paths::resolve(page.file);
        if (!file.endsWith(kPlotExtension, Qt::CaseInsensitive))
            file += kPlotExtension;
        page.file = file;
        if (!plotDevices())
            fault(fail::Failed, QStringLiteral("this program has no plot output"));
        plotDevices()->writePdf(doc, {page}, file);
        app.plotted(doc, page);
        app.appendTranscript(QStringLiteral("打印文件已写入 %1。\r\n").arg(QDir::toNativeSeparators(file)));
        return;
    }
    const QString written = plotPage(doc, page);
    if (written.isEmpty())
        app.appendTranscript(QStringLiteral("已发送到打印机 %1。\r\n").arg(page.device));
    else
        app.appendTranscript(QStringLiteral("没有名为“%1”的打印机，打印文件已写入 %2。\r\n")
                                 .arg(page.device, QDir::toNativeSeparators(written)));
}

} // namespace

void registerPlot(Application& app)
{
    app.registerCommand(QStringLiteral("PLOT"), plotCommand,
                        QStringLiteral("打印出图（按提示回答）"));
    app.registerCommand(QStringLiteral("PRINT"), plotCommand,
                        QStringLiteral("打印出图（按提示回答）"));
}

} // namespace kelvor::cad::cmd
