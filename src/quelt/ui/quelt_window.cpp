#include "quelt_window.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "quelt/calculators.h"
#include "quelt/accuracy_stats.h"
#include "quelt/coordinate_table.h"
#include "quelt/height_input.h"
#include "quelt/orient_names.h"
#include "quelt/plot_points.h"
#include "quelt/print_files.h"
#include "traverse/sheet.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kelvor::quelt {

namespace {

const QString PlaneCaption = QStringLiteral("平面文件");
const QString HeightCaption = QStringLiteral("高程文件");
const QString PickCaption = QStringLiteral("点此选择");

QString indexed(const char* name, int i)
{
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(i);
}

QLineEdit* box(const QString& objectName, const QString& text = QString(), const QString& tip = QString())
{
    auto* e = new QLineEdit(text);
    e->setObjectName(objectName);
    if (!tip.isEmpty())
        e->setToolTip(tip);
    return e;
}

QLabel* label(const QString& objectName, const QString& caption)
{
    auto* l = new QLabel(caption);
    l->setObjectName(objectName);
    return l;
}

QPushButton* button(const QString& objectName, const QString& caption)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(objectName);
    // Enter in the boxes must not press a default button of the dialog.
    b->setAutoDefault(false);
    return b;
}

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

QueltWindow::QueltWindow(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("quelt"));
    setWindowTitle(QStringLiteral("Quelt导线平差辅助程序"));
    setModal(true);

    for (int i = 0; i < 6; ++i)
        text2_[i] = box(indexed("Text2", i));
    text2_[2]->setText(QStringLiteral("-0.0014"));
    text2_[2]->setToolTip(QStringLiteral("垂直角"));
    text2_[3]->setToolTip(QStringLiteral("斜距"));
    text2_[4]->setToolTip(QStringLiteral("仪器高"));
    text2_[5]->setToolTip(QStringLiteral("觇标高"));
    label2_[0] = label(indexed("Label2", 0), QStringLiteral("导线文件"));
    label2_[0]->setToolTip(QStringLiteral("点击选择文件"));
    label2_[1] = label(indexed("Label2", 1), HeightCaption);
    for (QLabel* l : label2_) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
    text3_ = box(QStringLiteral("Text3"), QString(), QStringLiteral("回车跳到[斜距]"));
    text4_ = box(QStringLiteral("Text4"), QString(), QStringLiteral("算下一条数据请回车！"));
    text6_ = box(QStringLiteral("Text6"), QStringLiteral("0"));
    text7_ = box(QStringLiteral("Text7"));
    text8_ = box(QStringLiteral("Text8"));
    text25_ = box(QStringLiteral("Text25"), QStringLiteral("d:\\yzdcg.txt"));
    command1_ = button(QStringLiteral("Command1"), QStringLiteral("高差计算"));
    command1_->installEventFilter(this);
    auto* command8 = button(QStringLiteral("Command8"), QStringLiteral("Quelt生成坐标成果表"));
    auto* command40 = button(QStringLiteral("Command40"), QStringLiteral("获取高程"));

    // The Quelt file tools; they share the window's file dialog, so a title
    // or filter one leaves is what the next one shows.
    const struct {
        const char* name;
        const char* caption;
        const char* tip;
    } tools[] = {{"Command60", "选择要更改的文件", ""},
                 {"Command7", "高差结果文件->高程平差数据", ""},
                 {"Command14", "生成导线精度统计表数据", "需要文件目录数据序列"},
                 {"Command15", "生成成果打印文件", "需要文件目录数据序列"},
                 {"Command19", "生成导线目录序列文件", "请先在导线文件存放目录中设置目录"},
                 {"Command4", "展绘控制点", ""}};
    QPushButton* laterButtons[6] = {};
    for (int i = 0; i < 6; ++i) {
        laterButtons[i] = button(QString::fromLatin1(tools[i].name), QString::fromUtf8(tools[i].caption));
        if (*tools[i].tip)
            laterButtons[i]->setToolTip(QString::fromUtf8(tools[i].tip));
    }
    connect(laterButtons[0], &QPushButton::clicked, this,
            [this] { Command60_Click(ctx_, dialog_, text25_->text()); });
    connect(laterButtons[1], &QPushButton::clicked, this,
            [this] { Command7_Click(ctx_, dialog_, text7_->text(), text8_->text()); });
    connect(laterButtons[2], &QPushButton::clicked, this, [this] { Command14_Click(ctx_, dialog_); });
    connect(laterButtons[3], &QPushButton::clicked, this, [this] { Command15_Click(ctx_, dialog_); });
    connect(laterButtons[4], &QPushButton::clicked, this, [this] { Command19_Click(ctx_); });
    connect(laterButtons[5], &QPushButton::clicked, this, [this] { Command4_Click(ctx_, dialog_); });
    laterButtons[5]->setToolTip(Command4_ToolTip());

    // Layout: the Quelt file tools on the left, the calculators on the right.
    auto* files = new QGroupBox;
    auto* fl = new QGridLayout(files);
    fl->addWidget(label(QStringLiteral("Label13"), QStringLiteral("Quelt自动化功能")), 0, 0, 1, 2);
    fl->addWidget(label2_[0], 1, 0);
    fl->addWidget(text2_[0], 1, 1);
    fl->addWidget(label2_[1], 2, 0);
    fl->addWidget(text2_[1], 2, 1);
    fl->addWidget(command8, 3, 0, 1, 2);
    fl->addWidget(label(QStringLiteral("Label6"), QStringLiteral("已知点高程： 第一点  第二点")), 4, 0, 1, 2);
    auto* heights = new QHBoxLayout;
    heights->addWidget(text7_);
    heights->addWidget(text8_);
    heights->addWidget(command40);
    fl->addLayout(heights, 5, 0, 1, 2);
    fl->addWidget(laterButtons[1], 6, 0, 1, 2);
    fl->addWidget(laterButtons[2], 7, 0, 1, 2);
    fl->addWidget(laterButtons[3], 8, 0, 1, 2);
    fl->addWidget(laterButtons[4], 9, 0, 1, 2);
    fl->addWidget(laterButtons[5], 10, 0, 1, 2);
    fl->addWidget(label(QStringLiteral("Label40"), QStringLiteral("[更改平面结果文件的定向点点号]")), 11, 0, 1, 2);
    fl->addWidget(label(QStringLiteral("Label16"), QStringLiteral("已知点成果")), 12, 0);
    fl->addWidget(text25_, 12, 1);
    fl->addWidget(laterButtons[0], 13, 0, 1, 2);

    auto* calc = new QGroupBox;
    auto* cl = new QGridLayout(calc);
    cl->addWidget(label(QStringLiteral("Label3"), QStringLiteral("垂直角    斜距     平 距")), 0, 0, 1, 3);
    cl->addWidget(text3_, 1, 0);
    cl->addWidget(text4_, 1, 1);
    cl->addWidget(text6_, 1, 2);
    auto* hd = new QHBoxLayout;
    for (int i = 2; i < 6; ++i)
        hd->addWidget(text2_[i]);
    hd->addWidget(command1_);
    cl->addLayout(hd, 2, 0, 1, 3);
    cl->setRowStretch(3, 1);

    auto* top = new QHBoxLayout(this);
    top->addWidget(files);
    top->addWidget(calc);

    QWidget::setTabOrder(text2_[2], text2_[3]);
    QWidget::setTabOrder(text2_[3], text2_[4]);
    QWidget::setTabOrder(text2_[4], text2_[5]);
    QWidget::setTabOrder(text2_[5], command1_);
    for (int i = 0; i < 6; ++i)
        text2_[i]->installEventFilter(this);
    text3_->installEventFilter(this);
    text4_->installEventFilter(this);

    for (int i = 0; i < 6; ++i)
        connect(text2_[i], &QLineEdit::textChanged, this, &QueltWindow::Text2_Change);
    connect(text3_, &QLineEdit::textChanged, this, &QueltWindow::reduce);
    connect(text4_, &QLineEdit::textChanged, this, &QueltWindow::reduce);
    connect(command1_, &QPushButton::clicked, this, &QueltWindow::Command1_Click);
    connect(command8, &QPushButton::clicked, this, &QueltWindow::Command8_Click);
    connect(command40, &QPushButton::clicked, this, &QueltWindow::Command40_Click);

    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    connect(timer2_, &QTimer::timeout, this, &QueltWindow::Timer2_Timer);
    timer2_->start();

    // Form_Load
    text25_->setText(ctx_.setting(QStringLiteral("已知点成果=")));
}

