#include "landuse/ui/frmzb.h"

#include "coords/point_scripts.h"
#include "platform/context.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kelvor::landuse {

namespace {

QLineEdit* box(const QString& name, const QString& text)
{
    auto* t = new QLineEdit(text);
    t->setObjectName(name);
    return t;
}

QLabel* label(const QString& caption)
{
    return new QLabel(caption);
}

QFrame* rule(QFrame::Shape shape)
{
    auto* f = new QFrame;
    f->setFrameShape(shape);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

} // namespace

Frmzb::Frmzb(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("frmzb"));
    setWindowTitle(QStringLiteral("处理线坐标"));
    // Blocks only the main window: the drawing window, where the person
    // picks the polyline, stays usable as AutoCAD beside the program was.
    setWindowModality(Qt::WindowModal);

    const BoundaryPointSettings defaults;
    const QString captions[4] = {QStringLiteral("界址点号位数"), QStringLiteral("界址点前缀符号"),
                                 QStringLiteral("界址点注记大小"), QStringLiteral("界址点开始号码")};
    const QString texts[4] = {defaults.digits, defaults.prefix, defaults.height, defaults.start};
    auto* boxes = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        text1_[i] = box(QStringLiteral("Text1(%1)").arg(i), texts[i]);
        boxes->addWidget(label(captions[i]), i / 2, (i % 2) * 2);
        boxes->addWidget(text1_[i], i / 2, (i % 2) * 2 + 1);
    }
    // Shown as the form has it; no command reads it.
    boxes->addWidget(label(QStringLiteral("界址点数最大值")), 2, 0);
    boxes->addWidget(box(QStringLiteral("Text4"), QStringLiteral("1亿")), 2, 1);

    const QString checks[4] = {QStringLiteral("隔号界址点"), QStringLiteral("插入界址点符号"),
                               QStringLiteral("输出界址长度"), QStringLiteral("删除图面的文字")};
    for (int i = 0; i < 4; ++i) {
        check1_[i] = new QCheckBox(checks[i]);
        check1_[i]->setObjectName(QStringLiteral("Check1(%1)").arg(i));
    }
    check1_[0]->setChecked(defaults.alternate);
    check1_[1]->setChecked(defaults.insertSymbol);
    check1_[2]->setChecked(defaults.writeSides);
    check1_[3]->setChecked(defaults.eraseTexts);

    option1_ = new QRadioButton(QStringLiteral("注记左移量"));
    option1_->setObjectName(QStringLiteral("Option1"));
    option2_ = new QRadioButton(QStringLiteral("注记右移量"));
    option2_->setObjectName(QStringLiteral("Option2"));
    option2_->setChecked(true);
    text2_ = box(QStringLiteral("Text2(0)"), defaults.shift);
    auto* shiftRow = new QHBoxLayout;
    shiftRow->addWidget(option1_);
    shiftRow->addWidget(option2_);
    shiftRow->addWidget(text2_);

    auto* command1 = new QPushButton(QStringLiteral("拾取多义线"));
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setAutoDefault(false);
    connect(command1, &QPushButton::clicked, this, &Frmzb::Command1_Click);
    command2_ = new QPushButton(QStringLiteral("创建符号"));
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setAutoDefault(false);
    connect(command2_, &QPushButton::clicked, this, &Frmzb::Command2_Click);

    auto* checkGrid = new QGridLayout;
    checkGrid->addWidget(check1_[0], 0, 0);
    checkGrid->addWidget(check1_[2], 0, 1);
    checkGrid->addWidget(check1_[1], 1, 0);
    checkGrid->addWidget(command2_, 1, 1);
    checkGrid->addWidget(check1_[3], 2, 0);

    auto* left = new QVBoxLayout;
    left->addLayout(boxes);
    left->addWidget(rule(QFrame::HLine));
    left->addLayout(shiftRow);
    left->addLayout(checkGrid);
    left->addStretch(1);
    left->addWidget(command1);

    auto listColumn = [this](QVBoxLayout* column, int i, const QString& caption, const QString& tip) {
        text3_[i] = box(QStringLiteral("Text3(%1)").arg(i), QStringLiteral("0"));
        auto* list = new QListWidget;
        list->setObjectName(QStringLiteral("List%1").arg(i + 1));
        list->setToolTip(tip);
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list] { List_DblClick(list); });
        auto* row = new QHBoxLayout;
        row->addWidget(label(caption));
        row->addWidget(text3_[i]);
        column->addLayout(row);
        column->addWidget(list);
        return list;
    };
    auto* right = new QVBoxLayout;
    list1_ = listColumn(right, 0, QStringLiteral("显示边长大于：(为0时不输出)"),
                        QStringLiteral("输出后双击各输出项可显示号码位置"));
    list2_ = listColumn(right, 1, QStringLiteral("显示边长少于：(为0时不输出)"), QStringLiteral("输出后双击点号可显示号码"));

    for (int i = 0; i < 4; ++i)
        connect(check1_[i], &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(rule(QFrame::VLine));
    layout->addLayout(right);
}

BoundaryPointSettings Frmzb::settings() const
{
    BoundaryPointSettings s;
    s.digits = text1_[0]->text();
    s.prefix = text1_[1]->text();
    s.height = text1_[2]->text();
    s.start = text1_[3]->text();
    s.alternate = check1_[0]->isChecked();
    s.insertSymbol = check1_[1]->isChecked();
    s.writeSides = check1_[2]->isChecked();
    s.eraseTexts = check1_[3]->isChecked();
    s.shiftLeft = option1_->isChecked();
    s.shift = text2_->text();
    s.limitAbove = text3_[0]->text();
    s.limitBelow = text3_[1]->text();
    return s;
}

void Frmzb::Command1_Click()
{
    list1_->clear();
    list2_->clear();
    const PickedLists lists = landuse::Command1_Click(ctx_, settings());
    list1_->addItems(lists.list1);
    list2_->addItems(lists.list2);
}

void Frmzb::Command2_Click()
{
    coords::jlblock_Click(ctx_);
}

void Frmzb::Check1_Click(int index)
{
    if (index == 1)
        command2_->setEnabled(check1_[1]->isChecked());
}

void Frmzb::List_DblClick(QListWidget* list)
{
    if (QListWidgetItem* item = list->currentItem())
        zoomToEntry(ctx_, item->text());
}

} // namespace kelvor::landuse
