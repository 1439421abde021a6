// TEXT, INSERT and DD as scripts drive them: answers one per line, a blank
// ending an answer as Enter does except in the text itself.
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"

#include <cmath>

namespace kelvor::cad::cmd {

namespace {

// A number answer; Enter takes the default.
double realOr(CommandInput& in, double fallback)
{
    const QString t = in.nextWord(QStringLiteral("real")).trimmed();
    if (t.isEmpty())
        return fallback;
    const std::optional<double> v = numberOf(t);
    if (!v)
        fault(fail::Failed, QStringLiteral("\"%1\" is not a number").arg(t));
    return *v;
}

Point pointAnswer(CommandInput& in)
{
    const QString t = in.nextWord(QStringLiteral("point")).trimmed();
    const std::optional<Point> p = pointOf(t);
    if (!p)
        fault(fail::Failed, QStringLiteral("\"%1\" is not a point").arg(t));
    return *p;
}

// TEXT: start point, height (unless the style fixes it), rotation in
// degrees, the text.
void textCommand(CommandInput& in)
{
    Document& doc = in.document();
    const Point at = pointAnswer(in);
    const QString styleName = doc.GetVariable(QStringLiteral("TEXTSTYLE")).toString();
    const TextStyle* style = doc.TextStyles().find(styleName);
    double height = style && style->height > 0 ? style->height : 0;
    if (!(height > 0)) {
        height = realOr(in, doc.GetVariable(QStringLiteral("TEXTSIZE")).toDouble());
        if (!(height > 0))
            fault(fail::Failed, QStringLiteral("the text height must be positive"));
        doc.SetVariable(QStringLiteral("TEXTSIZE"), height);
    }
    const double rotation = realOr(in, 0);
    const QString text = in.nextText(QStringLiteral("string"));
    Entity* e = doc.ModelSpace().AddText(text, at, height);
    if (style)
        e->setStyleName(style->Name);
    e->setRotation(rotation * M_PI / 180);
}

// INSERT: block name or drawing file, insertion point, X scale <1>,
// Y scale <X>, rotation <0>.
void insertCommand(CommandInput& in)
{
    Document& doc = in.document();
    const QString name = in.nextText(QStringLiteral("string")).trimmed();
    const Point at = pointAnswer(in);
    const double xs = realOr(in, 1);
    const double ys = realOr(in, xs);
    const double rotation = realOr(in, 0);
    try {
        doc.ModelSpace().InsertBlock(at, name, xs, ys, xs, rotation * M_PI / 180);
    } catch (const RunError&) {
        doc.host()->appendTranscript(QStringLiteral("未找到块“%1”。\r\n").arg(name));
        throw;
    }
}

} // namespace

// A control point: the block named by its code (a circle of radius 1 at
// 1:500 where the drawing has none), its name above and its height below
// to the right, and a note line under the name, on layer "kzd" when the
// drawing has it. The symbol carries the code, the texts code + 11 and the
// line code + 10, as the control-point annotation commands find them.
std::vector<Entity*> plotControlPoint(Document& doc, const QString& code, const Point& at, const QString& height,
                                      const QString& name)
{
    Block& ms = doc.ModelSpace();
    const double k = DrawingScaleFactor(doc);
    const QString layer = doc.Layers().contains(QStringLiteral("kzd")) ? QStringLiteral("kzd") : doc.ActiveLayer();
    bool number = false;
    const qlonglong c = code.trimmed().toLongLong(&number);
    auto tagged = [&](Entity* e, qlonglong value) {
        e->setLayer(layer);
        if (number)
            e->SetXData({xstr(1001, QStringLiteral("SOUTH")), xstr(1000, QString::number(value))});
        return e;
    };
    if (!doc.RegisteredApplications().contains(QStringLiteral("SOUTH")))
        doc.RegisteredApplications().Add(QStringLiteral("SOUTH"));
    std::vector<Entity*> out;
    const Block* def = doc.findBlock(code.trimmed());
    if (def && !def->isModelSpace())
        out.push_back(tagged(ms.InsertBlock(at, def->Name(), k, k, k, 0), c));
    else
        out.push_back(tagged(ms.AddCircle(at, k), c));
    const double h = 2 * k, dx = 1.5 * k, w = std::max(name.size(), qsizetype(4)) * 0.8 * h;
    out.push_back(tagged(ms.AddText(name, {at.x + dx, at.y + 0.5 * k, 0}, h), c + 11));
    if (!height.isEmpty())
        out.push_back(tagged(ms.AddText(height, {at.x + dx, at.y - 0.5 * k - h, 0}, h), c + 11));
    out.push_back(tagged(ms.AddLine({at.x + dx, at.y, 0}, {at.x + dx + w, at.y, 0}), c + 10));
    return out;
}

namespace {

// DD: code, point, height, name.
void ddCommand(CommandInput& in)
{
    Document& doc = in.document();
    const QString code = in.nextWord(QStringLiteral("string")).trimmed();
    Point at = pointAnswer(in);
    const QString height = in.nextWord(QStringLiteral("real")).trimmed();
    at.z = height.toDouble();
    const QString name = in.nextText(QStringLiteral("string")).trimmed();
    plotControlPoint(doc, code, at, height, name);
}

} // namespace

void registerScriptCommands(Application& app)
{
    app.registerCommand(QStringLiteral("TEXT"), textCommand,
                        QStringLiteral("注写单行文字"));
    app.registerCommand(QStringLiteral("DTEXT"), textCommand,
                        QStringLiteral("注写单行文字"));
    app.registerCommand(QStringLiteral("INSERT"), insertCommand,
                        QStringLiteral("插入图块或图形文件"));
    app.registerCommand(QStringLiteral("DD"), ddCommand,
                        QStringLiteral("展绘控制点（代码、点位、高程、点名）"));
}

} // namespace kelvor::cad::cmd
