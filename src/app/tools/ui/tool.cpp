#include "tool.h"

#include "app/tools/calculators.h"
#include "platform/context.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace kelvor::tools {

namespace {

template <class W>
W* place(W* w, const QString& name, int x, int y, int width, int height)
{
    w->setObjectName(name);
    w->setGeometry(x, y, width, height);
    return w;
}

QString at(const char* name, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

} // namespace

QLineEdit* ToolWindow::edit(const QString& name, const QString& text, int x, int y, int w)
{
    return place(new QLineEdit(text, this), name, x, y, w, 22);
}

ToolWindow::ToolWindow(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("tool"));
    setWindowTitle(QStringLiteral("其它工具"));
    setFixedSize(520, 330);

    // 方位角反算
    place(new QGroupBox(QStringLiteral("方位角反算"), this), QStringLiteral("Frame2"), 8, 8, 504, 70);
    place(new QLabel(QStringLiteral("方位角反算(X、Y、X1、Y1）"), this), QStringLiteral("Label9"), 16, 26, 300, 20);
    for (int i = 0; i < 4; ++i)
        text9_[i] = edit(at("Text9", i), QString(), 16 + 100 * i, 48, 94);
    auto* c6 = place(new QPushButton(QStringLiteral("计 算"), this), QStringLiteral("Command6"), 420, 46, 80, 26);

    // 高差计算
    auto* height = place(new QGroupBox(QStringLiteral("高差计算"), this), QStringLiteral("Frame1"), 8, 86, 504, 100);
    height->setToolTip(QStringLiteral("双击此处清除数据"));
    const char* captions[] = {"垂直角", "距离", "仪器高", "镜高"};
    const char* tips[] = {"垂直角", "平距", "仪器高", "觇标高"};
    const int labelOf[] = {3, 0, 2, 1}; // Label46: 距离, 镜高, 仪器高, 垂直角, 距离值为：
    for (int i = 0; i < 4; ++i) {
        place(new QLabel(QString::fromUtf8(captions[i]), this), at("Label46", labelOf[i]), 16 + 100 * i, 104, 94, 20);
        text15_[i] = edit(at("Text15", i), QString(), 16 + 100 * i, 124, 94);
        text15_[i]->setToolTip(QString::fromUtf8(tips[i]));
    }
    place(new QLabel(QStringLiteral("距离值为："), this), at("Label46", 4), 16, 154, 80, 22);
    auto* flat = place(new QRadioButton(QStringLiteral("平距"), this), QStringLiteral("Option2"), 100, 154, 70, 22);
    slope_ = place(new QRadioButton(QStringLiteral("斜距"), this), QStringLiteral("Option3"), 170, 154, 70, 22);
    flat->setChecked(true);
    auto* c16 = place(new QPushButton(QStringLiteral("计 算"), this), QStringLiteral("Command16"), 420, 122, 80, 26);

    // angle converters
    text2_ = edit(QStringLiteral("Text2"), QStringLiteral("1.3423434567"), 16, 200, 280);
    auto* c3 = place(new QPushButton(QStringLiteral("角度->弧度"), this), QStringLiteral("Command3"), 310, 198, 100, 26);
    text1_ = edit(QStringLiteral("Text1"), QStringLiteral("0.00159847457565"), 16, 232, 280);
    auto* c2 = place(new QPushButton(QStringLiteral("弧度->角度"), this), QStringLiteral("Command2"), 310, 230, 100, 26);

    // 展点
    text10_ = edit(QStringLiteral("Text10"), QStringLiteral("I1055   2532163.233   496573.073    27.24"), 16, 276, 380);
    auto* c1 = place(new QPushButton(QStringLiteral("展点"), this), QStringLiteral("Command1"), 410, 274, 90, 26);

    connect(c6, &QPushButton::clicked, this, [this] {
        Command6_Click(ctx_, text9_[0]->text(), text9_[1]->text(), text9_[2]->text(), text9_[3]->text());
    });
    connect(c16, &QPushButton::clicked, this, [this] {
        Command16_Click(ctx_, text15_[0]->text(), text15_[1]->text(), text15_[2]->text(), text15_[3]->text(),
                        slope_->isChecked());
    });
    connect(c3, &QPushButton::clicked, this, [this] { Command3_Click(ctx_, text2_->text()); });
    connect(c2, &QPushButton::clicked, this, [this] { Command2_Click(ctx_, text1_->text()); });
    connect(c1, &QPushButton::clicked, this, [this] { Command1_Click(ctx_, text10_->text()); });
}

void ToolWindow::mousePressEvent(QMouseEvent* event)
{
    // The right button brings the radians box to the point clicked.
    if (event->button() == Qt::RightButton) {
        text1_->move(event->position().toPoint());
        text1_->show();
    }
    QDialog::mousePressEvent(event);
}

} // namespace kelvor::tools
