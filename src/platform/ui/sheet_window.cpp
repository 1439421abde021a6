#include "platform/ui/sheet_window.h"

#include "platform/errors.h"
#include "platform/sheet/sheet_files.h"
#include "platform/ui.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelvor {

namespace {

QVariant typedValue(const QString& text)
{
    bool ok = false;
    const double d = text.toDouble(&ok);
    if (ok && qIsFinite(d) && sheet::exactNumberText(d) == text)
        return d;
    return text;
}

// Cells as a spreadsheet draws them: a text too long for its cell runs on
// over the empty cells to its right (and is cut at the first one that holds
// something), with no grid line under it. Each cell paints only its own
// rectangle, the part of a neighbour's text that crosses it included, so any
// repaint of any cell shows the same picture.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString own = opt.text;
        opt.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        // the text shown in this cell: its own, or one running on from the left
        QModelIndex from = index;
        QRect textRect = option.rect;
        if (own.isEmpty()) {
            from = QModelIndex();
            for (int c = index.column() - 1, n = 0; c >= 0 && n < kReach; --c, ++n) {
                const QModelIndex left = index.siblingAtColumn(c);
                if (!text(left).isEmpty()) {
                    from = left;
                    break;
                }
                textRect.translate(-columnWidth(widget, c), 0);
            }
            if (from.isValid())
                textRect.translate(-columnWidth(widget, from.column()), 0);
        }
        int textRight = option.rect.right();
        if (from.isValid() && runsOn(from)) {
            const QString t = text(from);
            const QRect drawn = textRect.adjusted(kMargin, 0, 0, 0);
            textRight = drawn.left() + opt.fontMetrics.horizontalAdvance(t);
            painter->save();
            painter->setClipRect(option.rect);
            painter->setFont(opt.font);
            painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                  : QPalette::Text));
            painter->drawText(QRect(drawn.left(), drawn.top(), std::max(drawn.width(), textRight - drawn.left() + 1),
                                    drawn.height()),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, t);
            painter->restore();
        } else if (!own.isEmpty()) {
            opt.text = own;
            QStyledItemDelegate::paint(painter, opt, index);
        }

        // the grid: no line where the text runs on into an empty cell
        const bool runsIntoNext = textRight > option.rect.right() && text(index.siblingAtColumn(index.column() + 1)).isEmpty();
        painter->save();
        painter->setPen(QColor(QRgb(style->styleHint(QStyle::SH_Table_GridLineColor, &opt, widget))));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        if (!runsIntoNext)
            painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

private:
    static constexpr int kMargin = 3; // the text's distance from the cell's left edge
    static constexpr int kReach = 30; // columns a text may run over

    static QString text(const QModelIndex& i) { return i.isValid() ? i.data(Qt::DisplayRole).toString() : QString(); }
    // Texts run on; numbers stay in their cells, right-aligned.
    static bool runsOn(const QModelIndex& i)
    {
        return !(Qt::Alignment(i.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignRight);
    }
    static int columnWidth(const QWidget* widget, int column)
    {
        const auto* view = qobject_cast<const QTableView*>(widget);
        return view ? view->columnWidth(column) : 0;
    }
};

} // namespace

SheetTableModel::SheetTableModel(sheet::SheetHost& host, QObject* parent)
    : QAbstractTableModel(parent)
    , host_(host)
{
}

int SheetTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !host_.hasWorkbook() ? 0 : sheet::MaxRows;
}

int SheetTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !host_.hasWorkbook() ? 0 : sheet::MaxColumns;
}

QVariant SheetTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !host_.hasWorkbook())
        return QVariant();
    const QVariant v = host_.workbook()->activeSheet().cell(index.row() + 1, index.column() + 1);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return sheet::cellText(v);
    case Qt::TextAlignmentRole:
        // Numbers to the right, texts to the left, as spreadsheets show them.
        return v.typeId() == QMetaType::Double ? int(Qt::AlignRight | Qt::AlignVCenter)
                                               : int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

bool SheetTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !host_.hasWorkbook())
        return false;
    host_.workbook()->activeSheet().setCell(index.row() + 1, index.column() + 1, typedValue(value.toString()));
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags SheetTableModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant SheetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    return orientation == Qt::Horizontal ? sheet::columnLetters(section + 1) : QString::number(section + 1);
}

void SheetTableModel::reset()
{
    beginResetModel();
    endResetModel();
}

void SheetTableModel::cellsChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

