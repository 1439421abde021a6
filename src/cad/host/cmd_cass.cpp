// Stand-ins of the mapping add-on's commands, script files, and the list of
// the host's own commands.
#include "cad/host/cmd_commands.h"
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"

#include "platform/text_file.h"

#include <map>

namespace kelvor::cad {

namespace cmd {
void registerOffset(Application& app);
void registerTrimAndBreak(Application& app);
void registerPedit(Application& app);
void registerBoundary(Application& app);
void registerLayerAndChange(Application& app);
void registerImageCommands(Application& app);
void registerScriptCommands(Application& app);
void registerPlot(Application& app);
} // namespace cmd

double landClassRowHeight(Document& doc)
{
    return 6 * DrawingScaleFactor(doc);
}

namespace {

// Cell widths in row heights, as the table's readers measure them.
constexpr double kCodeCell = 3.333333;
constexpr double kAreaCell = 5.833333;

QString areaText(double a)
{
    return QString::number(a, 'f', 2);
}

// The land-class area table: one row per land-class code (item 2 of the
// polygons' extended data), codes in ascending order from the given top-left
// corner downwards. Each row: the left border of the code cell as a line of
// the row height, the code cell and the area cell with one text each.
void drawLandClassTable(Document& doc, const Point& at, const std::vector<Entity*>& polygons)
{
    std::map<QString, double> sums;
    for (Entity* e : polygons) {
        if (e->isErased())
            continue;
        const EntityKind k = e->kind();
        if (k != EntityKind::LwPolyline && k != EntityKind::Polyline2d && k != EntityKind::Polyline3d)
            continue;
        const XData x = e->GetXData(QString());
        if (x.size() < 3)
            continue;
        sums[x[2].value.toString()] += e->Area();
    }
    if (sums.empty())
        return;
    const double h = landClassRowHeight(doc);
    const double w1 = h * kCodeCell, w2 = h * kAreaCell;
    Block& ms = doc.ModelSpace();
    auto text = [&](const QString& s, double cx, double cy) {
        Entity* t = ms.AddText(s, {cx, cy, 0}, 0.4 * h);
        t->setAlignment(AlignMiddleCenter);
        t->setTextAlignmentPoint({cx, cy, 0});
    };
    double top = at.y;
    ms.AddLine({at.x, top, 0}, {at.x + w1 + w2, top, 0});
    for (const auto& [code, area] : sums) {
        const double y0 = top - h;
        ms.AddLine({at.x, y0, 0}, {at.x, top, 0});
        ms.AddLine({at.x + w1, y0, 0}, {at.x + w1, top, 0});
        ms.AddLine({at.x + w1 + w2, y0, 0}, {at.x + w1 + w2, top, 0});
        ms.AddLine({at.x, y0, 0}, {at.x + w1 + w2, y0, 0});
        text(code, at.x + w1 / 2, y0 + h / 2);
        text(areaText(area), at.x + w1 + w2 / 2, y0 + h / 2);
        top = y0;
    }
}

// _statdlj: position, a count answer, then the polygons (an object
// selection, "p" for the previous one).
void statdljCommand(CommandInput& in)
{
    Document& doc = in.document();
    const std::optional<Point> at = pointOf(in.nextText(QStringLiteral("point")));
    in.nextText();
    const std::vector<Entity*> polygons = cmd::selectObjects(in);
    if (at)
        drawLandClassTable(doc, *at, polygons);
}

// Takes its answers and changes nothing.
CommandHandler answers(int count)
{
    return [count](CommandInput& in) {
        for (int i = 0; i < count && !in.atEnd(); ++i)
            in.nextText();
    };
}

void scriptCommand(CommandInput& in)
{
    runScript(in.document(), in.nextText().trimmed());
}

} // namespace

void runScript(Document& doc, const QString& path)
{
    const QStringList lines = readTextLines(path);
    QString text;
    for (const QString& l : lines)
        text += l + QLatin1Char('\r');
    doc.SendCommand(text);
}

void registerEditingCommands(Application& app)
{
    cmd::registerOffset(app);
    cmd::registerTrimAndBreak(app);
    cmd::registerPedit(app);
    cmd::registerBoundary(app);
    cmd::registerLayerAndChange(app);
    cmd::registerImageCommands(app);
    cmd::registerScriptCommands(app);
    cmd::registerPlot(app);
    app.registerCommand(QStringLiteral("STATDLJ"), statdljCommand,
                        QStringLiteral("绘制地类面积统计表"));
    app.registerCommand(QStringLiteral("GBBLC1"), answers(0),
                        QStringLiteral("CASS 命令的替身，不改图形"));
    app.registerCommand(QStringLiteral("BMSB"), answers(0),
                        QStringLiteral("CASS 命令的替身，不改图形"));
    app.registerCommand(QStringLiteral("LINEWIDTH"), answers(3),
                        QStringLiteral("CASS 命令的替身：读三个回答，不改图形"));
    app.registerCommand(QStringLiteral("SCRIPT"), scriptCommand,
                        QStringLiteral("运行脚本文件（每行一项回答）"));
}

} // namespace kelvor::cad
