#include "sheet_widget.h"

#include "traverse/known_points.h"
#include "traverse/list_output.h"
#include "traverse/sheet.h"
#include "traverse/sheet_rules.h"
#include "traverse/temp_file.h"

#include "platform/commands.h"
#include "platform/context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace kelvor::traverse {

namespace {

const QColor Red(255, 0, 0);
const QColor LightRow(224, 224, 224);
const QColor DarkRow(192, 192, 192);
const QColor ComboBlue(192, 192, 255);

const char* const Headers[TraverseSheet::Columns] = {"点号", "水平角", "平 距", "垂直角", "仪器高",
                                                      "觇标高", "垂直角", "仪器高", "觇标高"};

void setColour(QWidget* w, QPalette::ColorRole role, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}

QLineEdit* lineEdit(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMinimumWidth(40);
    return e;
}

int virtualKey(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Enter;
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_PageUp:
        return vk::PageUp;
    case Qt::Key_PageDown:
        return vk::PageDown;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Delete:
        return vk::Delete;
    default:
        return 0;
    }
}

// The longest values the cells are read with: coordinates to 0.1 mm, and
// angles, distances and heights with four decimals.
const QString kWidestCoordinate = QStringLiteral("3381800.0004");
const QString kWidestHeight = QStringLiteral("1800.0004");
const QString kWidestCell = QStringLiteral("147.5022");

const char* const KnownWords[] = {"点名", "X 坐标", "Y 坐标", "H 高程", "点名", "X 坐标", "Y 坐标", "H 高程"};

} // namespace

int widthShowing(const QLineEdit* edit, const QString& sample)
{
    // What the style and the edit's own margins take from the box's width.
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.rect = QRect(0, 0, 1000, edit->sizeHint().height());
    opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
    const QRect inner = edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit);
    const QMargins m = edit->textMargins();
    const int overhead = 1000 - inner.width() + m.left() + m.right() + 4; // 2 px each side inside the edit
    return edit->fontMetrics().horizontalAdvance(sample) + overhead + 1;
}

KnownHeader::KnownHeader(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
{
}

QList<KnownHeader::Place> KnownHeader::places() const
{
    QList<Place> out;
    const QFontMetrics fm = fontMetrics();
    for (int i = 0; i < boxes_.size() && i < int(std::size(KnownWords)); ++i) {
        const QWidget* box = boxes_.at(i);
        const QString word = QString::fromUtf8(KnownWords[i]);
        const int left = mapFromGlobal(box->mapToGlobal(QPoint(0, 0))).x();
        const int w = fm.horizontalAdvance(word);
        out.append({word, QRect(left + (box->width() - w) / 2, 0, w, height())});
    }
    return out;
}

QSize KnownHeader::sizeHint() const
{
    return {0, fontMetrics().height() + 4};
}

QSize KnownHeader::minimumSizeHint() const
{
    return sizeHint();
}

void KnownHeader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    for (const Place& place : places())
        p.drawText(place.rect, Qt::AlignCenter, place.word);
}

SheetWidget::SheetWidget(TraverseSheet& sheet, Context& ctx, CommandRegistry* registry, QWidget* parent)
    : QWidget(parent)
    , sheet_(sheet)
    , ctx_(ctx)
    , registry_(registry)
{
    setObjectName(QStringLiteral("Frame1(0)"));
    build();
    refresh();
    connect(&sheet_, &TraverseSheet::changed, this, &SheetWidget::refresh);
}

