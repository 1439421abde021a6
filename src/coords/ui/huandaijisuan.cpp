#include "huandaijisuan.h"

#include "routines/routines.h"
#include "coords/gauss.h"
#include "platform/context.h"
#include "platform/errors.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <climits>

namespace kelvor::coords {

namespace {

const QString Caption = QStringLiteral("坐标转换");
const QString Beijing54 = QStringLiteral("北京54坐标系");

QGroupBox* frame(const QString& caption)
{
    auto* g = new QGroupBox(caption);
    return g;
}

// The window's progress bar and caption while a DXF converts.
class WindowProgress : public DxfProgress {
public:
    WindowProgress(QDialog* window, QProgressBar* bar)
        : window_(window)
        , bar_(bar)
    {
    }
    void analysing() override
    {
        bar_->show();
        window_->setWindowTitle(Caption + QStringLiteral("[分析中...]"));
    }
    void converting(qint64 maximum) override
    {
        bar_->setMaximum(int(qMin<qint64>(maximum, INT_MAX)));
        bar_->setValue(0);
        window_->setWindowTitle(Caption + QStringLiteral("[正在转换，请等候...]"));
    }
    void advance(qint64 value) override
    {
        bar_->setValue(int(qMin<qint64>(value, bar_->maximum())));
        QApplication::processEvents();
    }
    void finished(qint64 maximum) override
    {
        bar_->setValue(int(qMin<qint64>(maximum, bar_->maximum())));
        window_->setWindowTitle(Caption);
    }

private:
    QDialog* window_;
    QProgressBar* bar_;
};

} // namespace

HuanDaiJiSuan::HuanDaiJiSuan(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("HuanDaiJiSuan"));
    setWindowTitle(Caption);
    setModal(true);

