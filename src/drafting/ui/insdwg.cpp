#include "drafting/ui/insdwg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kelvor::drafting {

Insdwg::Insdwg(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("insdwg"));
    setWindowTitle(QStringLiteral("批量插入文件"));

    list1_ = new QListWidget;
    list1_->setObjectName(QStringLiteral("List1"));
    // a click adds or takes away one entry, as the form's simple multi-select list does
    list1_->setSelectionMode(QAbstractItemView::MultiSelection);
    connect(list1_, &QListWidget::currentRowChanged, this, &Insdwg::List1_Click);
    connect(list1_, &QListWidget::itemClicked, this, &Insdwg::List1_Click);

    const QString captions[5] = {QStringLiteral("选择目录"), QStringLiteral("合并图块"), QStringLiteral("▲"),
                                 QStringLiteral("▼"), QStringLiteral("删除")};
    for (int i = 0; i < 5; ++i) {
        command1_[i] = new QPushButton(captions[i]);
        command1_[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        command1_[i]->setAutoDefault(false);
        connect(command1_[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    command1_[2]->setToolTip(QStringLiteral("上移"));
    command1_[3]->setToolTip(QStringLiteral("下移"));
    auto* command2 = new QPushButton(QStringLiteral("全选"));
    command2->setObjectName(QStringLiteral("Command2"));
    command2->setAutoDefault(false);
    connect(command2, &QPushButton::clicked, this, &Insdwg::Command2_Click);
    check1_ = new QCheckBox(QStringLiteral("解块(Explode)"));
    check1_->setObjectName(QStringLiteral("Check1"));

    auto* arrows = new QVBoxLayout;
    arrows->addWidget(command1_[2]);
    arrows->addWidget(command1_[3]);
    arrows->addWidget(command1_[4]);
    arrows->addWidget(command2);
    arrows->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(list1_, 1);
    top->addLayout(arrows);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(command1_[0]);
    bottom->addWidget(check1_);
    bottom->addStretch(1);
    bottom->addWidget(command1_[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

DrawingList Insdwg::list() const
{
    DrawingList l;
    for (int i = 0; i < list1_->count(); ++i) {
        l.entries << list1_->item(i)->text();
        l.selected.push_back(list1_->item(i)->isSelected());
    }
    l.current = list1_->currentRow();
    return l;
}

void Insdwg::showList(const DrawingList& l)
{
    {
        const QSignalBlocker quiet(list1_);
        list1_->clear();
        list1_->addItems(l.entries);
        for (int i = 0; i < list1_->count(); ++i)
            list1_->item(i)->setSelected(i < int(l.selected.size()) && l.selected[i]);
        list1_->setCurrentRow(l.current, QItemSelectionModel::NoUpdate);
    }
    List1_Click();
}

void Insdwg::Command1_Click(int index)
{
    DrawingList l = list();
    if (index == 0) {
        if (chooseFolder(ctx_, l))
            showList(l);
        return;
    }
    if (!l.anySelected())
        return;
    switch (index) {
    case 1:
        mergeDrawings(ctx_, l, check1_->isChecked());
        return;
    case 2:
        l.moveUp();
        break;
    case 3:
        l.moveDown();
        break;
    default:
        l.removeCurrent();
        break;
    }
    showList(l);
}

void Insdwg::Command2_Click()
{
    DrawingList l = list();
    l.selectAll();
    showList(l);
}

void Insdwg::List1_Click()
{
    if (QListWidgetItem* item = list1_->currentItem())
        list1_->setToolTip(entryTip(item->text()));
}

} // namespace kelvor::drafting
