// The check line: map points inserted after its vertices, then its adjacent
// pairs measured.
#include "platform/paths.h"
#include "platform/text_file.h"
#include "relief/drawing_steps.h"
#include "relief/point_checks.h"

namespace kelvor::relief {
namespace {

constexpr double kMarkerRadius = 0.1; // drawing units
constexpr int kMarkerColour = 2;
constexpr double kZoomHalf = 1;       // a 2 × 2 view around the check vertex
constexpr double kLabelHeight = 0.2;

bool isLightweight(const cad::Entity* e)
{
    return e && e->dxfName() == QLatin1String("LWPOLYLINE");
}

// The check line the person picks, null when the pick fails.
cad::Entity* pickCheckLine(cad::Document& doc)
{
    cad::Entity* line = nullptr;
    cad::Point at;
    attempt([&] { line = doc.Utility().GetEntity(at, QStringLiteral("请选择检测线:")); });
    return line;
}

void deleteMarker(cad::Entity* marker)
{
    if (marker)
        attempt([&] { marker->Delete(); });
}

} // namespace

void lwpolyinsertpoint_Click(Context& ctx)
{
    cad::Application* app = nullptr;
    cad::Document* doc = cad::ConnectToDrawing(ctx, app, {cad::Forward::Activate, cad::Forward::Maximise});
    if (!doc)
        return;
    cad::Entity* line = pickCheckLine(*doc);
    std::vector<double> c;
    std::vector<cad::Vertex> before;
    if (isLightweight(line)) {
        attempt([&] { c = line->Coordinates(); });
        attempt([&] { before = line->vertices(); });
    }
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 1); });
    if (!isLightweight(line))
        return; // ends as an Esc at the pick does

    int inserted = 0;
    for (size_t i = 0; i + 1 < c.size(); i += 2) {
        const double x = c[i], y = c[i + 1];
        attempt([&] { app->ZoomWindow({x - kZoomHalf, y - kZoomHalf, 0}, {x + kZoomHalf, y + kZoomHalf, 0}); });
        cad::Entity* marker = nullptr;
        attempt([&] { marker = doc->ModelSpace().AddCircle({x, y, 0}, kMarkerRadius); });
        if (marker)
            attempt([&] { marker->setColor(kMarkerColour); });
        cad::Point pick;
        if (!attempt([&] { pick = doc->Utility().GetPoint(QStringLiteral("图面点位:")); })) {
            // an unanswered point would break the pairs: the line goes back as it was
            deleteMarker(marker);
            if (inserted > 0)
                attempt([&] { line->setVertices(before); });
            return;
        }
        const int index = int(i / 2) + 1 + inserted;
        attempt([&] { line->AddVertex(index, {pick.x, pick.y, 0}); });
        ++inserted;
        deleteMarker(marker);
    }
}

void fangfano2_Click(Context& ctx)
{
    cad::Document* doc = cad::ConnectToDrawing(ctx, {cad::Forward::Activate});
    if (!doc)
        return;
    cad::Entity* line = pickCheckLine(*doc);
    if (!isLightweight(line))
        return;
    attempt([&] { line->setColor(3); });
    const QString dump = vertexDumpPath(1);
    attempt([&] { writeVertexDump(dump, polylineVertices(*line)); });
    const std::vector<cad::Pt2> vertices = readVertexDump(dump);

    const int n = int(vertices.size());
    if (n % 2 == 1 && n != 1) {
        ctx.ui().message(QStringLiteral("两点数据不一致或目录选择错误！"), QStringLiteral("提示"), Icon::Exclamation);
        const std::vector<VertexLabel> labels = vertexLabels(n);
        for (int k = 0; k < n; ++k)
            attempt([&] {
                cad::Entity* t =
                    doc->ModelSpace().AddText(labels[k].text, {vertices[k].x, vertices[k].y, 0}, kLabelHeight);
                t->setColor(labels[k].colour);
            });
    }

    const PairReport report = pointPairReport(vertices);
    for (const cad::Pt2& p : report.locators)
        attempt([&] { cad::AddLocatorLine(*doc, p.x, p.y); });
    attempt([&] { writeTextLines(reportPath(), report.rows); });
    ctx.ui().openTextWindow(reportPath());
    removeVertexDumps();
}

} // namespace kelvor::relief
