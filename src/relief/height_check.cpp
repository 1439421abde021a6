#include "relief/height_check.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/errors.h"

#include <cmath>
#include <functional>

namespace kelvor::relief {
namespace {

constexpr double kZoomHalf = 20; // drawing units each side of the check text

} // namespace

HeightCheckRow heightCheckRow(const QString& check, const QString& map, double pickX, double pickY)
{
    const double difference = std::fabs(LeadingNumber(check) - LeadingNumber(map)) * 100;
    const QString tenths = QStringLiteral("0.0");
    return {check, map, FormatPattern(difference, tenths), FormatPattern(pickX, tenths), FormatPattern(pickY, tenths)};
}

void laheightcheck_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {});
    if (!app)
        return;
    if (ctx.ui().message(QStringLiteral("检测的高程点图层应为Gcd1，是否确定？"), QStringLiteral("提示"),
                         Icon::Exclamation, Buttons::OKCancel) != Answer::OK)
        return;
    cad::attempt([&] { app->activate(app->Caption()); });
    cad::attempt([&] { app->setWindowState(3); });

    cad::Document* doc = nullptr;
    std::vector<cad::Entity*> checks;
    cad::attempt([&] {
        doc = &app->ActiveDocument();
        cad::SelectionSet& set = cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.Select(cad::SelectAll, {}, {},
                   cad::SelectionFilter().add(0, QStringLiteral("text")).add(8, QStringLiteral("gcd1")));
        checks = set.entities();
    });

    cad::ExcelApplication* sheet = cad::ConnectToExcel(ctx, ctx.office());
    if (!sheet)
        return;
    int row = 0; // no active cell: every write is refused
    cad::attempt([&] { row = sheet->activeRow(); });

    for (cad::Entity* t : checks) {
        int colour = cad::ColorByLayer;
        cad::attempt([&] { colour = t->Color(); });
        cad::attempt([&] { t->setColor(3); });
        cad::Point at;
        cad::attempt([&] { at = t->InsertionPoint(); });
        cad::attempt([&] {
            app->ZoomWindow({at.x - kZoomHalf, at.y - kZoomHalf, 0}, {at.x + kZoomHalf, at.y + kZoomHalf, 0});
        });
        cad::Point pick;
        QString map;
        cad::attempt([&] {
            cad::Entity* note = doc->Utility().GetEntity(pick, QStringLiteral("高程注记:"));
            if (note && note->ObjectName() == QLatin1String("AcDbText"))
                map = note->TextString();
        });
        QString check;
        cad::attempt([&] { check = t->TextString(); });
        if (LeadingNumber(map) != 0) {
            const HeightCheckRow r = heightCheckRow(check, map, pick.x, pick.y);
            const std::pair<int, QString> cells[] = {{1, r.check}, {2, r.map}, {3, r.difference}, {5, r.x}, {6, r.y}};
            for (const auto& cell : cells)
                cad::attempt([&] { sheet->setCell(row, cell.first, cell.second); });
            cad::attempt([&] { doc->Utility().Prompt(QStringLiteral("差值:") + r.difference); });
            ++row;
        }
        cad::attempt([&] { t->setColor(colour); });
    }
}

} // namespace kelvor::relief
