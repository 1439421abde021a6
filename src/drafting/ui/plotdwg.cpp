#include "drafting/ui/plotdwg.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace kelvor::drafting {

Plotdwg::Plotdwg(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , plot_(ctx)
{
    setObjectName(QStringLiteral("plotdwg"));
    setWindowTitle(QStringLiteral("Form3"));
    auto* cmd1 = new QPushButton(QStringLiteral("确定"));
    cmd1->setObjectName(QStringLiteral("cmd1"));
    cmd1->setAutoDefault(false);
    connect(cmd1, &QPushButton::clicked, this, [this] { plot_.cmd1_Click(); });
    auto* cmd2 = new QPushButton(QStringLiteral("Command1"));
    cmd2->setObjectName(QStringLiteral("cmd2"));
    cmd2->setAutoDefault(false);
    connect(cmd2, &QPushButton::clicked, this, [this] { plot_.cmd2_Click(); });
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(cmd1);
    layout->addWidget(cmd2);
}

} // namespace kelvor::drafting
