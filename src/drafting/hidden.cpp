#include "hidden.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/ui.h"

#include <QFile>
#include <functional>

namespace kelvor::drafting {

using namespace cad;

namespace {

Document* attach(Context& ctx, bool activate, Application** host = nullptr)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(
        ctx, app, activate ? std::vector<Forward>{Forward::Activate} : std::vector<Forward>{}, ConnectFailure::Silent);
    if (host)
        *host = app;
    return doc;
}

} // namespace

void jlbg_fss_Click(Context& ctx)
{
    Document* doc = attach(ctx, true);
    if (!doc)
        return;
    Point p;
    try {
        p = doc->Utility().GetPoint(QStringLiteral("\r\n请输入起点："));
    } catch (const RunError&) {
        return; // no start point: no grid
    }
    const double w = 14, h = 4;
    Block& ms = doc->ModelSpace();
    for (int i = 0; i < 8; ++i) {
        Entity* row = nullptr;
        const double top = p.y - h * i;
        attempt([&] { row = ms.AddPolyline({p.x, top, p.z, p.x + w, top, 0, p.x + w, top - h, 0, p.x, top - h, 0}); });
        if (!row)
            continue;
        attempt([&] { row->setClosed(true); });
        for (int j = 0; j < 3; ++j)
            attempt([&] { row->Copy()->Move({0, 0, 0}, {w * (j + 1), 0, 0}); });
        attempt([&] { row->Update(); });
    }
    attempt([&] { doc->Utility().Prompt(QStringLiteral("\r\n程序运行结束!\r\n")); });
}

void layer_Click(Context& ctx)
{
    Document* doc = attach(ctx, false);
    auto layers = [&](const std::function<void(Table<Layer>&)>& step) {
        if (doc)
            attempt([&] { step(doc->Layers()); });
    };
    layers([](Table<Layer>& t) { t.Add(QStringLiteral("yd")); });
    ctx.ui().message(QStringLiteral("已成功创建YD层。"));
    if (doc) {
        attempt([&] { doc->setActiveLayer(QStringLiteral("yd")); });
        layers([](Table<Layer>& t) {
            Layer& l = t.Item(QStringLiteral("yd"));
            l.LayerOn = false;
            l.Freeze = true;
            l.Lock = true;
        });
        attempt([&] { doc->deleteLayer(QStringLiteral("yd")); });
    }
    ctx.ui().message(QStringLiteral("已删除YD层。"));
    QStringList names;
    layers([&](Table<Layer>& t) {
        for (const Layer& l : t.items())
            names << l.Name;
    });
    for (const QString& name : names)
        ctx.ui().message(name);
    if (doc)
        attempt([&] { doc->deleteLayer(QStringLiteral("dgx")); });
}

void objectcopy_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = attach(ctx, true, &app);
    if (!doc)
        return;
    std::vector<Entity*> picked;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.SelectOnScreen();
        picked = set.entities();
    });
    for (Entity* e : picked) {
        Entity* copy = nullptr;
        attempt([&] { copy = e->Copy(); });
        if (!copy)
            continue;
        attempt([&] { copy->Move({0, 0, 0}, {2, 0, 0}); });
        attempt([&] { copy->setColor(1); });
        attempt([&] { app->ZoomExtents(); });
    }
}

void selecterr_Click(Context& ctx)
{
    Document* doc = attach(ctx, true);
    if (!doc)
        return;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.Select(SelectAll, {}, {}, BuildFilter({0, QStringLiteral("text")}));
        for (Entity* t : set.entities())
            attempt([&] {
                t->setThickness(1212);
                if (t->Thickness() == 1212)
                    t->Delete();
            });
        set.Delete();
    });
}

void setgetvariable_Click(Context& ctx)
{
    Document* doc = attach(ctx, false);
    QVariant v;
    if (doc) {
        attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 4); });
        attempt([&] { v = doc->GetVariable(QStringLiteral("osmode")); });
    }
    ctx.ui().message(QStringLiteral("系统变量 Osmode 为:") + SignedNumberText(v.toDouble()));
}

QStringList sortedRecords(const QStringList& lines)
{
    QStringList records;
    for (const QString& line : lines)
        records << line.trimmed().left(30).leftJustified(30, QLatin1Char(' '));
    auto key = [](const QString& r) { return LeadingNumber(r.section(QLatin1Char(','), 0, 0)); };
    for (int i = 0; i + 1 < records.size(); ++i)
        for (int j = i + 1; j < records.size(); ++j)
            if (key(records[i]) < key(records[j]))
                records.swapItemsAt(i, j);
    return records;
}

void shandianpaixu_Click(Context& ctx)
{
    Q_UNUSED(ctx);
    const QString fixed = QStringLiteral("d:\\x.txt");
    QFile::remove(paths::resolve(fixed));
    QStringList lines;
    attempt([&] { lines = readTextLines(QStringLiteral("d:\\1.txt")); });
    const QStringList records = sortedRecords(lines);
    attempt([&] {
        TextWriter x(fixed);
        x.write(records.join(QString()));
        x.commit();
    });
    attempt([&] {
        TextWriter out(QStringLiteral("d:\\2.txt"));
        for (const QString& r : records)
            out.writeLine(QStringLiteral("0000 ") + r.trimmed());
        out.commit();
    });
}

} // namespace kelvor::drafting