void SheetWidget::build()
{
    auto* outer = new QVBoxLayout(this);
    outer->setSpacing(2);

    auto* header = new KnownHeader(
        QStringLiteral(" 点名    X 坐标      Y 坐标    H 高程   点名     X 坐标    Y 坐标     H 高程"), this);
    header->setObjectName(QStringLiteral("Label4(0)"));
    outer->addWidget(header);

    // Known points: A and D on the upper line, B and C below.
    auto* known = new QGridLayout;
    known->setSpacing(1);
    const int place[TraverseSheet::KnownCells][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {1, 3},
                                                     {0, 4}, {0, 5}, {0, 6}, {1, 4}, {1, 5}, {1, 6}, {1, 7}};
    for (int i = 0; i < TraverseSheet::KnownCells; ++i) {
        QLineEdit* e = lineEdit(this, QStringLiteral("Text1(%1)").arg(i));
        const bool orientation = i <= 2 || (i >= 7 && i <= 9);
        e->setToolTip(orientation ? QStringLiteral("已知点[定向点数据]") : QStringLiteral("已知点[测站点数据]"));
        e->setAlignment(i == 6 || i == 13 ? Qt::AlignHCenter : Qt::AlignLeft);
        e->installEventFilter(this);
        connect(e, &QLineEdit::textChanged, this, [this, i](const QString& t) {
            if (!refreshing_)
                sheet_.setText1(i, t);
        });
        known->addWidget(e, place[i][0], place[i][1]);
        text1_[size_t(i)] = e;
        const bool heightBox = i == 6 || i == 13;
        const bool nameBox = i == 0 || i == 3 || i == 7 || i == 10;
        if (!nameBox)
            e->setMinimumWidth(widthShowing(e, heightBox ? kWidestHeight : kWidestCoordinate));
    }
    // The lower line holds all eight columns: B's and C's name, X, Y, H.
    header->setColumns({text1_[3], text1_[4], text1_[5], text1_[6], text1_[10], text1_[11], text1_[12], text1_[13]});
    label39_ = new QLabel(this);
    label39_->setObjectName(QStringLiteral("Label39"));
    label39_->setToolTip(QStringLiteral("双击获取已知点高程"));
    label39_->setMinimumWidth(16);
    label39_->installEventFilter(this);
    known->addWidget(label39_, 0, 3);
    outer->addLayout(known);

    // The station grid, its headers, row labels and the last station.
    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    for (int h = 0; h < TraverseSheet::Columns; ++h) {
        QLineEdit* e = lineEdit(this, QStringLiteral("Text21(%1)").arg(h));
        e->setText(QString::fromUtf8(Headers[h]));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignHCenter);
        if (h >= 3)
            e->setToolTip(h <= 5 ? QStringLiteral("直觇数据") : QStringLiteral("反觇数据"));
        e->installEventFilter(this);
        grid->addWidget(e, 0, h + 1);
        text21_[size_t(h)] = e;
    }
    for (int k = 0; k < TraverseSheet::StationCells; ++k) {
        QLineEdit* e = lineEdit(this, QStringLiteral("Text5(%1)").arg(k));
        const int row = k / TraverseSheet::Columns;
        const bool nameCell = k == 108 || (k < 108 && k % TraverseSheet::Columns == 0);
        e->setAlignment(nameCell ? Qt::AlignLeft : Qt::AlignRight);
        setColour(e, QPalette::Base, row % 2 == 0 || k >= 108 ? LightRow : DarkRow);
        if (k == 3)
            e->setToolTip(QStringLiteral("直觇数据"));
        e->installEventFilter(this);
        connect(e, &QLineEdit::textChanged, this, [this, k](const QString& t) {
            if (!refreshing_)
                sheet_.setText5(k, t);
        });
        e->setMinimumWidth(widthShowing(e, kWidestCell));
        grid->addWidget(e, k < 108 ? row + 1 : 13, k < 108 ? k % TraverseSheet::Columns + 1 : k - 108 + 1);
        text5_[size_t(k)] = e;
    }
    for (int l = 0; l <= TraverseSheet::Rows; ++l) {
        auto* label = new QLabel(QString::number(l == 0 ? 13 : l), this);
        label->setObjectName(QStringLiteral("Label5(%1)").arg(l));
        grid->addWidget(label, l == 0 ? 13 : l, 0);
        label5_[size_t(l)] = label;
    }
    auto* hint = new QLabel(QStringLiteral("<--为最后一站的[测站名]和[水平角值]"), this);
    hint->setObjectName(QStringLiteral("Label7"));
    grid->addWidget(hint, 13, 3, 1, 6);
    outer->addLayout(grid);

    // Grade, contour interval, buttons.
    auto* boxes = new QHBoxLayout;
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setToolTip(QStringLiteral("导线等级"));
    combo2_ = new QComboBox(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    combo2_->setToolTip(QStringLiteral("测图基本等高距"));
    for (QComboBox* c : {combo1_, combo2_}) {
        c->setEditable(true);
        setColour(c, QPalette::Base, ComboBlue);
        boxes->addWidget(c);
    }
    connect(combo1_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!refreshing_)
            sheet_.setGrade(t);
    });
    connect(combo2_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!refreshing_)
            sheet_.setContourInterval(t);
    });
    check1_ = new QCheckBox(QStringLiteral("quelt默认保存到"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    text20_ = new QLineEdit(this);
    text20_->setObjectName(QStringLiteral("Text20"));
    connect(check1_, &QCheckBox::toggled, this, [this](bool on) {
        ctx_.state().exportToFolder = on;
        text20_->setEnabled(on);
    });
    connect(text20_, &QLineEdit::textChanged, this, [this](const QString& t) { ctx_.state().exportFolder = t; });
    boxes->addWidget(check1_);
    boxes->addWidget(text20_);
    outer->addLayout(boxes);

    const struct {
        const char* name;
        const char* caption;
    } buttons[] = {
        {"Command9", "清空"},
        {"Command10", "保存(临时)"},
        {"Command11", "打开上次"},
        {"Command34", "列表输出"},
        {"Command37", "[ 平 差/概 算 ]"},
        {"Command38", "[角度估算]"},
        {"Command41", "[正反路线计算]"},
        {"Command44", "[距离估算]"},
        {"Command12", "转换到Quelt格式"},
        {"Command17", "测试键"},
    };
    auto* row1 = new QHBoxLayout;
    auto* row2 = new QHBoxLayout;
    QWidget* previous = text5_[109];
    for (int i = 0; i < TraverseSheet::KnownCells - 1; ++i)
        setTabOrder(text1_[size_t(i)], text1_[size_t(i + 1)]);
    setTabOrder(text1_[13], text5_[0]);
    for (int k = 0; k + 1 < TraverseSheet::StationCells; ++k)
        setTabOrder(text5_[size_t(k)], text5_[size_t(k + 1)]);
    int n = 0;
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        const QString name = QString::fromLatin1(b.name);
        button->setObjectName(name);
        if (name == QLatin1String("Command10") || name == QLatin1String("Command11"))
            button->setToolTip(QStringLiteral("SYS.read.tmp"));
        connect(button, &QPushButton::clicked, this, [this, name] { runItem(name); });
        (n++ < 5 ? row1 : row2)->addWidget(button);
        setTabOrder(previous, button);
        previous = button;
        if (name == QLatin1String("Command9"))
            command9_ = button;
    }
    outer->addLayout(row1);
    outer->addLayout(row2);
    outer->addStretch();

    refreshing_ = true;
    check1_->setChecked(ctx_.state().exportToFolder);
    text20_->setEnabled(ctx_.state().exportToFolder);
    text20_->setText(ctx_.state().exportFolder);
    refreshing_ = false;
}

