#include "seting.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

namespace kelvor::tools {

namespace {

QString arrayName(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// Places a widget at (x, y) with a size, in pixels.
template <class W>
W* place(W* w, int x, int y, int width, int height)
{
    w->setGeometry(x, y, width, height);
    return w;
}

} // namespace

SetingDialog::SetingDialog(Context& ctx, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("seting"));
    setWindowTitle(QStringLiteral("参数设定"));
    setFixedSize(480, 400);

    tabs_ = place(new QTabBar(this), 8, 8, 464, 26);
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    for (const char* caption : {"系统设定", "导线计算", "其它设定"})
        tabs_->addTab(QString::fromUtf8(caption));
    for (int i = 0; i < 3; ++i) {
        pages_[std::size_t(i)] = new QFrame(this);
        pages_[std::size_t(i)]->setObjectName(arrayName("Frame1", i));
        pages_[std::size_t(i)]->setFrameShape(QFrame::StyledPanel);
        pages_[std::size_t(i)]->resize(456, 310);
    }

    // 导线计算
    QFrame* p = pages_[0];
    auto label = [](QWidget* page, const QString& text, int x, int y, int w) {
        return place(new QLabel(text, page), x, y, w, 22);
    };
    auto box = [this](QWidget* page, int i, int x, int y, int w) {
        auto* e = place(new QLineEdit(page), x, y, w, 22);
        e->setObjectName(arrayName("Text28", i));
        e->setMouseTracking(true);
        e->installEventFilter(this);
        text28_[std::size_t(i)] = e;
    };
    label(p, QStringLiteral("导线成果文件存放目录"), 10, 10, 160);
    box(p, 1, 170, 10, 210);
    auto* c61 = place(new QPushButton(QStringLiteral("浏览"), p), 385, 10, 60, 22);
    c61->setObjectName(QStringLiteral("Command61"));
    label(p, QStringLiteral("导线成果输出格式"), 10, 42, 160);
    auto* g1 = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        option1_[std::size_t(i)] = place(new QRadioButton(QStringLiteral("格式%1").arg(i + 1), p), 170 + 80 * i, 42, 76, 22);
        option1_[std::size_t(i)]->setObjectName(arrayName("Option1", i));
        g1->addButton(option1_[std::size_t(i)], i);
    }
    option1_[0]->setChecked(true);
    label(p, QStringLiteral("觇标高默认值"), 10, 74, 160);
    box(p, 2, 170, 74, 100);
    box(p, 3, 280, 74, 100);
    label(p, QStringLiteral("成果位数 平面取位"), 10, 106, 160);
    box(p, 4, 170, 106, 60);
    label(p, QStringLiteral("高程取位"), 240, 106, 70);
    box(p, 5, 310, 106, 60);
    label(p, QStringLiteral("已知点成果的文件名"), 10, 138, 160);
    box(p, 6, 170, 138, 210);
    auto* c65 = place(new QPushButton(QStringLiteral("浏览"), p), 385, 138, 60, 22);
    c65->setObjectName(QStringLiteral("Command65"));
    label(p, QStringLiteral("导线数据保存目录"), 10, 170, 160);
    box(p, 7, 170, 170, 210);
    auto* c66 = place(new QPushButton(QStringLiteral("浏览"), p), 385, 170, 60, 22);
    c66->setObjectName(QStringLiteral("Command66"));
    label(p, QStringLiteral("自定义导线限差值 P*(Sqr(N)  P="), 10, 202, 200);
    box(p, 0, 210, 202, 60);
    text28_[0]->setToolTip(QStringLiteral("城市测量规范：一级图根P=24;二级图根P=40、N为测站数"));
    label(p, QStringLiteral("Mh*Sqr(N) M="), 280, 202, 100);
    box(p, 13, 380, 202, 60);
    text28_[13]->setToolTip(QStringLiteral("规范规定：8秒导线为0.05;图根导线为0.1"));

    // 其它设定
    p = pages_[1];
    const std::pair<const char*, int> other[] = {
        {"工程名称：", 9}, {"作业单位：", 8}, {"坐标系统：", 12}, {"高程系统：", 11}, {"中央经度：", 10}};
    int y = 10;
    for (auto [caption, i] : other) {
        label(p, QString::fromUtf8(caption), 10, y, 90);
        box(p, i, 100, y, 340);
        y += 32;
    }

