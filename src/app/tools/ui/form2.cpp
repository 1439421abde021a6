#include "form2.h"

#include "app/tools/about_texts.h"
#include "app/tools/lunar.h"
#include "platform/context.h"
#include "platform/ui/qt_ui.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace kelvor::tools {

namespace {

constexpr int kTwipsPerPixel = 15;

int px(int twips)
{
    return twips / kTwipsPerPixel;
}

} // namespace

Form2::Form2(Context& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ctx_(ctx)
    , left_(Marquee::kStartLeft)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(px(Marquee::kFormWidth), px(4695));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto label = [this](const QString& name, const QString& text, int x, int y, int w, int h) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(x, y, w, h);
        l->installEventFilter(this);
        return l;
    };

    title_ = label(QStringLiteral("Label1(6)"), QStringLiteral("Kelvor 2007"), px(left_), px(60),
                   px(Marquee::kLabelWidth), 20);
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);

    auto* cass = label(QStringLiteral("Picture1(0)"), QStringLiteral("CASS"), 16, 36, 80, 60);
    cass->setToolTip(QStringLiteral("南方CASS数字化成图系统"));
    cass->setFrameShape(QFrame::Box);
    cass->setAlignment(Qt::AlignCenter);
    auto* acad = label(QStringLiteral("Picture1(2)"), QStringLiteral("AutoCAD"), 104, 36, 80, 60);
    acad->setToolTip(QStringLiteral("AutoCAD 2000平台"));
    acad->setFrameShape(QFrame::Box);
    acad->setAlignment(Qt::AlignCenter);
    auto* icon = label(QStringLiteral("Picture1(1)"), QString(), 192, 44, 48, 48);
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));

    label(QStringLiteral("Label1(0)"), aboutAuthorsLine(), 16, 104, 370, 20);
    label(QStringLiteral("Label1(4)"), aboutTelephoneLine(), 16, 126, 370, 20);
    label(QStringLiteral("Label2"), displayText(aboutDateText(ctx_.ui().today())), 16, 150, 370, 54);
    auto* notice = label(QStringLiteral("Label1(7)"), compatibilityNotice(), 16, 206, 370, 64);
    notice->setWordWrap(true);

    auto button = [&](int i, const QString& caption, int x) {
        auto* pic = label(QStringLiteral("Picture2(%1)").arg(i), QString(), x, 276, 90, 28);
        pic->setFrameShape(QFrame::Panel);
        pic->setFrameShadow(QFrame::Raised);
        pic->setCursor(Qt::PointingHandCursor);
        auto* text = new QLabel(caption, pic);
        text->setObjectName(QStringLiteral("Label3(%1)").arg(i));
        text->setGeometry(4, 4, 82, 20);
        text->setAlignment(Qt::AlignCenter);
        text->setCursor(Qt::PointingHandCursor);
        text->installEventFilter(this);
    };
    button(0, QStringLiteral("电子邮箱"), 180);
    button(1, QStringLiteral("确 定"), 290);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_->start();
}

void Form2::tick()
{
    left_ = Marquee::step(left_);
    title_->move(px(left_), title_->y());
}

void Form2::clicked(const QString& name)
{
    Ui& ui = ctx_.ui();
    if (name == QStringLiteral("Label3(0)"))
        ui.message(aboutEmailText(), QStringLiteral("电子邮件"), Icon::Exclamation);
    else if (name == QStringLiteral("Picture2(0)"))
        ui.message(aboutEmailRequestText(), QStringLiteral("电子邮件"), Icon::Exclamation);
    else if (name.startsWith(QStringLiteral("Picture1(")))
        ui.message(aboutContactText(), QStringLiteral("联系"), Icon::Exclamation);
    else if (name == QStringLiteral("Label3(1)") || name == QStringLiteral("Picture2(1)"))
        accept();
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    // Labels and pictures take their own presses: only the bare surface drags.
    if (event->type() == QEvent::MouseButtonPress)
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* w = qobject_cast<QWidget*>(watched);
        auto* me = static_cast<QMouseEvent*>(event);
        if (w && w->rect().contains(me->position().toPoint())) {
            clicked(w->objectName());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form2::mousePressEvent(QMouseEvent* event)
{
    // Any button on the bare surface drags the window, as its caption would.
    if (QWindow* win = windowHandle())
        win->startSystemMove();
    event->accept();
}

} // namespace kelvor::tools
