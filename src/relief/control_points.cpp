#include "relief/control_points.h"

#include "relief/height_notes.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "cass/cass_xdata.h"
#include "platform/context.h"

#include <cmath>
#include <cstdlib>

namespace kelvor::relief {
namespace {

constexpr double kSquareHalf = 10; // drawing units each side of a control point, whatever the scale

// The annotation line keeps its place relative to the text beside it:
// shifted with the scale, then stretched about its end point as it was.
void fitAnnotationLine(cad::Entity* line, double k)
{
    cad::Point end;
    cad::attempt([&] { end = line->EndPoint(); });
    cad::attempt([&] { line->Move({0, 0, 0}, {0.25 * k, 0, 0}); });
    cad::attempt([&] { line->ScaleEntity(end, k); });
}

} // namespace

AnnotationPart annotationPart(std::optional<double> code)
{
    if (!code)
        return AnnotationPart::None;
    if (*code == 131511 || *code == 131711 || *code == 131811)
        return AnnotationPart::Text;
    if (*code == 131510 || *code == 131710 || *code == 131810)
        return AnnotationPart::Line;
    return AnnotationPart::None;
}

bool isUpperText(const QString& text)
{
    const QString t = TrimBlanks(text);
    if (t.isEmpty())
        return false;
    const char16_t c = t.front().unicode();
    // The euro sign is the one single byte (0x80) of code page 936 above ASCII.
    return (c >= 65 && c < 0x80) || c == 0x20AC;
}

cad::Point annotationShift(bool upper, double k)
{
    const double dy = upper ? 1.1 * k - 1.1 : 1.1 - 1.1 * k;
    return {4.25 * k - 4.25, dy, 0};
}

void changekzd_Click(Context& ctx)
{
    cad::Document* doc = cad::ConnectToDrawing(ctx);
    if (!doc)
        return;
    cad::SelectionSet* set = cad::selectOnScreen(*doc, cad::SelectionFilter().add(0, QStringLiteral("text,line")));
    cad::Utility& u = doc->Utility();
    if (!set || set->Count() == 0) {
        cad::attempt([&] { u.Prompt(QStringLiteral("没有选择的文字")); });
        return;
    }
    double k = 1;
    cad::attempt([&] { k = cad::DrawingScaleFactor(*doc); });
    if (k < 0) {
        cad::attempt([&] { u.Prompt(QStringLiteral("\r\n比例尺不正确，未作修改。")); });
        return;
    }
    for (cad::Entity* e : set->entities()) {
        AnnotationPart part = AnnotationPart::None;
        cad::attempt([&] { part = annotationPart(cass::numericCode(cass::featureCode(*e))); });
        const QString kind = e->ObjectName();
        if (part == AnnotationPart::Text && kind == QLatin1String("AcDbText")) {
            bool upper = false;
            cad::attempt([&] { upper = isUpperText(e->TextString()); });
            cad::attempt([&] { e->Move({0, 0, 0}, annotationShift(upper, k)); });
        } else if (part == AnnotationPart::Line && kind == QLatin1String("AcDbLine")) {
            fitAnnotationLine(e, k);
        }
    }
}

std::optional<QString> updatedHeightNote(const QString& note, double z)
{
    const std::optional<double> v = noteNumber(note);
    if (!v)
        return std::nullopt;
    const QString height = NumberText(z);
    const double d = std::fabs(*v - LeadingNumber(height));
    if (d > 0.0001 && d < 0.1)
        return height;
    return std::nullopt;
}

void changekzdheight_Click(Context& ctx)
{
    cad::Application* app = nullptr;
    cad::Document* doc = cad::ConnectToDrawing(ctx, app);
    if (!doc)
        return;
    std::vector<cad::Entity*> points;
    cad::attempt([&] {
        cad::SelectionSet& set = cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.Select(cad::SelectAll, {}, {}, cad::SelectionFilter().add(2, QStringLiteral("gc115")));
        points = set.entities();
    });
    const cad::SelectionFilter notes =
        cad::SelectionFilter().add(0, QStringLiteral("text")).add(8, QStringLiteral("kzd"));
    int n = 0;
    for (cad::Entity* point : points) {
        cad::Point p;
        cad::attempt([&] { p = point->InsertionPoint(); });
        const cad::Point lower{p.x - kSquareHalf, p.y - kSquareHalf, 0}, upper{p.x + kSquareHalf, p.y + kSquareHalf, 0};
        cad::attempt([&] { app->ZoomWindow(lower, upper); });
        std::vector<cad::Entity*> candidates;
        cad::attempt([&] {
            cad::SelectionSet& li = cad::ScratchSelectionSet(*doc, QStringLiteral("li"));
            li.Select(cad::SelectWindow, lower, upper, notes);
            candidates = li.entities();
        });
        for (cad::Entity* note : candidates) {
            std::optional<QString> text;
            cad::attempt([&] { text = updatedHeightNote(note->TextString(), p.z); });
            if (!text)
                continue;
            cad::attempt([&] { note->setTextString(*text); });
            cad::attempt([&] { note->setColor(7); });
            cad::attempt([&] { note->Update(); });
            ++n;
        }
    }
    for (const QString& name : {QStringLiteral("li"), QStringLiteral("text")})
        cad::attempt([&] { doc->SelectionSets().Item(name).Delete(); });
    const QString report = n == 0 ? QStringLiteral("\r\n操作完成，没有可修改的数据!")
                                  : QStringLiteral("\r\n共处理 %1 个数据!").arg(n);
    cad::attempt([&] { doc->Utility().Prompt(report); });
}

int searchMultiple(std::optional<int> answer)
{
    const int m = answer.value_or(0);
    return m == 0 ? 2 : std::abs(m);
}

std::vector<double> searchRectangle(const cad::Point& p, int multiple)
{
    const double dx = 8.5 * multiple, dy = 5.0 * multiple;
    return {p.x - dx, p.y + dy, 0, p.x - dx, p.y - dy, 0, p.x + dx, p.y - dy, 0,
            p.x + dx, p.y + dy, 0, p.x - dx, p.y + dy, 0};
}

std::optional<double> displayFactor(std::optional<double> answer)
{
    const float f = static_cast<float>(answer.value_or(0));
    if (f == 0)
        return std::nullopt;
    return static_cast<double>(f);
}

void gaibiankzdbili_Click(Context& ctx)
{
    cad::Document* doc = cad::ConnectToDrawing(ctx);
    if (!doc)
        return;
    std::vector<cad::Entity*> picked;
    cad::attempt([&] {
        cad::SelectionSet& set = cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.SelectOnScreen();
        picked = set.entities();
    });
    cad::Utility& u = doc->Utility();
    std::optional<int> m;
    cad::attempt([&] {
        m = u.GetInteger(QStringLiteral("控制点注记搜索倍数，如果出现个别控制点改变不正确，建设增加倍数<默认2>]:"));
    });
    std::optional<double> f;
    cad::attempt([&] { f = u.GetReal(QStringLiteral("控制点放大或缩少倍数]:")); });
    const std::optional<double> factor = displayFactor(f);
    if (!factor)
        return;
    const int multiple = searchMultiple(m);
    for (cad::Entity* anchor : picked) {
        if (anchor->ObjectName().compare(QLatin1String("acDbBlockReference"), Qt::CaseInsensitive) != 0)
            continue;
        std::vector<cad::Entity*> inside;
        cad::Point p;
        cad::attempt([&] {
            cad::SelectionSet& set = cad::ScratchSelectionSet(*doc, QStringLiteral("text1"), true);
            p = anchor->InsertionPoint();
            set.SelectByPolygon(cad::SelectWindowPolygon, searchRectangle(p, multiple));
            inside = set.entities();
        });
        for (cad::Entity* e : inside)
            cad::attempt([&] { e->ScaleEntity(p, *factor); });
    }
}

} // namespace kelvor::relief
