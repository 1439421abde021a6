#include "landuse/area_notes.h"

#include "landuse/text_selection.h"

#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "cass/cass_xdata.h"
#include "platform/context.h"

namespace kelvor::landuse {

using namespace cad;

bool IsAreaNote(const XData& data)
{
    return cass::featureCode(data) == QStringLiteral("311004");
}

QString landClassTableScript(const Point& at)
{
    return scriptText({QStringLiteral("_statdlj"), axPoint2lspPoint(at), QStringLiteral("1"), QStringLiteral("p"),
                       QString()});
}

void areatoarea_Click(Context& ctx)
{
    for (Entity* t : connectAndPickTexts(ctx, true).texts) {
        // a layer the drawing lacks or refuses is passed over
        attempt([&] {
            if (IsAreaNote(t->GetXData(QString())))
                t->setLayer(QStringLiteral("AREA"));
        });
    }
}

void drawdljarea_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Visible, Forward::Activate}, ConnectFailure::Silent);
    if (!doc)
        return;
    Utility& u = doc->Utility();
    Entity* sample = nullptr;
    if (!attempt([&] {
            Point pick;
            sample = u.GetEntity(pick, QStringLiteral("选择实体颜色后选择实体:"));
        }))
        return;
    const QString colour = QString::number(sample->Color());
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.SelectOnScreen(BuildFilter({62, colour, 0, QStringLiteral("LWPOLYLINE")}));
    });
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 0); });
    Point at;
    if (!attempt([&] { at = u.GetPoint(QStringLiteral("绘制位置:")); }))
        return; // no table without its position
    attempt([&] { doc->SendCommand(landClassTableScript(at)); });
}

} // namespace kelvor::landuse
