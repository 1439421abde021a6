#include "relief/height_notes.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "platform/context.h"

namespace kelvor::relief {
namespace {

bool skipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

const QString kNoteLayers = QStringLiteral("gcd,laheight");

} // namespace

std::optional<double> noteNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] {
        while (i < n && skipped(text[i]))
            ++i;
    };
    skip();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    skip();
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        skip();
    }
    if (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        return LeadingNumber(text);
    return std::nullopt;
}

std::optional<QString> offsetNoteText(const QString& text, double c)
{
    const std::optional<double> v = noteNumber(text);
    if (!v)
        return std::nullopt;
    return FormatPattern(c + *v, QStringLiteral(".00"));
}

std::optional<QString> decimalsPattern(double decimals)
{
    if (decimals == 1)
        return QStringLiteral("0.0");
    if (decimals == 2)
        return QStringLiteral("0.00");
    if (decimals == 3)
        return QStringLiteral("0.000");
    return std::nullopt;
}

void laheightaddnumber_Click(Context& ctx)
{
    cad::Application* app = nullptr;
    cad::Document* doc = cad::ConnectToDrawing(ctx, app, {cad::Forward::Activate, cad::Forward::Maximise});
    if (!doc)
        return;
    cad::SelectionSet* set = cad::selectOnScreen(*doc, cad::SelectionFilter().add(8, kNoteLayers));
    if (!set || set->Count() == 0)
        return;
    double c = 0;
    if (!cad::attempt([&] {
            c = doc->Utility().GetReal(
                QStringLiteral("该功能只能选择GCD和Laheight两个层的高程点。输入要更该的高差常数(+/-):"));
        }))
        return;
    for (cad::Entity* e : set->entities()) {
        const QString kind = e->ObjectName();
        if (kind == QLatin1String("AcDbBlockReference")) {
            cad::attempt([&] { e->Move({0, 0, 0}, {0, 0, c}); });
            cad::attempt([&] { e->Update(); });
        } else if (kind == QLatin1String("AcDbText")) {
            std::optional<QString> text;
            cad::attempt([&] { text = offsetNoteText(e->TextString(), c); });
            if (!text)
                continue;
            cad::attempt([&] { e->setTextString(*text); });
            cad::attempt([&] { e->setColor(4); });
            cad::attempt([&] {
                const cad::Point p = e->InsertionPoint();
                app->ZoomWindow({p.x - 10, p.y - 6, 0}, {p.x + 13, p.y + 6, 0});
            });
            cad::attempt([&] { e->Update(); });
        }
    }
    cad::attempt([&] { set->Delete(); });
}

void laheightgcdqw_Click(Context& ctx)
{
    cad::Document* doc = cad::ConnectToDrawing(ctx);
    if (!doc)
        return;
    cad::SelectionSet* set =
        cad::selectOnScreen(*doc, cad::SelectionFilter().add(0, QStringLiteral("text")).add(8, kNoteLayers));
    if (!set || set->Count() == 0) {
        cad::attempt([&] { doc->Utility().Prompt(QStringLiteral("没有选择的文字")); });
        return;
    }
    std::optional<QString> pattern;
    cad::attempt([&] { pattern = decimalsPattern(doc->Utility().GetReal(QStringLiteral("更改的高程点位数："))); });
    if (!pattern)
        return;
    for (cad::Entity* e : set->entities())
        cad::attempt([&] { e->setTextString(FormatPattern(e->TextString(), *pattern)); });
}

} // namespace kelvor::relief
