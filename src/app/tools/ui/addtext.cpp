#include "addtext.h"

#include "platform/context.h"

#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace kelvor::tools {

AddtextWindow::AddtextWindow(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("addtext"));
    setWindowTitle(QStringLiteral("文本文件合并"));
    setFixedSize(520, 360);

    view_ = new QListWidget(this);
    view_->setObjectName(QStringLiteral("List1"));
    view_->setGeometry(8, 8, 400, 344);
    // Each click selects or deselects one entry by itself.
    view_->setSelectionMode(QAbstractItemView::MultiSelection);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);

    const char* captions[] = {"选择目录", "文件合并", "", "", "删除"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[i]), this);
        b->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        b->setGeometry(420, 8 + 40 * i, 92, 30);
        connect(b, &QPushButton::clicked, this, [this, i] {
            list_.Command1_Click(ctx_, i);
            refresh();
        });
        // Form_Load sets the arrows.
        if (i == 2) {
            b->setText(QStringLiteral("▲"));
            b->setToolTip(QStringLiteral("上移"));
        } else if (i == 3) {
            b->setText(QStringLiteral("▼"));
            b->setToolTip(QStringLiteral("下移"));
        }
    }
    auto* all = new QPushButton(QStringLiteral("全选"), this);
    all->setObjectName(QStringLiteral("Command2"));
    all->setGeometry(420, 220, 92, 30);
    connect(all, &QPushButton::clicked, this, [this] {
        list_.Command2_Click();
        refresh();
    });

    connect(view_, &QListWidget::itemSelectionChanged, this, [this] { pullSelection(); });
    connect(view_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!refreshing_)
            list_.setCurrent(row);
    });
}

void AddtextWindow::pullSelection()
{
    if (refreshing_)
        return;
    for (int i = 0; i < view_->count(); ++i)
        list_.setSelected(i, view_->item(i)->isSelected());
}

void AddtextWindow::refresh()
{
    refreshing_ = true;
    view_->clear();
    for (const auto& e : list_.entries()) {
        auto* item = new QListWidgetItem(e.path, view_);
        item->setSelected(e.selected);
    }
    if (list_.current() >= 0)
        view_->setCurrentRow(list_.current(), QItemSelectionModel::NoUpdate);
    refreshing_ = false;
}

bool AddtextWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        list_.List1_KeyDown();
        refresh();
        return true;
    }
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        list_.filterByExtension(ctx_);
        refresh();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelvor::tools