void SheetWidget::refresh()
{
    refreshing_ = true;
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        if (text1_[size_t(i)]->text() != sheet_.text1(i))
            text1_[size_t(i)]->setText(sheet_.text1(i));
    for (int k = 0; k < TraverseSheet::StationCells; ++k) {
        QLineEdit* e = text5_[size_t(k)];
        if (e->text() != sheet_.text5(k))
            e->setText(sheet_.text5(k));
        // isHidden, not isVisible: the frame itself may not be shown yet.
        if (e->isHidden() == sheet_.cellVisible(k))
            e->setVisible(sheet_.cellVisible(k));
        if (sheet_.cellRed(k))
            setColour(e, QPalette::Text, Red);
    }
    for (int l = 0; l <= TraverseSheet::Rows; ++l) {
        QLabel* label = label5_[size_t(l)];
        if (l == sheet_.redLabel())
            setColour(label, QPalette::WindowText, Red);
        else
            label->setPalette(QPalette());
    }
    const auto syncItems = [](QComboBox* combo, const QStringList& items) {
        QStringList now;
        for (int i = 0; i < combo->count(); ++i)
            now << combo->itemText(i);
        if (now == items)
            return;
        const QString text = combo->currentText();
        combo->clear();
        combo->addItems(items);
        combo->setEditText(text);
    };
    syncItems(combo1_, sheet_.gradeList());
    syncItems(combo2_, sheet_.contourList());
    if (combo1_->currentText() != sheet_.grade())
        combo1_->setEditText(sheet_.grade());
    if (combo2_->currentText() != sheet_.contourInterval())
        combo2_->setEditText(sheet_.contourInterval());
    refreshing_ = false;
}

