#include "attributes.h"

#include "cass_xdata.h"
#include "commands.h"
#include "steps.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/ui.h"

#include <algorithm>
#include <array>

namespace kelvor::cass {

using namespace cad;

namespace {

const QString kText = QStringLiteral("text");

Utility& utilityOf(Application& app)
{
    return app.ActiveDocument().Utility();
}

} // namespace

const std::vector<CompletionPass>& completionPasses()
{
    static const std::vector<CompletionPass> passes{
        {6, QStringLiteral("10421"), QStringLiteral("204201"), QStringLiteral("处理陡坎线无属性状态...")},
        {6, QStringLiteral("10422"), QStringLiteral("204202"), QStringLiteral("处理加固坎无属性状态...")},
        {6, QStringLiteral("444"), QStringLiteral("144400"), QStringLiteral("处理栏杆无属性状态...")},
        {6, QStringLiteral("445"), QStringLiteral("144500"), QStringLiteral("处理篱笆无属性状态...")},
        {6, QStringLiteral("447"), QStringLiteral("144700"), QStringLiteral("处理铁丝网无属性状态...")},
        {6, QStringLiteral("8352"), QStringLiteral("183501"), QStringLiteral("处理干沟无属性状态...")},
        {8, QStringLiteral("dgx"), QString(), QStringLiteral("处理等高线无属性状态...")},
    };
    return passes;
}

QString contourCode(int color)
{
    return color == 3 ? QStringLiteral("201102") : QStringLiteral("201101");
}

bool isVegetationBoundary(const std::optional<QString>& code)
{
    static constexpr std::array<double, 12> codes{211300, 211100, 211200, 211400, 212100, 212500,
                                                  213100, 213201, 213500, 214100, 213901, 172001};
    const std::optional<double> n = numericCode(code);
    return n && std::find(codes.begin(), codes.end(), *n) != codes.end();
}

std::optional<VegetationMove> vegetationMove(const QString& answer)
{
    if (answer.isEmpty() || answer == QLatin1String("1"))
        return VegetationMove{QStringLiteral("Zbtz,gxyz"), QStringLiteral("ASSIST")};
    if (answer == QLatin1String("2"))
        return VegetationMove{QStringLiteral("Assist"), QStringLiteral("ZBTZ")};
    return std::nullopt;
}

Pt2 markedPoint(const Entity& entity)
{
    const QString kind = entity.ObjectName().toUpper();
    if (kind == QLatin1String("ACDBPOLYLINE") || kind == QLatin1String("ACDB2DPOLYLINE")) {
        const std::vector<double> c = entity.Coordinates();
        if (c.size() >= 2)
            return {c[0], c[1]};
    }
    if (kind == QLatin1String("ACDBLINE")) {
        const Point s = entity.StartPoint();
        return {s.x, s.y};
    }
    Point lo, hi;
    entity.GetBoundingBox(lo, hi);
    return {lo.x, lo.y};
}

void addcassshuxing_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, kFullForward, ConnectFailure::Silent);
    if (!app)
        return;
    // The first refused step ends the copy; targets done so far keep their changes.
    try {
        Utility& u = utilityOf(*app);
        Point pick;
        const Entity* source = u.GetEntity(pick, QStringLiteral("请选择源目标:"));
        const int color = source->Color();
        const QString linetype = source->Linetype();
        const QString layer = source->Layer();
        const XData data = source->GetXData(QString());
        while (true) {
            Entity* target = utilityOf(*app).GetEntity(pick, QStringLiteral("选择要更改的目标:"));
            target->setColor(color);
            target->setLinetype(linetype);
            target->setLayer(layer);
            target->SetXData(data);
            target->Update();
        }
    } catch (const RunError&) {
    }
}

void huaoqikuang_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    SelectionSet* set = selectOnScreen(*app);
    for (Entity* e : members(set)) {
        std::optional<QString> code;
        attempt([&] { code = featureCode(*e); });
        ctx.ui().message(QStringLiteral("CASS地物的属性为：") + code.value_or(QString()), QString(), Icon::None,
                         Buttons::OK);
        attempt([&] { e->Update(); });
    }
    if (set)
        attempt([&] { set->Delete(); });
}

void fdsfdsfdsfdsf_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    bool first = true;
    for (const CompletionPass& pass : completionPasses()) {
        const std::vector<Entity*> found = selectAll(*app, SelectionFilter{}.add(pass.group, pass.value));
        if (first)
            prompt(*app, QStringLiteral("[地形图属性完善]\r\n"));
        first = false;
        prompt(*app, pass.message + QStringLiteral("\r\n"));
        const bool contour = pass.code.isEmpty();
        for (Entity* e : found) {
            attempt([&] { writeFeatureCode(*e, kSouth, contour ? contourCode(e->Color()) : pass.code); });
            if (contour)
                attempt([&] { e->Update(); });
        }
    }
    prompt(*app, QStringLiteral("OK！已恢复以上地物所丢失的属性。"));
}

void fengchengxiansx_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Visible, Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    SelectionSet* set = selectOnScreen(*app, SelectionFilter{}.add(0, QStringLiteral("POLYLINE,lwPOLYLINE")));
    int count = 0;
    prompt(*app, QStringLiteral("处理中..."));
    for (Entity* e : members(set)) {
        ++count; // a refused write still counts
        attempt([&] { writeFeatureCode(*e, kSouth, QStringLiteral("141101-1")); });
    }
    prompt(*app, QStringLiteral("已完成，共处理%1个").arg(count));
}

void addassist_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    prompt(*app, QStringLiteral("[植被填充层处理]\r\n"));
    // A refused question leaves the answer empty, which moves to ASSIST.
    QString answer;
    attempt([&] { answer = utilityOf(*app).GetString(true, QStringLiteral("<1>.将植被边界线放入Assist图层<2>.还原:")); });
    const std::optional<VegetationMove> move = vegetationMove(answer);
    if (!move) {
        scratchSet(*app, kText); // any other answer searches no layer
    } else {
        const SelectionFilter filter =
            SelectionFilter{}.add(8, move->searchLayers).add(0, QStringLiteral("LWPOLYLINE"));
        for (Entity* e : selectAll(*app, filter)) {
            std::optional<QString> code;
            attempt([&] { code = featureCode(*e); });
            if (isVegetationBoundary(code))
                attempt([&] {
                    e->setLayer(move->target);
                    e->Update();
                });
        }
    }
    prompt(*app, QStringLiteral("OK！finish。"));
}

void biaojiwushuxingdiwu_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Visible, Forward::Maximise, Forward::Activate});
    if (!app)
        return;
    SelectionSet* set = nullptr;
    attempt([&] { set = &ScratchSelectionSet(app->ActiveDocument(), kText, true); });
    attempt([&] { app->activate(app->Caption()); });
    if (set)
        attempt([&] { set->SelectOnScreen(); });
    for (Entity* e : members(set))
        attempt([&] {
            const Pt2 p = markedPoint(*e);
            AddLocatorLine(app->ActiveDocument(), p.x, p.y);
        });
}

} // namespace kelvor::cass
