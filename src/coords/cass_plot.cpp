#include "cass_plot.h"

#include "e500.h"
#include "file_failure.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFile>
#include <utility>

namespace kelvor::coords {

namespace {

const QString PointLayer = QStringLiteral("ZDH");
const QString OneKeyCopy = QStringLiteral("展绘一键通数据.dat");

QString askFile(Context& ctx, const QString& title, const QString& filter)
{
    return CommonDialog(ctx).setTitle(title).setFilter(filter).setFilterIndex(1).setFileName(QString()).showOpen();
}

// Attached before any dialog; "操作AutoCAD无效！" when no host runs.
cad::Application* attach(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Silent);
    if (!app)
        cad::reportLaterCadError(ctx, cad::LaterCadError::Invalid);
    return app;
}

void bringForward(Context& ctx)
{
    cad::ConnectToAutoCAD(ctx, cad::kFullForward, cad::ConnectFailure::Silent);
}

void plotInto(cad::Application& app, int pdmode, const QString& path, const QString& skipped)
{
    cad::Document& doc = app.ActiveDocument();
    doc.SetVariable(QStringLiteral("PDMODE"), pdmode);
    doc.SetVariable(QStringLiteral("PDSIZE"), 0.2);
    PlotCassSinglePoints(doc, path, skipped);
}

// The copies of the one-key data are best effort: a failed one is named on
// the command line and the plotting goes on.
void copyOneKeyData(cad::Application& app, const QString& dat)
{
    QString second = QStringLiteral("DEMO\\") + OneKeyCopy; // named so when the drawing has no folder
    bool secondKnown = false;
    cad::attempt([&] {
        const QString folder = paths::toWindows(app.ActiveDocument().Path());
        if (folder.size() >= 6) {
            second = folder.left(folder.size() - 6) + second;
            secondKnown = true;
        }
    });
    QFile source(paths::resolve(dat));
    const bool read = source.open(QIODevice::ReadOnly);
    const QByteArray bytes = read ? source.readAll() : QByteArray();
    const QString first = QStringLiteral("d:\\") + OneKeyCopy;
    for (const std::pair<QString, bool>& copy : {std::pair{first, true}, std::pair{second, secondKnown}}) {
        const QString& target = copy.first;
        cad::writeOrTell(app, target, [&] {
            if (!copy.second || !read)
                raise(err::PathFileAccess);
            writeFileBytes(paths::resolve(target), bytes);
        });
    }
}

} // namespace

std::optional<CassPlotPoint> cassPlotPoint(const QString& line, const QString& skipped)
{
    const QString code = CommaField(line, 2);
    if (code.isEmpty())
        raise(err::InvalidArgument);
    const QChar c = code.at(0);
    if (c < QLatin1Char('A') || c > QLatin1Char('Z') || skipped.contains(c))
        return std::nullopt;
    CassPlotPoint p;
    p.letter = c;
    p.y = StrictNumber(CommaField(line, 3));
    p.x = StrictNumber(CommaField(line, 4));
    return p;
}

void PlotCassSinglePoints(cad::Document& doc, const QString& path, const QString& skipped)
{
    const QStringList lines = readTextLines(path);
    if (lines.isEmpty())
        raise(err::InputPastEnd);
    if (!doc.Layers().contains(PointLayer))
        doc.Layers().Add(PointLayer);
    for (const QString& line : lines) {
        const std::optional<CassPlotPoint> p = cassPlotPoint(line, skipped);
        if (!p)
            continue;
        cad::Block& ms = doc.ModelSpace();
        cad::Entity* point = ms.AddPoint({p->y, p->x, 0});
        cad::Entity* text = ms.AddText(QString(p->letter), {p->y, p->x, 0}, 0.3);
        for (cad::Entity* e : {point, text}) {
            e->setLayer(PointLayer);
            e->setColor(7);
        }
        point->Update();
    }
}

void zhuanhuanwyczwj_Click(Context& ctx)
{
    const QString input = askFile(ctx, QStringLiteral("打开E500数据文件"),
                                  QStringLiteral("E500数据文件(*.500)|*.500|所有文件(*.*)|*.*"));
    if (TrimBlanks(input).isEmpty())
        return;
    QString out;
    try {
        out = ConvertE500ToCass(input);
    } catch (const RunError& e) {
        reportFileFailure(ctx, e.number());
        return;
    }
    ctx.ui().message(QStringLiteral("已经转换完成！输出文件：") + out
                         + QStringLiteral("\r\n\r\n注意使用[展绘单点点位]对单点进行展点。"),
                     QStringLiteral("提示"), Icon::Exclamation);
}

void zhanhuidandianwei_Click(Context& ctx)
{
    cad::Application* app = attach(ctx);
    if (!app)
        return;
    const QString input = askFile(ctx, QStringLiteral("打开数据文件"), QStringLiteral("数据文件(*.DAT)|*.DAT"));
    if (TrimBlanks(input).isEmpty())
        return;
    bringForward(ctx);
    try {
        plotInto(*app, 34, input, QStringLiteral("CH"));
    } catch (const RunError& e) {
        reportFileFailure(ctx, e.number());
    }
}

void shujujianhuiyijiantong_Click(Context& ctx)
{
    cad::Application* app = attach(ctx);
    if (!app)
        return;
    const QString input = askFile(ctx, QStringLiteral("打开E500碎部点数据文件"),
                                  QStringLiteral("E500数据文件(*.500)|*.500|所有文件(*.*)|*.*"));
    if (TrimBlanks(input).isEmpty())
        return;
    QString dat;
    try {
        dat = ConvertE500ToCass(input);
    } catch (const RunError& e) {
        reportFileFailure(ctx, e.number());
        return;
    }
    copyOneKeyData(*app, dat);
    bringForward(ctx);
    cad::attempt([&] { app->ActiveDocument().Utility().Prompt(QStringLiteral("正在展绘单点，请等候...... ")); });
    try {
        plotInto(*app, 2, dat, QStringLiteral("CGHUX"));
    } catch (const RunError& e) {
        reportFileFailure(ctx, e.number());
        return;
    }
    cad::attempt([&] { app->ZoomExtents(); });
    for (const QString& command : {QStringLiteral("GBBLC1 "), QStringLiteral("BMSB "), QStringLiteral("linewidth jmd 1 0 ")})
        cad::attempt([&] { app->ActiveDocument().SendCommand(command); });
    cad::attempt([&] { app->ActiveDocument().Utility().Prompt(QStringLiteral("一键通数据展绘完成！")); });
}

} // namespace kelvor::coords
