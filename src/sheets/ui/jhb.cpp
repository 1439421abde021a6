#include "jhb.h"

#include "sheets/join_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kelvor::sheets {

JhbWindow::JhbWindow(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("jhb"));
    setWindowTitle(QStringLiteral("注记南方格式的分幅图接合表"));
    setFixedSize(360, 210);

    const char* options[] = {"50-40图框", "50-50图框"};
    for (int i = 0; i < 2; ++i) {
        option1_[i] = new QRadioButton(QString::fromUtf8(options[i]), this);
        option1_[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        option1_[i]->setGeometry(16 + 110 * i, 12, 100, 24);
    }
    option1_[0]->setChecked(true);

    check1_ = new QCheckBox(QStringLiteral("批量处理图幅"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(240, 12, 110, 24);

    const char* labels[] = {"X坐标整数位数", "Y坐标整数位数"};
    const char* digits[] = {"7", "6"};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(QString::fromUtf8(labels[i]), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setGeometry(16 + 170 * i, 48, 100, 24);
        auto* text = new QLineEdit(QString::fromUtf8(digits[i]), this);
        text->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        text->setGeometry(118 + 170 * i, 48, 50, 24);
    }

    auto* note = new QLabel(QStringLiteral("注：该功能只适用于1：500地形图(南方格式)"), this);
    note->setObjectName(QStringLiteral("Label2"));
    note->setGeometry(16, 84, 330, 24);

    const OptionReader option = [this] {
        return option1_[1]->isChecked() ? FrameOption::Sheet5050 : FrameOption::Sheet5040;
    };
    auto* command1 = new QPushButton(QStringLiteral("选择文件执行"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(16, 124, 160, 32);
    connect(command1, &QPushButton::clicked, this,
            [this, option] { jhbCommand1_Click(ctx_, [this] { return check1_->isChecked(); }, option); });

    auto* command2 = new QPushButton(QStringLiteral("选择文件名列表执行"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    command2->setToolTip(QStringLiteral("可由[工具]下的'生成文件路径列表'中生成文件列表进行操作"));
    command2->setGeometry(186, 124, 160, 32);
    connect(command2, &QPushButton::clicked, this, [this, option] { jhbCommand2_Click(ctx_, option); });
}

} // namespace kelvor::sheets
