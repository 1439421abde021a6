#include "landuse/class_areas.h"

#include "cad/cad.h"
#include "cass/cass_xdata.h"
#include "platform/context.h"
#include "routines/routines.h"

namespace kelvor::landuse {

using namespace cad;

bool landClassMatches(const XData& data, const QString& typedCode)
{
    const std::optional<QString> code = cass::landClassCode(data);
    return code && TrimBlanks(*code) == TrimBlanks(typedCode);
}

QString landClassAreaText(const QString& typedCode, double sum)
{
    const QString two = QStringLiteral("0.00");
    return QStringLiteral("地类") + typedCode + QStringLiteral("的面积：") + FormatPattern(sum, two)
        + QLatin1Char('[') + FormatPattern(sum * 0.0015, two) + QStringLiteral("亩]");
}

QString parcelFeatureCode(const XData& data)
{
    const std::optional<QString> code = cass::featureCode(data);
    return code ? TrimBlanks(*code) : QStringLiteral("0");
}

bool lacksFeatureCode(const QString& code)
{
    return LeadingNumber(code) == 0;
}

std::vector<size_t> outermostIslands(const std::vector<Island>& islands)
{
    std::vector<size_t> out;
    for (size_t i = 0; i < islands.size(); ++i) {
        bool nested = false;
        for (size_t j = 0; j < islands.size() && !nested; ++j)
            nested = j != i && shapeInsidePolygon(islands[i].shape, islands[j].polygon);
        if (!nested)
            out.push_back(i);
    }
    return out;
}

std::vector<double> chordPolygonXyz(const std::vector<double>& xy)
{
    std::vector<double> out;
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        out.insert(out.end(), {xy[i], xy[i + 1], 0});
    return out;
}

std::vector<Pt2> chordPolygon(const std::vector<double>& xy)
{
    std::vector<Pt2> out;
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        out.push_back({xy[i], xy[i + 1]});
    return out;
}

// ---- the commands -----------------------------------------------------------

namespace {

XData dataOf(const Entity& e)
{
    XData data;
    attempt([&] { data = e.GetXData(QString()); });
    return data;
}

double areaOf(const Entity& e)
{
    double a = 0;
    attempt([&] { a = e.Area(); });
    return a;
}

std::vector<double> coordinatesOf(const Entity& e)
{
    std::vector<double> c;
    attempt([&] { c = e.Coordinates(); });
    return c;
}

void flagCodeless(Entity& e)
{
    attempt([&] { e.setColor(1); });
    attempt([&] { e.setConstantWidth(1.0); });
}

const QString kLwPolyline = QStringLiteral("LWPOLYLINE");

// P's own area less its outermost islands; code-less polylines inside are
// flagged and P turns red when it has an island.
double netParcelArea(Document& doc, Entity& parcel)
{
    std::vector<Entity*> inside;
    const std::vector<double> xy = coordinatesOf(parcel);
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text1"), true);
        set.SelectByPolygon(SelectWindowPolygon, chordPolygonXyz(xy), BuildFilter({0, kLwPolyline}));
        inside = set.entities();
    });
    std::vector<Entity*> parcels;
    std::vector<Island> islands;
    for (Entity* e : inside) {
        if (e == &parcel)
            continue; // a parcel is never its own island
        const QString code = parcelFeatureCode(dataOf(*e));
        if (lacksFeatureCode(code))
            flagCodeless(*e);
        if (!isParcel(code))
            continue;
        parcels.push_back(e);
        islands.push_back({e->shape(), chordPolygon(coordinatesOf(*e))});
    }
    double net = areaOf(parcel);
    for (size_t i : outermostIslands(islands)) {
        attempt([&] { parcel.setColor(1); });
        net -= areaOf(*parcels[i]);
    }
    return net;
}

} // namespace

void tongjizhidingdilei_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx);
    if (!doc)
        return;
    SelectionSet* set = nullptr;
    attempt([&] { set = &ScratchSelectionSet(*doc, QStringLiteral("text")); });
    Entity* sample = nullptr;
    attempt([&] {
        Point pick;
        sample = doc->Utility().GetEntity(pick, QStringLiteral("选择实体颜色后选择实体:"));
    });
    if (!sample)
        return;
    QString colour;
    attempt([&] { colour = QString::number(sample->Color()); });
    std::vector<Entity*> polylines;
    attempt([&] {
        if (!set)
            return;
        set->SelectOnScreen(BuildFilter({0, QStringLiteral("LWPOLYLINE,POLYLINE"), 62, colour}));
        polylines = set->entities();
    });
    QString code;
    attempt([&] { code = doc->Utility().GetString(true, QStringLiteral("请输入要地类编码:")); });
    double sum = 0;
    for (Entity* e : polylines)
        if (landClassMatches(dataOf(*e), code))
            sum += areaOf(*e);
    ctx.ui().message(landClassAreaText(code, sum), QStringLiteral("统计指定地类面积"), Icon::Exclamation);
}

void tongjizhongdidao_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app, {Forward::Visible, Forward::Maximise, Forward::Activate});
    if (!app)
        return;
    double total = 0;
    if (doc) {
        std::vector<Entity*> polylines;
        attempt([&] {
            SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"), true);
            const SelectionFilter filter = BuildFilter({0, kLwPolyline});
            attempt([&] { app->activate(app->Caption()); });
            set.SelectOnScreen(filter);
            polylines = set.entities();
        });
        for (Entity* p : polylines) {
            const QString code = parcelFeatureCode(dataOf(*p));
            if (lacksFeatureCode(code))
                flagCodeless(*p);
            if (isParcel(code))
                total += netParcelArea(*doc, *p);
        }
    }
    ctx.ui().message(NumberText(total));
}

} // namespace kelvor::landuse
