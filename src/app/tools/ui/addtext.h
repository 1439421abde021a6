#pragma once
#include "app/tools/merge_list.h"

#include <QDialog>

class QListWidget;

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// The merge window `addtext` (caption "文本文件合并") over a MergeList.
class AddtextWindow : public QDialog {
public:
    AddtextWindow(Context& ctx, QWidget* parent = nullptr);

    MergeList& list() { return list_; }
    QListWidget* listWidget() const { return view_; }
    // Shows the list as it is now.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pullSelection();

    Context& ctx_;
    MergeList list_;
    QListWidget* view_ = nullptr;
    bool refreshing_ = false;
};

} // namespace kelvor::tools
