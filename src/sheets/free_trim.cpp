#include "free_trim.h"

#include "pass_over.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"

namespace kelvor::sheets {

namespace {

QString xyText(double x, double y)
{
    return NumberText(x) + QLatin1Char(',') + NumberText(y);
}

void flattenContours(cad::Document& doc)
{
    cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text"));
    attempt([&] { set.Select(cad::SelectAll, {}, {}, cad::SelectionFilter{}.add(8, QStringLiteral("dgx"))); });
    for (cad::Entity* e : set.entities()) {
        attempt([&] { e->setElevation(0); });
        attempt([&] { e->Update(); });
    }
}

// The entity the offset text added, or null when it added none.
cad::Entity* offsetCopy(cad::Document& doc, const QString& boundary, const std::vector<double>& v, double d)
{
    const quint64 seed = doc.handseed();
    cad::CommandLineScript(doc, {QStringLiteral("_offset"), QStringLiteral("Through"), boundary,
                                 xyText(v[0] - d, v[1] - d), QString()});
    cad::Entity* last = nullptr;
    attempt([&] { last = cad::LastModelSpaceEntity(doc); });
    return last && last->handleValue() >= seed ? last : nullptr;
}

QStringList trimText(const QString& boundary, const std::vector<double>& v)
{
    QStringList items{QStringLiteral("_trim"), boundary, QString(), QStringLiteral("f")};
    for (size_t i = 0; i + 1 < v.size(); i += 2)
        items << xyText(v[i], v[i + 1]);
    items << xyText(v[0], v[1]) << QString() << QString();
    return items;
}

} // namespace

void trimdwgfile_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Activate, cad::Forward::Maximise});
    cad::Document* doc = nullptr;
    if (!app || !attempt([&] { doc = &app->ActiveDocument(); }))
        return;
    cad::ScratchSelectionSet(*doc, QStringLiteral("text"));
    cad::Entity* boundary = nullptr;
    cad::Point pick;
    attempt([&] { boundary = doc->Utility().GetEntity(pick, QStringLiteral("裁边边界:")); });
    if (!boundary || boundary->ObjectName().toLower() != QLatin1String("acdbpolyline"))
        return;
    flattenContours(*doc);
    const QString handent = cad::axEnt2lspEnt(*boundary);
    std::vector<double> v = boundary->Coordinates();
    for (double d : kTrimPasses) {
        if (v.size() < 2)
            return;
        cad::Entity* copy = offsetCopy(*doc, handent, v, d);
        if (!copy)
            return;
        attempt([&] { v = copy->Coordinates(); });
        attempt([&] { copy->Delete(); });
        const QStringList trim = trimText(handent, v);
        cad::CommandLineScript(*doc, trim);
        cad::CommandLineScript(*doc, trim);
    }
}

} // namespace kelvor::sheets
