#include "landuse/ui/out_excelx.h"

#include "landuse/area_commands.h"
#include "platform/context.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvor::landuse {

OutExcelx::OutExcelx(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("outExcelx"));
    setWindowTitle(QStringLiteral("地类面积导出Excle..."));
    // Blocks only the main window: the sheet and drawing windows stay usable,
    // as the programs they stand in for are.
    setWindowModality(Qt::WindowModal);
    resize(312, 250);
    setProperty("Tag", tag_);

    auto label = [](const QString& name, const QString& caption) {
        auto* l = new QLabel(caption);
        l->setObjectName(name);
        return l;
    };
    auto box = [](const QString& name, const QString& text) {
        auto* t = new QLineEdit(text);
        t->setObjectName(name);
        return t;
    };
    auto button = [this](const QString& name, const QString& caption, const QString& tip,
                         void (OutExcelx::*handler)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setAutoDefault(false);
        if (!tip.isEmpty())
            b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    auto frame = [](const QString& name, const QString& caption) {
        auto* g = new QGroupBox(caption);
        g->setObjectName(name);
        return g;
    };

    const ColumnLayoutBoxes columns;
    auto* upper = frame(QStringLiteral("Frame1(0)"), QStringLiteral("列输出"));
    auto* upperGrid = new QGridLayout(upper);
    const QString column[4][2] = {{QStringLiteral("地类编号 行："), columns.firstRow},
                                  {QStringLiteral("列："), columns.codeColumn},
                                  {QStringLiteral("地类总行数："), columns.total},
                                  {QStringLiteral("面积列位置："), columns.areaColumn}};
    for (int i = 0; i < 4; ++i) {
        text2_[i] = box(QStringLiteral("Text2(%1)").arg(i), column[i][1]);
        upperGrid->addWidget(label(QStringLiteral("Label2(%1)").arg(i), column[i][0]), i / 2, (i % 2) * 2);
        upperGrid->addWidget(text2_[i], i / 2, (i % 2) * 2 + 1);
    }
    auto* upperButtons = new QHBoxLayout;
    upperButtons->addWidget(button(QStringLiteral("Command3"), QStringLiteral("||->"), QStringLiteral("输出到文件"),
                                   &OutExcelx::Command3_Click));
    upperButtons->addWidget(button(QStringLiteral("Command4"), QStringLiteral("||-<"), QStringLiteral("读入文件"),
                                   &OutExcelx::Command4_Click));
    upperGrid->addLayout(upperButtons, 2, 0, 1, 4);

    const RowLayoutBoxes rows;
    auto* lower = frame(QStringLiteral("Frame1(3)"), QStringLiteral("行输出"));
    auto* lowerGrid = new QGridLayout(lower);
    const QString row[4][2] = {{QStringLiteral("地类编码起始 行："), rows.codeRow},
                               {QStringLiteral("列："), rows.startColumn},
                               {QStringLiteral("列号："), rows.endColumn},
                               {QStringLiteral("地类面积输出到行"), rows.areaRow}};
    for (int i = 0; i < 4; ++i) {
        text1_[i] = box(QStringLiteral("Text1(%1)").arg(i), row[i][1]);
        const int line = i < 3 ? 0 : 1;
        const int place = i < 3 ? i * 2 : 0;
        lowerGrid->addWidget(label(QStringLiteral("Label1(%1)").arg(i), row[i][0]), line, place);
        lowerGrid->addWidget(text1_[i], line, place + 1);
    }
    auto* lowerButtons = new QHBoxLayout;
    lowerButtons->addWidget(button(QStringLiteral("Command5"), QStringLiteral("||->"), QStringLiteral("输出到文件"),
                                   &OutExcelx::Command5_Click));
    lowerButtons->addWidget(button(QStringLiteral("Command6"), QStringLiteral("||-<"), QString(),
                                   &OutExcelx::Command6_Click));
    lowerGrid->addLayout(lowerButtons, 2, 0, 1, 6);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(button(QStringLiteral("Command1"), QStringLiteral("输出列格式"), QString(),
                             &OutExcelx::Command1_Click));
    bottom->addStretch(1);
    bottom->addWidget(button(QStringLiteral("Command2"), QStringLiteral("输出行格式"), QString(),
                             &OutExcelx::Command2_Click));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(upper);
    layout->addWidget(lower);
    layout->addLayout(bottom);
}

ColumnLayoutBoxes OutExcelx::columnBoxes() const
{
    return {text2_[0]->text(), text2_[1]->text(), text2_[2]->text(), text2_[3]->text()};
}

RowLayoutBoxes OutExcelx::rowBoxes() const
{
    return {text1_[0]->text(), text1_[1]->text(), text1_[2]->text(), text1_[3]->text()};
}

void OutExcelx::Command1_Click()
{
    TableToColumnLayout(ctx_, ExcelColumnLayout(columnBoxes()));
}

void OutExcelx::Command2_Click()
{
    TextsToRowLayout(ctx_, ExcelRowLayout(rowBoxes()));
}

void OutExcelx::Command3_Click()
{
    WriteAreaList(ctx_, ExcelColumnLayout(columnBoxes()), false);
}

void OutExcelx::Command4_Click()
{
    ReadAreaList(ctx_, ExcelColumnLayout(columnBoxes()));
}

void OutExcelx::Command5_Click()
{
    WriteAreaList(ctx_, ExcelRowLayout(rowBoxes()), true);
}

void OutExcelx::Command6_Click()
{
    ReadAreaList(ctx_, ExcelRowLayout(rowBoxes()));
}

void OutExcelx::Form_DblClick()
{
    const bool onTop = tag_ == QLatin1String("0");
    // Changing the flag hides the window; show it again where it was.
    const QRect where = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    setGeometry(where);
    show();
    tag_ = onTop ? QStringLiteral("1") : QStringLiteral("0");
    setProperty("Tag", tag_);
}

void OutExcelx::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only the window's own background: frames and buttons keep theirs.
    if (childAt(event->position().toPoint()) == nullptr)
        Form_DblClick();
    QDialog::mouseDoubleClickEvent(event);
}

} // namespace kelvor::landuse
