#include "unreferenced.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/ui.h"

#include <functional>

namespace kelvor::drafting {

using namespace cad;

namespace {

// Runs a routine that stops at its first failing call, silently.
void untilFirstFailure(Context& ctx, const std::function<void(Application&, Document&)>& routine)
{
    try {
        Application& app = attachCad(ctx);
        routine(app, app.ActiveDocument());
    } catch (const RunError&) {
    }
}

// A routine that passes over failing calls: null when there is nothing to work on.
Document* attachPassingOver(Context& ctx)
{
    Application* app = nullptr;
    attempt([&] { app = &attachCad(ctx); });
    return app ? activeDocument(*app) : nullptr;
}

void eraseMatching(Context& ctx, const QVariantList& filter)
{
    untilFirstFailure(ctx, [&](Application& app, Document& doc) {
        // Add, not a scratch set: a set of that name left behind stops the routine
        SelectionSet& set = doc.SelectionSets().Add(QStringLiteral("t1dddst"));
        app.activate(app.Caption());
        set.Select(SelectAll, {}, {}, BuildFilter(filter));
        app.activate(app.Caption());
        for (Entity* e : set.entities())
            e->Erase();
        set.Delete();
    });
}

void showEach(Context& ctx, const std::function<QString(const Entity&)>& text, const QString& title)
{
    Document* doc = attachPassingOver(ctx);
    if (!doc)
        return;
    std::vector<Entity*> all;
    attempt([&] { all = doc->ModelSpace().entities(); });
    for (Entity* e : all) {
        attempt([&] { e->Highlight(true); });
        QString shown;
        attempt([&] { shown = text(*e); });
        ctx.ui().message(shown, title, Icon::Information);
        attempt([&] { e->Highlight(false); });
    }
}

} // namespace

void EraseColourOneEntities(Context& ctx)
{
    eraseMatching(ctx, {62, QStringLiteral("1")});
}

void EraseRedGcdTexts(Context& ctx)
{
    eraseMatching(ctx, {0, QStringLiteral("TEXT"), 8, QStringLiteral("GCD"), 62, QStringLiteral("1")});
}

void HighlightPickedInRed(Context& ctx)
{
    untilFirstFailure(ctx, [](Application& app, Document& doc) {
        SelectionSet& set = doc.SelectionSets().Add(QStringLiteral("text"));
        app.activate(app.Caption());
        set.SelectOnScreen();
        for (Entity* e : set.entities()) {
            e->Highlight(true);
            e->setColor(1);
        }
        set.Delete();
    });
}

void RecolourDefaultValueEight(Context& ctx)
{
    untilFirstFailure(ctx, [](Application& app, Document& doc) {
        Block& ms = doc.ModelSpace();
        for (int i = 0; i < ms.Count(); ++i) {
            Entity* e = ms.Item(i);
            // An entity's default value in the automation model is its type
            // number; 8 is a circle.
            if (e->EntityType() == 8) {
                e->setColor(1);
                e->Update();
            }
        }
        app.activate(app.Caption());
    });
}

void InsertCircleBlock(Context& ctx)
{
    untilFirstFailure(ctx, [](Application&, Document& doc) {
        Block& cir = doc.BlocksAdd({0, 0, 0}, QStringLiteral("CIR"));
        cir.AddCircle({0, 0, 0}, 3);
        cir.AddPoint({0, 0, 0});
        doc.ModelSpace().InsertBlock({0, 0, 0}, QStringLiteral("cir"), 20, 20, 20, 0);
    });
}

void ShowObjectNames(Context& ctx)
{
    showEach(ctx, [](const Entity& e) { return QStringLiteral("这个实体的名字为: ") + e.ObjectName(); },
             QStringLiteral("ObjectName Example"));
}

void ShowHandles(Context& ctx)
{
    showEach(ctx, [](const Entity& e) { return QStringLiteral("The handle of this object is ") + e.Handle(); },
             QStringLiteral("Handle Example"));
}

void ShowOsmodeSetPickbox(Context& ctx)
{
    Document* doc = attachPassingOver(ctx);
    QString value;
    if (doc)
        attempt([&] { value = NumberText(doc->GetVariable(QStringLiteral("osmode")).toDouble()); });
    ctx.ui().message(QStringLiteral("系统变量为:") + value);
    if (doc)
        attempt([&] { doc->SetVariable(QStringLiteral("pickbox"), 1); });
}

void EnlargeCircles(Context& ctx)
{
    Document* doc = attachPassingOver(ctx);
    if (!doc)
        return;
    Block& ms = doc->ModelSpace();
    for (int i = 0; i < ms.Count(); ++i) {
        Entity* e = nullptr;
        attempt([&] { e = ms.Item(i); });
        if (!e || e->EntityType() != 8)
            continue;
        Point c;
        double r = 0;
        attempt([&] { c = e->Center(); });
        attempt([&] { r = e->Radius(); });
        attempt([&] { e->setCenter({c.x, c.y, c.z + 50}); });
        attempt([&] { e->setRadius(2 * r); });
        // the host redraws what changed; the entity's own redraw stands for model space's
        attempt([&] { e->Update(); });
    }
}

} // namespace kelvor::drafting
