// Two lines compared vertex by vertex into watch.txt.
#include "cad/kit/routines.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "relief/drawing_steps.h"
#include "relief/point_checks.h"
#include "routines/routines.h"

#include <algorithm>

namespace kelvor::relief {
namespace {

const QString kNoteTag = QStringLiteral("点号");

const QChar kCr(13); // message lines are joined by a lone carriage return

struct NoteStyle {
    double height;
    int colour;
};

// The running vertex numbers beside the vertices of a dump, tagged so that
// the next run erases them (and nothing else).
void addNotes(cad::Application* app, const std::vector<cad::Pt2>& vertices, NoteStyle style)
{
    cad::Document* doc = app ? cad::activeDocument(*app) : nullptr;
    if (!doc)
        return;
    int t = 0;
    for (const cad::Pt2& v : vertices)
        attempt([&] {
            cad::Entity* note = doc->ModelSpace().AddText(SignedNumberText(++t), {v.x, v.y, 0}, style.height);
            note->setColor(style.colour);
            // Marked as our own so that a later run erases only these; the record
            // needs an item, as an application's name alone removes its data.
            note->SetXData({cad::xstr(1001, cad::kOwnApplication), cad::xstr(1000, kNoteTag)});
        });
}

void eraseOwnNotes(cad::Application& app)
{
    const auto notes = selectAll(
        app, cad::SelectionFilter().add(0, QStringLiteral("text")).add(1001, cad::kOwnApplication));
    for (cad::Entity* e : notes)
        attempt([&] { e->Erase(); });
    attempt([&] { app.ActiveDocument().SelectionSets().Item(QStringLiteral("text")).Delete(); });
}

// Colours and dumps the first two of the entities the person picks.
void pickAndDump(cad::Application& app)
{
    cad::SelectionSet* set = scratchSet(app, QStringLiteral("Text"));
    attempt([&] { app.activate(app.Caption()); });
    prompt(app, QStringLiteral("请选择两根线段："));
    if (set)
        attempt([&] { set->SelectOnScreen(); });
    const std::vector<cad::Entity*> picked = members(set);
    const int colours[] = {3, 1};
    for (size_t m = 0; m < std::min<size_t>(2, picked.size()); ++m) {
        attempt([&] { picked[m]->setColor(colours[m]); });
        attempt([&] { writeVertexDump(vertexDumpPath(int(m) + 1), polylineVertices(*picked[m])); });
    }
    if (set)
        attempt([&] { set->Delete(); });
}

QString selectionError()
{
    return QStringLiteral("错误：目标选择错误！") + kCr + QStringLiteral("如果选择正确,图形中两个实体将会变成红和青色。") + kCr
        + QStringLiteral("或者没有启动Cad系统。");
}

QString countWarning(int n1, int n2)
{
    return QStringLiteral("两条线的点数不一致,分别为") + SignedNumberText(n1) + QStringLiteral("个折点和")
        + SignedNumberText(n2) + QStringLiteral("个折点.") + kCr
        + QStringLiteral("请检查图形中是否有其它为Pline线的实体存在！") + kCr
        + QStringLiteral("这样引致的后果是后面的数据将会是错误的！") + kCr
        + QStringLiteral("数据的生成将以第一条线的点数为准。") + kCr
        + QStringLiteral("是否在Pline上注记点号之便核查各对应点？");
}

} // namespace

void dadianshujijianche_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Silent);
    // an old dump never stands in for a line this run did not pick
    for (int line : {1, 2})
        attempt([&] { writeVertexDump(vertexDumpPath(line), {}); });
    if (app) {
        eraseOwnNotes(*app);
        pickAndDump(*app);
    }

    const std::vector<cad::Pt2> line1 = readVertexDump(vertexDumpPath(1));
    const std::vector<cad::Pt2> line2 = readVertexDump(vertexDumpPath(2));
    // an empty dump counts as one vertex
    const int n1 = std::max(1, int(line1.size()));
    const int n2 = std::max(1, int(line2.size()));
    if (n1 == 1 || n2 == 1) {
        ctx.ui().message(selectionError(), n1 == 1 ? QStringLiteral("错误") : QStringLiteral("警告"), Icon::Critical);
        return;
    }
    if (n1 != n2) {
        const Answer a = ctx.ui().message(countWarning(n1, n2), QStringLiteral("警告"), Icon::Critical, Buttons::YesNoCancel);
        ctx.ui().processEvents();
        if (a == Answer::Cancel)
            return;
        if (a == Answer::Yes) {
            addNotes(app, line1, {0.2, 3});
            addNotes(app, line2, {0.3, 1});
        }
    }

    QStringList report{lineComparisonHeader()};
    report << lineComparisonRows(line1, line2);
    attempt([&] { writeTextLines(reportPath(), report); });
    ctx.ui().processEvents();

    if (n1 == n2
        && ctx.ui().message(QStringLiteral("是否在Pline上注记点号之便核查各对应点？"), QStringLiteral("提示"),
                            Icon::Exclamation, Buttons::YesNo)
            == Answer::Yes) {
        addNotes(app, line1, {0.5, 3});
        addNotes(app, line2, {0.5, 1});
    }
    if (ctx.ui().message(QStringLiteral("是否查看生成的文件？？"), QStringLiteral("调试过程中的说明"), Icon::Exclamation,
                         Buttons::YesNo, 2)
        == Answer::Yes)
        ctx.ui().openTextWindow(reportPath());
    removeVertexDumps();
}

} // namespace kelvor::relief
