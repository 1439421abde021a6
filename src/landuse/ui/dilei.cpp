#include "landuse/ui/dilei.h"

#include "landuse/land_classes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvor::landuse {

namespace {

// The form's sizes are in twips, 15 to a pixel.
QRect twips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

} // namespace

Dilei::Dilei(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("dilei"));
    setWindowTitle(QStringLiteral("土地分类项目"));
    // Blocks only the main window: the drawing, where codes are placed and
    // picked, stays usable.
    setWindowModality(Qt::WindowModal);
    setFixedSize(twips(0, 0, 6810, 2025).size());

    const struct {
        const char* caption;
        QRect label;
        const char* design;
        QRect box;
        int droppedHeight;
    } groups[3] = {
        {"农用地：", twips(270, 120, 855, 285), "灌溉水田", twips(240, 480, 2055, 300), 400},
        {"建设用地：", twips(2460, 150, 1035, 285), "商业用地", twips(2430, 480, 1935, 300), 500},
        {"未利用土地：", twips(4620, 150, 1575, 285), "荒草地", twips(4560, 480, 1875, 300), 400},
    };
    const std::array<QStringList, 3> lists = PickerLists(ctx_);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromUtf8(groups[i].caption), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setGeometry(groups[i].label);
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("Combo1(%1)").arg(i));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        // Only a choice from the list places a code: typing a name into the
        // field, or leaving the field with its design text, chooses nothing.
        box->setCompleter(nullptr);
        disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
        disconnect(box->lineEdit(), &QLineEdit::returnPressed, box, nullptr);
        box->setGeometry(groups[i].box);
        box->addItems(lists[size_t(i)]);
        box->setCurrentIndex(-1);
        box->setEditText(QString::fromUtf8(groups[i].design));
        SetComboHeight(box, groups[i].droppedHeight);
        SetComboWidth(box, 100);
        connect(box, &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
        combo1_[i] = box;
    }
    auto* command1 = new QPushButton(QStringLiteral("查询地类编码"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setAutoDefault(false);
    command1->setGeometry(twips(4620, 1290, 1335, 405));
    connect(command1, &QPushButton::clicked, this, &Dilei::Command1_Click);
}

void Dilei::Combo1_Click(int index)
{
    placeLandClassCode(ctx_, combo1_[index]->currentText());
}

void Dilei::Command1_Click()
{
    nameLandClassTexts(ctx_);
}

void Dilei::SetComboHeight(QComboBox* box, int height)
{
    // the list's frame is capped; the edit field stands above it
    box->view()->parentWidget()->setMaximumHeight(std::max(1, height - box->height()));
}

void Dilei::SetComboWidth(QComboBox* box, int width)
{
    box->view()->setMinimumWidth(width);
}

} // namespace kelvor::landuse