void SheetWidget::runItem(const QString& item)
{
    if (item == QLatin1String("Command9"))
        Command9_Click(ctx_);
    else if (item == QLatin1String("Command10"))
        Command10_Click(ctx_);
    else if (item == QLatin1String("Command11"))
        Command11_Click(ctx_);
    else if (item == QLatin1String("Command34"))
        Command34_Click(ctx_);
    else if (item == QLatin1String("Label39"))
        Label39_DblClick(ctx_);
    else if (registry_)
        registry_->run(item, ctx_);
}

void SheetWidget::applyFocus(int box, int index, int caret)
{
    QLineEdit* target = nullptr;
    switch (SheetFocus::Box(box)) {
    case SheetFocus::Known:
        target = text1_.at(size_t(index));
        break;
    case SheetFocus::Cell:
        target = text5_.at(size_t(index));
        break;
    case SheetFocus::ClearButton:
        command9_->setFocus(Qt::TabFocusReason);
        return;
    case SheetFocus::Stay:
        return;
    }
    target->setFocus(Qt::OtherFocusReason);
    switch (SheetFocus::Caret(caret)) {
    case SheetFocus::SelectAll:
        target->selectAll();
        break;
    case SheetFocus::Start:
        target->setCursorPosition(0);
        break;
    case SheetFocus::End:
        target->setCursorPosition(int(target->text().size()));
        break;
    }
}

bool SheetWidget::keyInKnown(int i, QKeyEvent* e)
{
    const int key = virtualKey(e);
    if (!key)
        return false;
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const SheetKeyEffect effect = knownBoxKey(sheet_, i, key, mods == Qt::ShiftModifier);
    applyFocus(effect.focus.box, effect.focus.index, effect.focus.caret);
    return effect.taken;
}

bool SheetWidget::keyInCell(int k, QKeyEvent* e)
{
    const int key = virtualKey(e);
    if (!key)
        return false;
    QLineEdit* cell = text5_[size_t(k)];
    const bool atStart = cell->cursorPosition() == 0;
    const bool atEnd = cell->cursorPosition() == cell->text().size();
    const SheetKeyEffect effect = cellKey(sheet_, k, key, atStart, atEnd);
    applyFocus(effect.focus.box, effect.focus.index, effect.focus.caret);
    return effect.taken;
}

bool SheetWidget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::FocusOut &&
        type != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);

    for (int i = 0; i < TraverseSheet::KnownCells; ++i) {
        if (watched != text1_[size_t(i)])
            continue;
        if (type == QEvent::KeyPress)
            return keyInKnown(i, static_cast<QKeyEvent*>(event));
        if (type == QEvent::FocusIn)
            setColour(text1_[size_t(i)], QPalette::Base, LightRow);
        else if (type == QEvent::FocusOut)
            setColour(text1_[size_t(i)], QPalette::Base, palette().color(QPalette::Base));
        return false;
    }
    for (int k = 0; k < TraverseSheet::StationCells; ++k) {
        if (watched != text5_[size_t(k)])
            continue;
        if (type == QEvent::KeyPress)
            return keyInCell(k, static_cast<QKeyEvent*>(event));
        if (type == QEvent::FocusIn)
            setColour(text5_[size_t(k)], QPalette::Text, Red);
        else if (type == QEvent::FocusOut) {
            setColour(text5_[size_t(k)], QPalette::Text, palette().color(QPalette::Text));
            sheet_.setCellRed(k, false);
        }
        return false;
    }
    if (type == QEvent::MouseButtonDblClick) {
        for (int h = 0; h < TraverseSheet::Columns; ++h) {
            if (watched == text21_[size_t(h)]) {
                Text21_DblClick(ctx_, h);
                return true;
            }
        }
        if (watched == label39_) {
            runItem(QStringLiteral("Label39"));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kelvor::traverse
