#include "merge_list.h"

#include "routines/routines.h"
#include "app/tools/text_tools.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::tools {

QStringList MergeList::paths() const
{
    QStringList l;
    for (const Entry& e : entries_)
        l.append(e.path);
    return l;
}

void MergeList::setCurrent(int row)
{
    current_ = row >= 0 && row < entries_.size() ? row : -1;
}

void MergeList::setSelected(int row, bool on)
{
    if (row >= 0 && row < entries_.size())
        entries_[row].selected = on;
}

bool MergeList::anySelected() const
{
    for (const Entry& e : entries_) {
        if (e.selected)
            return true;
    }
    return false;
}

void MergeList::setEntries(const QStringList& list, bool selected)
{
    entries_.clear();
    for (const QString& p : list)
        entries_.append({p, selected});
    current_ = entries_.isEmpty() ? -1 : 0;
}

void MergeList::Command1_Click(Context& ctx, int index)
{
    if (index == 0) {
        chooseFolder(ctx);
        return;
    }
    if (!anySelected())
        return;
    switch (index) {
    case 1:
        join(ctx);
        break;
    case 2:
        moveUp();
        break;
    case 3:
        moveDown();
        break;
    case 4:
        removeCurrent();
        break;
    default:
        break;
    }
}

void MergeList::Command2_Click()
{
    for (Entry& e : entries_)
        e.selected = true;
}

void MergeList::List1_KeyDown()
{
    removeCurrent();
}

void MergeList::chooseFolder(Context& ctx)
{
    QString folder = cad::getpath(ctx, QStringLiteral("请选择要操作的目录"));
    if (TrimBlanks(folder).isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('\\');
    QStringList found;
    try {
        for (const QString& name : folderFiles(folder))
            found.append(folder + name);
    } catch (const RunError&) {
        // an unreadable folder lists nothing
    }
    setEntries(found, true);
}

void MergeList::join(Context& ctx)
{
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    TextWriter out(watch);
    for (const Entry& e : entries_) {
        if (!e.selected)
            continue;
        try {
            const QStringList lines = readTextLines(e.path);
            if (lines.isEmpty()) {
                ctx.ui().message(e.path + QStringLiteral("文件为空！"), QStringLiteral("提示"), Icon::Exclamation);
                continue;
            }
            for (const QString& line : lines)
                out.writeLine(line);
        } catch (const RunError& err) {
            ctx.ui().message(QStringLiteral("错误号:") + SignedNumberText(err.number()), QString(), Icon::Critical);
        }
    }
    try {
        out.commit();
    } catch (const RunError& err) {
        ctx.ui().message(QStringLiteral("错误号:") + SignedNumberText(err.number()), QString(), Icon::Critical);
        return;
    }
    ctx.ui().openTextWindow(watch);
}

void MergeList::moveUp()
{
    if (current_ <= 0 || current_ >= entries_.size())
        return;
    entries_.swapItemsAt(current_, current_ - 1);
    --current_;
}

void MergeList::moveDown()
{
    if (current_ < 0 || current_ >= entries_.size() - 1)
        return;
    entries_.swapItemsAt(current_, current_ + 1);
    ++current_;
}

void MergeList::removeCurrent()
{
    if (current_ < 0 || current_ >= entries_.size())
        return;
    entries_.removeAt(current_);
    // The focus stays at the same place in the list.
    if (current_ >= entries_.size())
        current_ = int(entries_.size()) - 1;
}

void MergeList::filterByExtension(Context& ctx)
{
    const QString answer = ctx.ui().input(QStringLiteral("请输入扩展名，以便过滤！")).toUpper();
    const qsizetype n = answer.size();
    const QString wanted = TrimBlanks(answer);
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    QStringList kept;
    try {
        TextWriter out(watch);
        for (const Entry& e : entries_) {
            if (TrimBlanks(e.path).right(n).toUpper() == wanted)
                out.writeLine(e.path);
        }
        out.commit();
        kept = readTextLines(watch);
    } catch (const RunError& err) {
        ctx.ui().message(QStringLiteral("错误:") + SignedNumberText(err.number()), QString(), Icon::None,
                         Buttons::OK);
        return;
    }
    setEntries(kept, false);
}

} // namespace kelvor::tools