void QueltWindow::Label2_Click(int index)
{
    dialog_.title = QStringLiteral("选择文件");
    dialog_.filter = QStringLiteral("计算结果文件(*.OUT;*.OU)|*.OUT;*.OU");
    dialog_.multiSelect = false;
    const QString name = ctx_.ui().openFile(dialog_);
    dialog_.fileName = name;
    if (index == 0) {
        text2_[0]->setText(name);
        if (const auto h = proposedHeightResult(text2_[0]->text()))
            text2_[1]->setText(*h);
    } else if (index == 1) {
        text2_[1]->setText(name);
    }
}

void QueltWindow::Timer2_Timer()
{
    label2_[0]->setText(label2_[0]->text() == PlaneCaption ? PickCaption : PlaneCaption);
    label2_[1]->setText(label2_[1]->text() == HeightCaption ? PickCaption : HeightCaption);
}

void QueltWindow::Text2_Change()
{
    text3_->setText(text2_[2]->text());
    text4_->setText(text2_[3]->text());
}

void QueltWindow::reduce()
{
    text6_->setText(reducedDistance(text3_->text(), text4_->text()));
}

void QueltWindow::Command1_Click()
{
    double h = 0;
    try {
        h = heightDifference(text2_[2]->text(), text2_[3]->text(), text2_[4]->text(), text2_[5]->text(), &ctx_.ui());
    } catch (const RunError&) {
        return;
    }
    ctx_.ui().message(QStringLiteral("高差:") + FormatPattern(h, QStringLiteral("0.000")), QString(),
                      Icon::Exclamation);
    for (int i = 2; i < 6; ++i)
        text2_[i]->clear();
    text2_[2]->setFocus();
}

void QueltWindow::Command8_Click()
{
    makeCoordinateTable(ctx_, text2_[0]->text(), text2_[1]->text());
}

void QueltWindow::Command40_Click()
{
    if (const traverse::TraverseSheet* sheet = ctx_.sheet()) {
        text7_->setText(sheet->text1(6));
        text8_->setText(sheet->text1(13));
    }
}

bool QueltWindow::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 2; ++i)
        if (watched == label2_[i] && event->type() == QEvent::MouseButtonRelease) {
            Label2_Click(i);
            return true;
        }
    if (!isEnter(event))
        return QDialog::eventFilter(watched, event);
    if (watched == command1_) {
        command1_->click();
        return true;
    }
    for (int i = 0; i < 6; ++i)
        if (watched == text2_[i]) {
            focusNextChild();
            return true;
        }
    if (watched == text3_) {
        text4_->setFocus();
        return true;
    }
    if (watched == text4_) {
        text3_->clear();
        text4_->clear();
        text3_->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void showQuelt(Context& ctx, QWidget* parent)
{
    QueltWindow window(ctx, parent);
    window.exec();
}

} // namespace kelvor::quelt