    auto makeText = [this](int i) {
        text_[i] = new QLineEdit;
        text_[i]->setObjectName(QStringLiteral("Text%1").arg(i));
        return text_[i];
    };
    auto makeLabel = [this](int i, const QString& caption) {
        label_[i] = new QLabel(caption);
        label_[i]->setObjectName(QStringLiteral("Label%1").arg(i));
        return label_[i];
    };
    auto button = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };

    auto* known = frame(QStringLiteral("已知数据"));
    auto* knownGrid = new QGridLayout(known);
    knownGrid->addWidget(makeLabel(1, QStringLiteral("点名")), 0, 0);
    knownGrid->addWidget(makeText(1), 0, 1);
    knownGrid->addWidget(makeLabel(2, QStringLiteral("B(dd.mmss)")), 1, 0);
    knownGrid->addWidget(makeText(2), 1, 1);
    knownGrid->addWidget(makeLabel(3, QStringLiteral("L(dd.mmss)")), 2, 0);
    knownGrid->addWidget(makeText(3), 2, 1);

    auto* result = frame(QStringLiteral("计算结果"));
    auto* resultGrid = new QGridLayout(result);
    resultGrid->addWidget(makeLabel(4, QStringLiteral("点名")), 0, 0);
    resultGrid->addWidget(makeText(4), 0, 1);
    resultGrid->addWidget(makeLabel(5, QStringLiteral("X(m)")), 1, 0);
    resultGrid->addWidget(makeText(5), 1, 1);
    resultGrid->addWidget(makeLabel(6, QStringLiteral("Y(m)")), 2, 0);
    resultGrid->addWidget(makeText(6), 2, 1);
    auto* compute = button(QStringLiteral("Command1"), QStringLiteral("计算"));
    resultGrid->addWidget(compute, 3, 1);

    auto* datum = frame(QStringLiteral("坐标系统"));
    auto* datumGrid = new QGridLayout(datum);
    auto makeCombo = [](const QString& name) {
        auto* c = new QComboBox;
        c->setObjectName(name);
        c->setEditable(true);
        c->addItems({Beijing54, QStringLiteral("国家80坐标系")});
        c->setCurrentIndex(0);
        return c;
    };
    combo1_ = makeCombo(QStringLiteral("Combo1"));
    combo2_ = makeCombo(QStringLiteral("Combo2"));
    datumGrid->addWidget(makeLabel(7, QStringLiteral("转换前")), 0, 0);
    datumGrid->addWidget(combo1_, 0, 1);
    datumGrid->addWidget(makeLabel(8, QStringLiteral("转换后")), 1, 0);
    datumGrid->addWidget(combo2_, 1, 1);

    auto* meridian = frame(QStringLiteral("中央子午线"));
    auto* meridianGrid = new QGridLayout(meridian);
    meridianGrid->addWidget(makeLabel(9, QStringLiteral("转换前")), 0, 0);
    meridianGrid->addWidget(makeText(7), 0, 1);
    meridianGrid->addWidget(makeLabel(10, QStringLiteral("转换后")), 1, 0);
    meridianGrid->addWidget(makeText(8), 1, 1);

    auto* easting = frame(QString());
    auto* eastingBox = new QVBoxLayout(easting);
    option1_[0] = new QRadioButton(QStringLiteral("Y坐标中不含500公里"));
    option1_[1] = new QRadioButton(QStringLiteral("Y坐标中含500公里"));
    for (int i = 0; i < 2; ++i) {
        option1_[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        eastingBox->addWidget(option1_[i]);
    }
    option1_[0]->setChecked(true);

    auto* mode = frame(QStringLiteral("计算方案"));
    auto* modeBox = new QVBoxLayout(mode);
    const QString modeCaptions[3] = {QStringLiteral("正算"), QStringLiteral("反算"), QStringLiteral("换带计算")};
    for (int i = 0; i < 3; ++i) {
        option2_[i] = new QRadioButton(modeCaptions[i]);
        option2_[i]->setObjectName(QStringLiteral("Option2(%1)").arg(i));
        modeBox->addWidget(option2_[i]);
        connect(option2_[i], &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
    }
    option2_[0]->setChecked(true);

    auto* clear = button(QStringLiteral("Command5"), QStringLiteral("清空"));
    auto* back = button(QStringLiteral("Command6"), QStringLiteral("返回"));
    auto* dxf = button(QStringLiteral("Command7"), QStringLiteral("DXF文件换带"));
    auto* txt = button(QStringLiteral("Command8"), QStringLiteral("TXT文件转换"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setMaximum(0);

    auto* grid = new QGridLayout(this);
    grid->addWidget(known, 0, 0);
    grid->addWidget(result, 0, 1);
    grid->addWidget(datum, 1, 0);
    grid->addWidget(meridian, 1, 1);
    grid->addWidget(easting, 2, 0);
    grid->addWidget(mode, 2, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {clear, back, dxf, txt})
        buttons->addWidget(b);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->addWidget(progress_, 4, 0, 1, 2);

    connect(compute, &QPushButton::clicked, this, &HuanDaiJiSuan::Command1_Click);
    connect(clear, &QPushButton::clicked, this, &HuanDaiJiSuan::Command5_Click);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    connect(dxf, &QPushButton::clicked, this, &HuanDaiJiSuan::Command7_Click);
    connect(txt, &QPushButton::clicked, this, &HuanDaiJiSuan::Command8_Click);

    // Load hides only the progress bar; Text8 shows until a mode is clicked.
    progress_->hide();
}

ZoneForm HuanDaiJiSuan::zoneForm() const
{
    ZoneForm f;
    f.sourceDatum = combo1_->currentText();
    f.targetDatum = combo2_->currentText();
    f.sourceMeridian = text_[7]->text();
    f.targetMeridian = text_[8]->text();
    f.falseEasting = option1_[1]->isChecked();
    return f;
}

void HuanDaiJiSuan::Option2_Click(int index)
{
    static const char* const labels[3][4] = {
        {"B(dd.mmss)", "L(dd.mmss)", "X(m)", "Y(m)"},
        {"X(m)", "Y(m)", "B(dd.mmss)", "L(dd.mmss)"},
        {"X(m)", "Y(m)", "X(m)", "Y(m)"},
    };
    if (index < 0 || index > 2)
        return;
    option2_[index]->setChecked(true);
    label_[2]->setText(QString::fromLatin1(labels[index][0]));
    label_[3]->setText(QString::fromLatin1(labels[index][1]));
    label_[5]->setText(QString::fromLatin1(labels[index][2]));
    label_[6]->setText(QString::fromLatin1(labels[index][3]));
    text_[8]->setVisible(index == 2);
}

void HuanDaiJiSuan::Command1_Click()
{
    const ZoneForm form = zoneForm();
    const Projection p = form.projection();
    const std::optional<double> a = ParseNumber(text_[2]->text());
    const std::optional<double> b = ParseNumber(text_[3]->text());
    const std::optional<double> l0 = ParseNumber(text_[7]->text());
    if (!a || !b || !l0)
        return;
    double r1 = 0, r2 = 0;
    try {
        if (option2_[2]->isChecked()) {
            const std::optional<double> l0new = ParseNumber(text_[8]->text());
            if (!l0new)
                return;
            changeZone(*a, *b, *l0, *l0new, p, r1, r2);
        } else if (option2_[0]->isChecked()) {
            ZuoBiaoZhengSuan(*a, *b, *l0, r1, r2, p.forward, p.falseEasting);
        } else {
            ZuoBiaoFanSuan(*a, *b, *l0, r1, r2, p.inverse, p.falseEasting);
        }
    } catch (const RunError&) {
        return;
    }
    text_[5]->setText(NumberText(r1));
    text_[6]->setText(NumberText(r2));
}

void HuanDaiJiSuan::Command5_Click()
{
    for (int i = 1; i <= 6; ++i)
        text_[i]->clear();
}

void HuanDaiJiSuan::Command7_Click()
{
    WindowProgress progress(this, progress_);
    dxfZoneChange(ctx_, zoneForm(), &progress);
    progress_->hide();
}

void HuanDaiJiSuan::Command8_Click()
{
    textZoneChange(ctx_, zoneForm());
}

void showHuanDaiJiSuan(Context& ctx, QWidget* parent)
{
    HuanDaiJiSuan window(ctx, parent);
    window.exec();
}

} // namespace kelvor::coords
