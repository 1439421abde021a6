#include "batch_insert.h"

#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/ui.h"

#include <QDir>
#include <algorithm>

namespace kelvor::drafting {

using namespace cad;

bool DrawingList::anySelected() const
{
    return std::find(selected.begin(), selected.end(), true) != selected.end();
}

void DrawingList::selectAll()
{
    selected.assign(entries.size(), true);
}

void DrawingList::moveUp()
{
    if (current <= 0 || current >= entries.size())
        return;
    entries.swapItemsAt(current, current - 1);
    --current;
}

void DrawingList::moveDown()
{
    if (current < 0 || current + 1 >= entries.size())
        return;
    entries.swapItemsAt(current, current + 1);
    ++current;
}

void DrawingList::removeCurrent()
{
    if (current < 0 || current >= entries.size())
        return;
    entries.removeAt(current);
    selected.erase(selected.begin() + current);
    current = -1;
}

QString entryTip(const QString& entry)
{
    return QStringLiteral("..\\") + entry.right(20);
}

QStringList drawingEntries(const QString& folder)
{
    QString prefix = folder;
    if (!prefix.endsWith(QLatin1Char('\\')))
        prefix += QLatin1Char('\\');
    QStringList out;
    const QDir dir(paths::resolve(prefix));
    // QDir leaves hidden and system files out unless asked for them
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && name.mid(dot).compare(kDrawingExtension, Qt::CaseInsensitive) == 0)
            out << prefix + name;
    }
    return out;
}

bool chooseFolder(Context& ctx, DrawingList& list)
{
    const QString folder = getpath(ctx, QStringLiteral("请选择要操作的目录")).trimmed();
    if (folder.isEmpty())
        return false;
    list = DrawingList{};
    try {
        TextWriter watch(paths::scratch(QStringLiteral("watch.txt")));
        watch.commit();
    } catch (const RunError&) {
        return true; // the list stays empty, as the failure ends the button
    }
    list.entries = drawingEntries(folder);
    list.selectAll();
    return true;
}

void mergeDrawings(Context& ctx, const DrawingList& list, bool explode)
{
    Application* app = nullptr;
    try {
        app = &attachCad(ctx);
        app->activate(app->Caption());
    } catch (const RunError&) {
        return;
    }
    int count = 0;
    ctx.ui().processEvents();
    ctx.ui().setBusy(true);
    try {
        Document& doc = app->ActiveDocument();
        for (qsizetype i = 0; i < list.entries.size(); ++i) {
            if (i >= qsizetype(list.selected.size()) || !list.selected[i])
                continue;
            ++count;
            Entity* ref = doc.ModelSpace().InsertBlock({0, 0, 0}, list.entries[i].trimmed(), 1, 1, 1, 0);
            if (explode) {
                ref->Explode();
                ref->Delete();
            }
        }
        doc.Utility().Prompt(QStringLiteral("OK！Finish:") + QString::number(count));
    } catch (const RunError&) {
        // the batch ends here; what was inserted stays
    }
    ctx.ui().setBusy(false);
}

} // namespace kelvor::drafting
