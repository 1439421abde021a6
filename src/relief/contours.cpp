#include "relief/contours.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "cass/cass_xdata.h"
#include "platform/context.h"

#include <cmath>
#include <vector>

namespace kelvor::relief {
namespace {

constexpr double kContourWidth = 0.15;

// Every entity on "dgx" (set "text"), whatever its kind; none when the
// host refuses.
std::vector<cad::Entity*> contourSelection(cad::Document& doc)
{
    std::vector<cad::Entity*> found;
    cad::attempt([&] {
        cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text"));
        set.Select(cad::SelectAll, {}, {}, cad::SelectionFilter().add(8, QStringLiteral("dgx")));
        found = set.entities();
    });
    return found;
}

// Each step alone passes over what the entity lacks: a text on "dgx" keeps
// its place but takes the code and the colour.
void recode(cad::Entity* e, double width, const QString& code, int colour)
{
    cad::attempt([&] { e->setConstantWidth(width); });
    cad::attempt([&] { cass::writeFeatureCode(*e, cass::kSouth, code); });
    cad::attempt([&] { e->setColor(colour); });
    cad::attempt([&] { e->Update(); });
}

} // namespace

bool isIndexContour(double elevation, double interval)
{
    const double m = interval * 0.5 * 10;
    const double q = elevation / m;
    return q == std::floor(q);
}

bool thinnedOut(double elevation, int option)
{
    const double h = LeadingNumber(NumberText(elevation));
    if (option == 1)
        return h - 0.5 == std::floor(h);
    if (option == 2)
        return h / 2 != std::floor(h / 2);
    return false;
}

void alterdgxlaheight_Click(Context& ctx)
{
    cad::Document* doc = cad::ConnectToDrawing(ctx, {cad::Forward::Activate, cad::Forward::Maximise});
    if (!doc)
        return;
    const std::vector<cad::Entity*> contours = contourSelection(*doc);
    cad::Utility& u = doc->Utility();
    double c = 0;
    if (!cad::attempt([&] { c = u.GetReal(QStringLiteral("等高线高度修改常数(+/-):")); }))
        return;
    if (c != 0)
        for (cad::Entity* e : contours) {
            cad::attempt([&] { e->setElevation(e->Elevation() + c); });
            recode(e, kContourWidth, QStringLiteral("201101"), 2);
        }
    double k = 1;
    cad::attempt([&] { k = cad::DrawingScaleFactor(*doc); });
    double d = 0;
    if (!cad::attempt([&] { d = u.GetReal(QStringLiteral("请输入基本等高距(米):")); }))
        return;
    if (d != 0)
        for (cad::Entity* e : contours) {
            double elevation = 0;
            if (cad::attempt([&] { elevation = e->Elevation(); }) && isIndexContour(elevation, d))
                recode(e, kContourWidth * k, QStringLiteral("201102"), 3);
        }
    cad::attempt([&] { u.Prompt(QStringLiteral("操作已完成！")); });
}

void deletedgx_Click(Context& ctx)
{
    cad::Document* doc = cad::ConnectToDrawing(ctx, {cad::Forward::Activate, cad::Forward::Maximise});
    if (!doc)
        return;
    const std::vector<cad::Entity*> contours = contourSelection(*doc);
    cad::Utility& u = doc->Utility();
    int option = 0;
    cad::attempt([&] {
        option = u.GetInteger(QStringLiteral(
            "1.删除0.5米等高线(变为1.0米等高距) / 2.删除1.0米等高线(变为2.0米等高距):"));
    });
    if (option != 1 && option != 2)
        return;
    int count = 0;
    for (cad::Entity* e : contours) {
        double elevation = 0;
        if (cad::attempt([&] { elevation = e->Elevation(); }) && thinnedOut(elevation, option)
            && cad::attempt([&] { e->Delete(); }))
            ++count;
    }
    if (option == 1) {
        cad::attempt([&] { u.Prompt(QStringLiteral("处理完成,共: %1个。").arg(count)); });
        return;
    }
    cad::attempt([&] { doc->Regen(1); });
    cad::attempt([&] { u.Prompt(QStringLiteral("OK！finish: %1").arg(count)); });
}

} // namespace kelvor::relief
