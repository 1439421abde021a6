#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace kelvor {
class Context;
}

// The list of the batch insertion window (insdwg) and its five buttons,
// apart from the widgets: the window copies its list into a DrawingList,
// calls one of these and shows the result.
namespace kelvor::drafting {

struct DrawingList {
    QStringList entries;        // folder path, "\" and file name
    std::vector<bool> selected; // one per entry
    int current = -1;           // -1: none

    bool anySelected() const;
    void selectAll();
    // ▲ / ▼: the current entry's text changes places with its neighbour's
    // and the moved file stays current; the selection stays by position.
    // Nothing at the first (last) entry or without a current one.
    void moveUp();
    void moveDown();
    // 删除: removes the current entry; none is current afterwards.
    void removeCurrent();
};

// The list's tooltip for an entry: "..\" and its last 20 characters.
QString entryTip(const QString& entry);

// The drawings of a folder as the list shows them: ordinary files (no
// hidden or system ones, no folders) whose extension is the host's drawing
// extension in any letter case, in name order, each as the folder, one
// separator and the name. folder is as the picker gives it ("D:\" or "D:\data").
QStringList drawingEntries(const QString& folder);

// 选择目录: asks for a folder; on a choice empties watch.txt and fills the
// list with the folder's drawings, all selected. False when cancelled (the
// list stays as it was).
bool chooseFolder(Context& ctx, DrawingList& list);

// 合并图块: inserts each selected entry (trimmed) into model space at the
// origin, scale 1, rotation 0, exploding and deleting the reference when
// asked, then writes "OK！Finish:" and the count on the command line. The
// busy picture shows meanwhile. Any failure (no host, a file the host cannot
// insert) ends the batch silently; what was inserted stays.
void mergeDrawings(Context& ctx, const DrawingList& list, bool explode);

} // namespace kelvor::drafting