SheetWindow::SheetWindow(sheet::SheetHost& host, Ui& ui, QWidget* parent)
    : QMainWindow(parent)
    , host_(host)
    , ui_(ui)
    , model_(new SheetTableModel(host, this))
{
    setObjectName(QStringLiteral("SheetWindow"));
    resize(900, 600);

    auto* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    auto* tools = addToolBar(QStringLiteral("文件"));
    tools->setObjectName(QStringLiteral("fileBar"));
    auto action = [&](const char* name, const QString& text, QKeySequence::StandardKey key, void (SheetWindow::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        file->addAction(a);
        tools->addAction(a);
    };
    action("newBook", QStringLiteral("新建"), QKeySequence::New, &SheetWindow::newWorkbook);
    action("openBook", QStringLiteral("打开..."), QKeySequence::Open, &SheetWindow::openWorkbook);
    action("saveBook", QStringLiteral("保存"), QKeySequence::Save, &SheetWindow::save);
    action("saveBookAs", QStringLiteral("另存为..."), QKeySequence::SaveAs, &SheetWindow::saveAs);

    address_ = new QLineEdit;
    address_->setObjectName(QStringLiteral("address"));
    address_->setMaximumWidth(120);
    address_->setToolTip(QStringLiteral("活动单元格"));
    connect(address_, &QLineEdit::returnPressed, this, &SheetWindow::goToAddress);

    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("cells"));
    table_->setModel(model_);
    table_->setItemDelegate(new CellDelegate(table_));
    table_->setShowGrid(false); // the cells draw it, leaving it out under a text that runs on
    table_->verticalHeader()->setDefaultSectionSize(22);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setDefaultSectionSize(80);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { cellChosen(current); });

    tabs_ = new QTabBar;
    tabs_->setObjectName(QStringLiteral("sheets"));
    tabs_->setShape(QTabBar::RoundedSouth);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int i) {
        if (refreshing_ || !host_.hasWorkbook())
            return;
        host_.workbook()->setActiveIndex(i);
        refresh();
    });

    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(address_);
    column->addWidget(table_, 1);
    column->addWidget(tabs_);

    empty_ = new QLabel(QStringLiteral("没有打开的工作簿"));
    empty_->setObjectName(QStringLiteral("noWorkbook"));
    empty_->setAlignment(Qt::AlignCenter);

    stack_ = new QStackedWidget;
    stack_->addWidget(empty_);
    stack_->addWidget(page);
    setCentralWidget(stack_);

    host_.changed = [this] {
        if (!refreshing_)
            refresh();
    };
    refresh();
}

SheetWindow::~SheetWindow()
{
    host_.changed = nullptr;
}

void SheetWindow::refresh()
{
    refreshing_ = true;
    const sheet::Workbook* book = host_.workbook();
    stack_->setCurrentIndex(book ? 1 : 0);
    QString title = QStringLiteral("工作表");
    if (book) {
        const bool sameTabs = tabs_->count() == book->sheets().size();
        if (!sameTabs) {
            while (tabs_->count())
                tabs_->removeTab(0);
            for (const sheet::Sheet& s : book->sheets())
                tabs_->addTab(s.name());
        }
        for (qsizetype i = 0; i < book->sheets().size(); ++i)
            tabs_->setTabText(int(i), book->sheets()[i].name());
        const bool sheetChanged = tabs_->currentIndex() != book->activeIndex() || model_->rowCount() == 0;
        tabs_->setCurrentIndex(book->activeIndex());
        if (sheetChanged || !sameTabs)
            model_->reset();
        else
            model_->cellsChanged();
        showActiveCell();
        title = (book->path.isEmpty() ? QStringLiteral("新工作簿") : QFileInfo(book->path).fileName()) +
                QStringLiteral(" - ") + title;
    } else {
        model_->reset();
    }
    setWindowTitle(title);
    if (host_.visible() != isVisible())
        setVisible(host_.visible());
    refreshing_ = false;
}

void SheetWindow::showActiveCell()
{
    const sheet::Sheet& s = host_.workbook()->activeSheet();
    address_->setText(sheet::cellAddress(s.activeRow(), s.activeColumn()));
    const QModelIndex at = model_->index(s.activeRow() - 1, s.activeColumn() - 1);
    if (table_->currentIndex() != at) {
        table_->setCurrentIndex(at);
        table_->scrollTo(at);
    }
}

void SheetWindow::cellChosen(const QModelIndex& index)
{
    if (refreshing_ || !index.isValid() || !host_.hasWorkbook())
        return;
    host_.workbook()->activeSheet().setActiveCell(index.row() + 1, index.column() + 1);
    address_->setText(sheet::cellAddress(index.row() + 1, index.column() + 1));
}

void SheetWindow::goToAddress()
{
    int row = 0;
    int column = 0;
    if (!host_.hasWorkbook() || !sheet::parseCellAddress(address_->text().trimmed(), &row, &column)) {
        ui_.beep();
        return;
    }
    host_.setActiveCell(row, column);
}

void SheetWindow::report(const QString& action, const std::function<void()>& step)
{
    try {
        step();
    } catch (const RunError& e) {
        ui_.message(action + QStringLiteral("失败：") + errorText(e), QStringLiteral("工作表"), Icon::Critical);
    }
}

void showSheetWindows(sheet::SheetHosts& hosts, Ui& ui)
{
    hosts.started = [&hosts, &ui](sheet::SheetHost& host) {
        auto* w = new SheetWindow(host, ui);
        w->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(w, &QObject::destroyed, [&hosts] { hosts.end(); });
    };
}

void SheetWindow::newWorkbook()
{
    host_.newWorkbook();
}

void SheetWindow::openWorkbook()
{
    FileDialogRequest r;
    r.title = QStringLiteral("打开工作簿");
    r.filter = QStringLiteral("工作簿(*.xlsx;*.csv)|*.xlsx;*.csv|所有文件(*.*)|*.*");
    const QString path = ui_.openFile(r);
    if (path.isEmpty())
        return;
    report(QStringLiteral("打开"), [&] { host_.open(path); });
}

void SheetWindow::save()
{
    report(QStringLiteral("保存"), [&] { host_.save(ui_); });
}

void SheetWindow::saveAs()
{
    report(QStringLiteral("保存"), [&] { host_.saveAs(ui_); });
}

} // namespace kelvor
