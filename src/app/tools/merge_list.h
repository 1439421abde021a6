#pragma once
#include <QList>
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// The list of the merge window `addtext`: full paths in the order the user
// sets, each selected or not, and one current entry (-1 when none). The
// selection decides what is joined; the current entry what is moved or
// removed.
class MergeList {
public:
    struct Entry {
        QString path;
        bool selected = false;
    };

    const QList<Entry>& entries() const { return entries_; }
    QStringList paths() const;
    int current() const { return current_; }
    void setCurrent(int row);
    void setSelected(int row, bool on);
    bool anySelected() const;

    // Command1(index): 0 选择目录, 1 文件合并, 2 ▲, 3 ▼, 4 删除. 1 to 4 do
    // nothing while no entry is selected.
    void Command1_Click(Context& ctx, int index);
    // 全选.
    void Command2_Click();
    // Any key in the list removes the current entry.
    void List1_KeyDown();
    // Right button on the list: keep the entries that end with an extension.
    void filterByExtension(Context& ctx);

    void chooseFolder(Context& ctx);
    void join(Context& ctx);
    void moveUp();
    void moveDown();
    void removeCurrent();

    void setEntries(const QStringList& paths, bool selected);

private:
    QList<Entry> entries_;
    int current_ = -1;
};

} // namespace kelvor::tools
