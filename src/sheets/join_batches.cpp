#include "join_batches.h"

#include "folder_batch.h"
#include "join_table.h"
#include "pass_over.h"

#include "cad/cad.h"
#include "platform/context.h"

namespace kelvor::sheets {

namespace {

// What a batch does in one drawing once its frame is found: returns how the
// visit ends.
using FrameStep = std::function<VisitEnd(cad::Application& app, cad::Document& doc, const cad::Point& frame)>;

// The batch over a picked folder shared by both commands: per drawing the
// frame "actkf1" sought, the old table cleared, then the command's step.
// A drawing without the frame stops the batch.
void frameBatch(Context& ctx, const std::function<void(const QString&)>& keepFolder, const FrameStep& step)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::NotStarted);
    if (!app)
        return;
    int notSaved = 0;
    const auto turn = [&](const QString& path) {
        bool go = true;
        prepareBatchTurn(*app);
        const Visited v = visitDrawing(*app, path, [&](cad::Document& doc) {
            std::optional<cad::Point> frame;
            attempt([&] { frame = SheetFrameBlock(doc, kBatchFrameBlock); });
            if (!frame) {
                showMissingFrame(ctx);
                go = false;
                return VisitEnd::KeepOpen;
            }
            clearJoinTableBox(doc, *frame);
            return step(*app, doc, *frame);
        });
        notSaved += v == Visited::NotSaved;
        return go;
    };
    const BatchEnd end = DwgFolderListing(ctx, kFolderPrompt, turn, [&](const QString& folder) {
        activateHost(*app);
        keepFolder(folder);
    });
    if (end == BatchEnd::Done)
        batchFinished(*app, notSaved);
}

SheetCorner cornerBelow(const cad::Point& frame)
{
    return {frame.x, frame.y - kFrameAboveCorner};
}

// The first TEXT (in the order a select-all gives) reading exactly the
// sheet's standard number, through the scratch set "text3".
cad::Entity* ownNumberText(cad::Document& doc, const QString& number)
{
    cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text3"));
    attempt([&] { set.Select(cad::SelectAll, {}, {}, cad::SelectionFilter{}.add(0, QStringLiteral("text"))); });
    for (cad::Entity* e : set.entities())
        if (e->TextString() == number)
            return e;
    return nullptr;
}

} // namespace

void addtujhbgongshipl_Click(Context& ctx)
{
    frameBatch(ctx, [](const QString&) {}, [&](cad::Application& app, cad::Document& doc, const cad::Point& frame) {
        SheetJoinTable(doc.ModelSpace(), joinTableTexts(cornerBelow(frame), frame.z, kSheet5040));
        attempt([&] { app.ZoomExtents(); });
        return VisitEnd::Save;
    });
}

void cehuigongshidingyi_Click(Context& ctx)
{
    QString folder;
    frameBatch(ctx, [&](const QString& f) { folder = f; }, [&](cad::Application& app, cad::Document& doc, const cad::Point& frame) {
        const SheetCorner corner = cornerBelow(frame);
        const SheetNaming company = [](const SheetCorner& c) { return CompanySheetNumber(c); };
        SheetJoinTable(doc.ModelSpace(), joinTableTexts(corner, frame.z, kSheet5040, company));
        cad::Entity* own = ownNumberText(doc, StandardSheetNumber(corner));
        const QString number = CompanySheetNumber(corner);
        if (!own || !attempt([&] { own->setTextString(number); })) {
            ctx.ui().message(QStringLiteral("无法更改本幅图的图幅号"), QString(), Icon::Critical);
            return VisitEnd::Close;
        }
        attempt([&] { own->setScaleFactor(1.0); });
        attempt([&] { app.ZoomExtents(); });
        const QString dir = folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
        if (attempt([&] { doc.SaveAs(dir + number); }))
            return VisitEnd::Close;
        tellNotSaved(app, dir + number);
        return VisitEnd::SaveAsFailed;
    });
}

} // namespace kelvor::sheets
