#include "control_points.h"

#include "steps.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/ui.h"

namespace kelvor::cass {

using namespace cad;

namespace {

// A fresh set of that name filled by a crossing window with a filter.
std::vector<Entity*> crossing(Document& doc, const QString& name, const Point& a, const Point& b,
                              const SelectionFilter& filter = {})
{
    std::vector<Entity*> out;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, name);
        set.Select(SelectCrossing, a, b, filter);
        out = set.entities();
    });
    return out;
}

void deleteSet(Document& doc, const QString& name)
{
    attempt([&] {
        if (SelectionSet* set = doc.SelectionSets().find(name))
            set->Delete();
    });
}

// The name written at the end of the last annotation line from the symbol.
QString annotationName(Document& doc, const Point& at)
{
    QString name;
    const SelectionFilter lines = SelectionFilter{}.add(0, QStringLiteral("line"));
    const SelectionFilter texts = SelectionFilter{}.add(0, QStringLiteral("text"));
    for (Entity* line : crossing(doc, QStringLiteral("obj"), {at.x - 5, at.y - 5, at.z}, {at.x + 5, at.y + 5, at.z},
                                 lines)) {
        Point end;
        try {
            end = line->EndPoint();
        } catch (const RunError&) {
            continue;
        }
        for (Entity* t : crossing(doc, QStringLiteral("li"), end, {end.x + 6, end.y + 4, end.z}, texts))
            attempt([&] { name = t->TextString(); });
    }
    return name;
}

} // namespace

QString controlPointLine(const QString& name, double x, double y, double z)
{
    const QString f = QStringLiteral("0.000");
    return PadRight(name, 10) + QStringLiteral("   ") + PadRight(FormatPattern(y, f), 10) + QStringLiteral("   ")
        + PadRight(FormatPattern(x, f), 10) + QStringLiteral("    ") + FormatPattern(z, f);
}

void tumiankongzidiancg_Click(Context& ctx)
{
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    TextWriter out(watch);
    // Without a host the list stays empty and is shown all the same.
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app, {Forward::Activate}, ConnectFailure::Silent);
    if (app) {
        std::vector<Entity*> blocks;
        if (doc)
            attempt([&] {
                SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"));
                set.Select(SelectAll, {}, {}, SelectionFilter{}.add(2, QStringLiteral("gc115,gc116,gc117")));
                blocks = set.entities();
            });
        for (Entity* block : blocks) {
            ctx.ui().processEvents();
            const Point at = [&] {
                Point p;
                attempt([&] { p = block->InsertionPoint(); });
                return p;
            }();
            attempt([&] { app->ZoomWindow({at.x - 5, at.y - 5, at.z}, {at.x + 5, at.y + 5, at.z}); });
            out.writeLine(controlPointLine(annotationName(*doc, at), at.x, at.y, at.z));
        }
        if (doc)
            for (const char* name : {"text", "li", "obj"})
                deleteSet(*doc, QString::fromLatin1(name));
    }
    if (app)
        writeOrTell(*app, paths::windir() + QStringLiteral("\\watch.txt"), [&] { out.commit(); });
    else
        attempt([&] { out.commit(); });
    ctx.ui().openTextWindow(watch);
}

void tuxingfuhaoyiwei_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app, {Forward::Visible, Forward::Activate}, ConnectFailure::Silent);
    if (!doc)
        return;
    std::vector<Entity*> symbols;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.SelectOnScreen(SelectionFilter{}.add(2, QStringLiteral("gc121")));
        symbols = set.entities();
    });
    for (Entity* symbol : symbols) {
        Point lo, hi;
        bool boxed = false;
        attempt([&] {
            symbol->GetBoundingBox(lo, hi);
            boxed = true;
        });
        if (!boxed)
            continue;
        // the extent and its crossing set are taken before the symbol moves
        const std::vector<Entity*> across = crossing(*doc, QStringLiteral("line"), lo, hi);
        for (Entity* member : across) {
            if (across.size() > 1)
                attempt([&] { symbol->Move(lo, {lo.x, lo.y + 0.5, lo.z}); });
            attempt([&] { member->Update(); });
        }
    }
    prompt(*app, QStringLiteral("程序运行结束"));
}

} // namespace kelvor::cass