    // 系统设定: only the floating bar's options do anything
    p = pages_[2];
    label(p, QStringLiteral("初始界面停留时间(毫秒)"), 10, 10, 180);
    auto* t1 = place(new QLineEdit(QStringLiteral("1000"), p), 190, 10, 80, 22);
    t1->setObjectName(QStringLiteral("Text1(0)"));
    auto* k0 = place(new QCheckBox(QStringLiteral("退出系统时保存当前的设置"), p), 10, 42, 300, 22);
    k0->setObjectName(QStringLiteral("Check1(0)"));
    k0->setChecked(true);
    auto* k1 = place(new QCheckBox(QStringLiteral("启动初始界面"), p), 10, 74, 300, 22);
    k1->setObjectName(QStringLiteral("Check1(1)"));
    k1->setChecked(true);
    label(p, QStringLiteral("初始界面形式"), 10, 106, 100);
    auto* f2 = new QFrame(p);
    place(f2, 110, 106, 300, 22);
    int i = 0;
    for (const char* caption : {"典型", "创意", "动感"}) {
        auto* o = place(new QRadioButton(QString::fromUtf8(caption), f2), 80 * i, 0, 76, 22);
        o->setObjectName(arrayName("Option2", i++));
    }
    label(p, QStringLiteral("浮动条主显示:"), 10, 138, 100);
    auto* f3 = new QFrame(p);
    place(f3, 110, 138, 330, 22);
    i = 0;
    for (const char* caption : {"南方菜单", "工程内业", "工 具"}) {
        option3_[std::size_t(i)] = place(new QRadioButton(QString::fromUtf8(caption), f3), 90 * i, 0, 86, 22);
        option3_[std::size_t(i)]->setObjectName(arrayName("Option3", i));
        ++i;
    }
    option3_[0]->setChecked(true);

    auto* ok = place(new QPushButton(QStringLiteral("确定&D"), this), 300, 364, 80, 26);
    ok->setObjectName(QStringLiteral("Command62(0)"));
    auto* cancel = place(new QPushButton(QStringLiteral("取消&C"), this), 390, 364, 80, 26);
    cancel->setObjectName(QStringLiteral("Command62(1)"));

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { selectTab(index); });
    connect(ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(c61, &QPushButton::clicked, this, [this] { browseFolder(1); });
    connect(c66, &QPushButton::clicked, this, [this] { browseFolder(7); });
    connect(c65, &QPushButton::clicked, this, [this] { browseKnownPoints(); });

    // Enter in a box presses no button: only 确定&D stores.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);

    selectTab(0);
    finddx();
}

void SetingDialog::selectTab(int index)
{
    // Tab captions name their pages: 系统设定 Frame1(2), 导线计算 Frame1(0), 其它设定 Frame1(1).
    const QString caption = tabs_->tabText(index);
    int page = -1;
    if (caption == QStringLiteral("系统设定"))
        page = 2;
    else if (caption == QStringLiteral("导线计算"))
        page = 0;
    else if (caption == QStringLiteral("其它设定"))
        page = 1;
    if (page < 0)
        return;
    if (tabs_->currentIndex() != index) {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(index);
    }
    for (int i = 0; i < 3; ++i) {
        QFrame* f = pages_[std::size_t(i)];
        if (i == page) {
            f->move(tabs_->x() + 13, tabs_->y() + 27); // 200 and 400 twips
            f->show();
        } else {
            f->hide();
        }
    }
}

int SetingDialog::shownPage() const
{
    int shown = -1;
    for (int i = 0; i < 3; ++i) {
        if (!pages_[std::size_t(i)]->isHidden()) {
            if (shown >= 0)
                return -1;
            shown = i;
        }
    }
    return shown;
}

void SetingDialog::finddx()
{
    SetingValues v = values();
    tools::finddx(ctx_, v);
    showValues(v);
}

SetingValues SetingDialog::values() const
{
    SetingValues v;
    for (int i = 0; i < 14; ++i)
        v.text28[std::size_t(i)] = text28_[std::size_t(i)]->text();
    for (int i = 0; i < 3; ++i) {
        if (option1_[std::size_t(i)]->isChecked())
            v.format = i;
        if (option3_[std::size_t(i)]->isChecked())
            v.floatMenu = i;
    }
    return v;
}

void SetingDialog::showValues(const SetingValues& v)
{
    for (int i = 0; i < 14; ++i)
        text28_[std::size_t(i)]->setText(v.text28[std::size_t(i)]);
    option1_[std::size_t(v.format)]->setChecked(true);
}

void SetingDialog::accept()
{
    // A refused store keeps the dialog open with what was typed.
    if (storeSeting(ctx_, values()))
        QDialog::accept();
}

void SetingDialog::browseFolder(int box)
{
    const QString folder = TrimBlanks(cad::getpath(ctx_, QStringLiteral("请选择目录")));
    if (!folder.isEmpty())
        text28_[std::size_t(box)]->setText(folder);
}

void SetingDialog::browseKnownPoints()
{
    const QString file = TrimBlanks(CommonDialog(ctx_)
                                        .setTitle(QStringLiteral("已知点成果表文件"))
                                        .setFilter(QStringLiteral("Txt fileS(*.txt)|*.txt"))
                                        .setMultiSelect(false)
                                        .showOpen());
    if (!file.isEmpty())
        text28_[6]->setText(file);
}

void SetingDialog::updatePathTips()
{
    for (int i : {7, 1, 6})
        text28_[std::size_t(i)]->setToolTip(text28_[std::size_t(i)]->text());
}

bool SetingDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        updatePathTips();
    return QDialog::eventFilter(watched, event);
}

} // namespace kelvor::tools
