#include "landuse/class_conversion.h"

#include "landuse/land_classes.h"
#include "landuse/text_selection.h"

#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/text_file.h"
#include "routines/routines.h"

namespace kelvor::landuse {

using namespace cad;

namespace {

// The highest patch number the renumbering hands out.
constexpr double kLastPatchNumber = 1000000;

std::optional<CodeChange> applyRule(const QString& text, const ConversionRule& rule)
{
    if (rule.from != text)
        return std::nullopt;
    return CodeChange{LeadingNumber(text), rule.to,
                      QStringLiteral("--") + rule.label + QStringLiteral("改为-->") + rule.to + QStringLiteral("\r\n")};
}

// Converts one text, re-reading its string before each rule as the drawing
// holds it; every refused step is passed over.
void convertText(Document& doc, Entity& text, const std::vector<ConversionRule>& rules)
{
    bool kept = false;
    attempt([&] { kept = KeptCode(text).has_value(); });
    for (const ConversionRule& rule : rules) {
        QString now;
        if (!attempt([&] { now = text.TextString(); }))
            continue;
        const std::optional<CodeChange> change = applyRule(now, rule);
        if (!change)
            continue;
        if (!kept)
            kept = attempt([&] { text.SetXData({xstr(1001, kOwnApplication), xstr(1000, now)}); });
        attempt([&] { text.setThickness(change->thickness); });
        attempt([&] { text.setTextString(change->text); });
        attempt([&] { doc.Utility().Prompt(change->note); });
        attempt([&] { text.setColor(5); });
    }
}

void restoreText(Entity& text)
{
    double thickness = 0;
    std::optional<QString> kept;
    attempt([&] { thickness = text.Thickness(); });
    attempt([&] { kept = KeptCode(text); });
    const std::optional<QString> code = RestoredCode(kept, thickness);
    if (!code)
        return;
    attempt([&] { text.setTextString(*code); });
    attempt([&] { text.setThickness(0); });
    attempt([&] { text.setColor(7); });
    if (kept)
        attempt([&] { text.SetXData({xstr(1001, kOwnApplication)}); });
}

} // namespace

std::vector<ConversionRule> ParseConversionRules(const QStringList& lines)
{
    std::vector<ConversionRule> rules;
    for (const QString& line : lines)
        if (line.count(QLatin1Char(',')) >= 2)
            rules.push_back({CommaField(line, 1), CommaField(line, 2), CommaField(line, 3)});
    return rules;
}

std::vector<ConversionRule> ReadConversionRules(const QString& path)
{
    return ParseConversionRules(readTextLines(path));
}

std::vector<CodeChange> ConvertCode(const QString& text, const std::vector<ConversionRule>& rules)
{
    std::vector<CodeChange> changes;
    QString now = text;
    for (const ConversionRule& rule : rules) {
        if (const std::optional<CodeChange> c = applyRule(now, rule)) {
            changes.push_back(*c);
            now = c->text;
        }
    }
    return changes;
}

std::optional<QString> KeptCode(const Entity& text)
{
    const XData data = text.GetXData(kOwnApplication);
    if (data.size() < 2)
        return std::nullopt;
    return data[1].value.toString();
}

std::optional<QString> RestoredCode(const std::optional<QString>& kept, double thickness)
{
    if (kept)
        return kept;
    if (thickness != 0)
        return NumberText(thickness);
    return std::nullopt;
}

bool MatchesFound(const QString& textString, const QString& typed)
{
    return TrimBlanks(textString) == TrimBlanks(typed);
}

void oldchangnewdl_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {}, ConnectFailure::Silent);
    const QString path =
        landClassFile(ctx, QStringLiteral("请在[输出]菜单中的[通用文件名为空]下选择新旧地类转换定义文件！"));
    if (path.isEmpty() || !app)
        return;
    if (!holdsTextData(path)) {
        ctx.ui().message(badDataText(path), QStringLiteral("错误"), Icon::Critical);
        return; // no rules to apply: nothing is picked
    }
    attempt([&] { app->setVisible(true); });
    Document* doc = activeDocument(*app);
    if (!doc)
        return;
    const std::vector<Entity*> texts = selectTextsOnScreen(*app, *doc);
    if (texts.empty())
        return;
    std::vector<ConversionRule> rules;
    try {
        rules = ReadConversionRules(path);
    } catch (const RunError&) {
        return; // gone or unreadable since the check: nothing to apply
    }
    for (Entity* t : texts)
        convertText(*doc, *t, rules);
}

void huifujiudilei_Click(Context& ctx)
{
    for (Entity* t : connectAndPickTexts(ctx, false).texts)
        restoreText(*t);
}

void XIUGAITUBANHAO_Click(Context& ctx)
{
    try {
        Application& app = attachCad(ctx);
        app.activate(app.Caption());
        app.setWindowState(3);
        Utility& u = app.ActiveDocument().Utility();
        const double start = u.GetReal(QStringLiteral("\r\n请输起始图斑号:"));
        for (double n = start; n <= kLastPatchNumber; n += 1) {
            Point pick;
            Entity* e = u.GetEntity(pick, QStringLiteral("选择需修改的图斑号:"));
            if (e->ObjectName() != QLatin1String("AcDbText"))
                return;
            e->setTextString(NumberText(n));
        }
    } catch (const RunError&) {
        // any failure ends the renumbering; the numbers given stay
    }
}

void findzhidingzhifu_Click(Context& ctx)
{
    const PickedTexts picked = connectAndPickTexts(ctx, true);
    if (picked.texts.empty())
        return;
    Document* doc = picked.doc;
    QString typed;
    attempt([&] { typed = doc->Utility().GetString(true, QStringLiteral("请输入要查找的字符:")); });
    for (Entity* t : picked.texts) {
        attempt([&] {
            if (MatchesFound(t->TextString(), typed)) {
                const Point p = t->InsertionPoint();
                AddLocatorLine(*doc, p.x, p.y);
            }
        });
    }
    attempt([&] { doc->Utility().Prompt(QStringLiteral("运行结束！")); });
}

} // namespace kelvor::landuse
