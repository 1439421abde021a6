#include "join_table.h"

#include "pass_over.h"

#include "cad/cad.h"
#include "platform/context.h"

namespace kelvor::sheets {

namespace {

struct Cell {
    int i, j;           // neighbour: columns east, rows north
    double dx, dy;      // offset of the text from (corner e, corner n + base)
};
// In the order the cells are written.
constexpr Cell kCells[] = {
    {-1, -1, 0.2, 1.6}, {-1, 0, 0.2, 5.6}, {-1, 1, 0.2, 9.6}, {0, -1, 7.7, 1.6},
    {0, 1, 7.7, 9.6},   {1, -1, 15.2, 1.6}, {1, 0, 15.2, 5.6}, {1, 1, 15.2, 9.6},
};

constexpr double kTableWidth = 22.5, kTableHeight = 12;

} // namespace

std::vector<JoinText> joinTableTexts(const SheetCorner& corner, double z, const JoinGeometry& g,
                                     const SheetNaming& naming)
{
    std::vector<JoinText> out;
    for (const Cell& c : kCells)
        out.push_back({naming(neighbourCorner(corner, c.i, c.j, g.northStep)),
                       {corner.e + c.dx, corner.n + (g.base + c.dy), z}});
    return out;
}

void SheetJoinTable(cad::Block& modelSpace, const std::vector<JoinText>& cells)
{
    for (const JoinText& t : cells) {
        cad::Entity* text = nullptr;
        if (!attempt([&] { text = modelSpace.AddText(t.text, t.at, 0.8); }))
            continue;
        attempt([&] { text->setLayer(QStringLiteral("tk")); });
        attempt([&] { text->setScaleFactor(0.8); });
        attempt([&] { text->Update(); });
    }
}

std::optional<cad::Point> SheetFrameBlock(cad::Document& doc, const QString& blockName)
{
    cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text"));
    set.Select(cad::SelectAll, {}, {}, cad::SelectionFilter{}.add(2, blockName));
    if (set.Count() == 0)
        return std::nullopt;
    return set.Item(0)->InsertionPoint();
}

void clearJoinTableBox(cad::Document& doc, const cad::Point& p)
{
    cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text1"), true);
    set.SelectByPolygon(cad::SelectCrossingPolygon,
                        {p.x, p.y, 0, p.x, p.y + kTableHeight, 0, p.x + kTableWidth, p.y + kTableHeight, 0,
                         p.x + kTableWidth, p.y, 0, p.x, p.y, 0},
                        cad::SelectionFilter{}.add(0, QStringLiteral("text")));
    for (cad::Entity* e : set.entities())
        attempt([&] { e->Delete(); });
}

void showMissingFrame(Context& ctx)
{
    ctx.ui().message(QStringLiteral("无法找到Actkf1的块定义,操作无法进行！"), QStringLiteral("错误"), Icon::Critical);
}

void addtujhbgongshi_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {cad::Forward::Activate}, cad::ConnectFailure::Silent);
    cad::Document* doc = nullptr;
    if (app)
        attempt([&] { doc = &app->ActiveDocument(); });
    std::optional<cad::Point> frame;
    if (doc) {
        attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 1); });
        attempt([&] { frame = SheetFrameBlock(*doc, kSingleFrameBlock); });
    }
    if (!frame) {
        showMissingFrame(ctx);
        return;
    }
    const SheetCorner corner{frame->x, frame->y - kFrameAboveCorner};
    SheetJoinTable(doc->ModelSpace(), joinTableTexts(corner, frame->z, kSheet5040));
    attempt([&] { doc->Utility().Prompt(QStringLiteral("OK！finish")); });
}

} // namespace kelvor::sheets
