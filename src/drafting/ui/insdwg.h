#pragma once
#include "drafting/batch_insert.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace kelvor {
class Context;
}

namespace kelvor::drafting {

// 批量插入文件: the folder's drawings in List1 (several selected at once,
// one current), the buttons Command1(0)..(4) 选择目录, 合并图块, ▲, ▼, 删除,
// Command2 全选 and Check1 解块(Explode). The list is empty at every opening.
class Insdwg : public QDialog {
    Q_OBJECT
public:
    explicit Insdwg(Context& ctx, QWidget* parent = nullptr);

    void Command1_Click(int index);
    void Command2_Click();
    void List1_Click();

    DrawingList list() const;
    void showList(const DrawingList& list);

private:
    Context& ctx_;
    QListWidget* list1_ = nullptr;
    QPushButton* command1_[5] = {};
    QCheckBox* check1_ = nullptr;
};

} // namespace kelvor::drafting
