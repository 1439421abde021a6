#include "point_scripts.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "file_failure.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::coords {

const QString kPointSymbol = QStringLiteral("点位符号");

namespace {

QString field(const QString& line, int n)
{
    return orEmpty(BlankField(line, n));
}

QString scriptPoint(const QString& line)
{
    return field(line, 3) + QLatin1Char(',') + field(line, 2);
}

void emptyFile(Context& ctx)
{
    ctx.ui().message(QStringLiteral("文件为空或格式不对！"), QStringLiteral("错误"), Icon::Critical);
}

} // namespace

void definePointSymbol(cad::Document& doc)
{
    if (doc.findBlock(kPointSymbol))
        return;
    cad::Block& b = doc.BlocksAdd({0, 0, 0}, kPointSymbol);
    b.AddLine({-2.5, 2.5, 0}, {2.5, 2.5, 0});
    b.AddLine({2.5, 2.5, 0}, {2.5, -2.5, 0});
    b.AddLine({2.5, -2.5, 0}, {-2.5, -2.5, 0});
    b.AddLine({-2.5, -2.5, 0}, {-2.5, 2.5, 0});
    b.AddPoint({0, 0, 0});
}

QStringList pointSymbolScript(const QString& line)
{
    const QString at = scriptPoint(line);
    return {QStringLiteral("text"), at, QStringLiteral("10"), QStringLiteral("0"), field(line, 1),
            QStringLiteral("insert"), kPointSymbol, at, QString(), QString(), QString()};
}

QString controlPointCode(int index)
{
    switch (index) {
    case 0: return QStringLiteral("131500");
    case 1: return QStringLiteral("131800");
    case 2: return QStringLiteral("131700");
    default: return QString();
    }
}

QStringList controlPointScript(const QString& line, const QString& code)
{
    return {QStringLiteral("DD"), code, scriptPoint(line), field(line, 4), field(line, 1)};
}

bool prefixSelects(const QString& name, const QString& answer)
{
    if (answer == QStringLiteral("所有"))
        return true;
    const QString prefix = TrimBlanks(answer).toUpper();
    return name.left(prefix.size()).toUpper() == prefix;
}

QString zdScrPath()
{
    return paths::programDir() + QStringLiteral("/zd.scr");
}

void jlblock_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::SystemOrOther);
    if (!app)
        return;
    try {
        cad::Document& doc = app->ActiveDocument();
        doc.SetVariable(QStringLiteral("osmode"), 675);
        definePointSymbol(doc);
    } catch (const RunError&) {
        ctx.ui().message(QStringLiteral("创建“点位符号”内部块失败。"), QStringLiteral("提示"), Icon::Exclamation);
        return;
    }
    ctx.ui().message(QStringLiteral("已成功在CAD系统中创建了名为“点位符号”的内部块。"), QStringLiteral("提示"),
                     Icon::Information);
}

void outfilezb_Click(Context& ctx)
{
    const QString input = CommonDialog(ctx).setFilter(QStringLiteral("坐标文件(*.*)|*.*")).showOpen();
    if (TrimBlanks(input).isEmpty())
        return;
    try {
        const QStringList lines = readDataLines(input);
        if (lines.isEmpty()) {
            emptyFile(ctx);
            return;
        }
        QStringList script;
        for (const QString& line : lines)
            script << pointSymbolScript(line);
        writeTextLines(zdScrPath(), script);
    } catch (const RunError& e) {
        if (e.number() == err::BadFileFormat) {
            emptyFile(ctx);
            return;
        }
        ctx.ui().message(QStringLiteral("未知的错误。"), QStringLiteral("错误"), Icon::Critical);
        return;
    }
    const Answer a = ctx.ui().message(QStringLiteral("已经生成在本程序目录下的[Zd.scr]展点文件！\r"
                                                     "请在Autocad系统命令行下用Script命令调用该文件。\r"
                                                     "展点时需要名为“点位符号”的内部块。\r"
                                                     "是否需要创建符号块？"),
                                      QStringLiteral("成果"), Icon::Information, Buttons::YesNo, 2);
    if (a == Answer::Yes)
        jlblock_Click(ctx);
}

void djdaoxiao_Click(Context& ctx, int index)
{
    const QString code = controlPointCode(index);
    if (code.isEmpty())
        return;
    const QString input = CommonDialog(ctx)
                              .setTitle(QStringLiteral("打开坐标数据文件"))
                              .setFilter(QStringLiteral("坐标文件(*.*)|*.*"))
                              .setFileName(QString())
                              .showOpen();
    if (TrimBlanks(input).isEmpty())
        return;
    try {
        const QStringList lines = readTextLines(input);
        const QString answer =
            ctx.ui().input(QStringLiteral("请输入要绘制的符号标识"), QStringLiteral("符号标识"), QStringLiteral("所有"));
        if (lines.isEmpty()) {
            emptyFile(ctx);
            return;
        }
        QStringList script;
        for (const QString& line : lines) {
            if (prefixSelects(field(line, 1), answer))
                script << controlPointScript(line, code);
        }
        writeTextLines(zdScrPath(), script);
    } catch (const RunError& e) {
        showErrNumber(ctx, e.number());
        return;
    }
    ctx.ui().message(QStringLiteral("已经生成在本程序目录下的[Zd.scr]展点文件！\r"
                                    "请在CASS系统下命令行下用Script命令调用该文件。\r"
                                    "同时需预先设定绘图比例尺。"),
                     QStringLiteral("CASS功能"), Icon::Information);
}

} // namespace kelvor::coords
