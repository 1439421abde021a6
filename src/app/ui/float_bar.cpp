#include "float_bar.h"

#include "form1.h"
#include "launcher.h"

#include "app/bars.h"
#include "platform/windows.h"
#include "platform/context.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QUrl>

namespace kelvor::app {

namespace {

// One bar at a time; 返回主界面 lets it go and the next opening makes a new one.
QPointer<FloatBar> s_bar;

constexpr int kTwipsPerPixel = 15;

QRect screenRect()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

// The four pictures, drawn here.
QPixmap barPicture(int index, const QSize& size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    switch (index) {
    case 0: { // a map sheet with contours: the CASS tools
        p.setPen(QPen(QColor(0x20, 0x40, 0x80), 1));
        p.setBrush(QColor(0xf4, 0xf8, 0xe8));
        p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 3, 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x9a, 0x5b, 0x1e), 1.2));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(r.center(), r.width() * (0.14 + 0.1 * i), r.height() * (0.1 + 0.08 * i));
        p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 1.4));
        const QPointF house(r.left() + 7, r.bottom() - 9);
        p.drawRect(QRectF(house, QSizeF(7, 5)));
        p.drawLine(house, house + QPointF(3.5, -3.5));
        p.drawLine(house + QPointF(3.5, -3.5), house + QPointF(7, 0));
        break;
    }
    case 1: { // a drafting triangle and pencil: the CAD aids
        p.setPen(QPen(QColor(0x20, 0x40, 0x80), 1));
        p.setBrush(QColor(0xe8, 0xf0, 0xff));
        p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 3, 3);
        p.setBrush(QColor(0x60, 0xa0, 0xe0, 160));
        p.drawPolygon(QPolygonF{QPointF(r.left() + 6, r.bottom() - 6), QPointF(r.left() + 6, r.top() + 7),
                                QPointF(r.right() - 7, r.bottom() - 6)});
        p.setPen(QPen(QColor(0xd0, 0x80, 0x10), 3));
        p.drawLine(QPointF(r.right() - 6, r.top() + 6), QPointF(r.center().x(), r.center().y() + 2));
        break;
    }
    case 2: { // a house: back to the main window
        p.setPen(QPen(QColor(0x10, 0x30, 0x70), 1.3));
        p.setBrush(QColor(0xff, 0xff, 0xff));
        QPainterPath path;
        path.moveTo(r.left() + 2, r.center().y());
        path.lineTo(r.center().x(), r.top() + 2);
        path.lineTo(r.right() - 2, r.center().y());
        path.lineTo(r.right() - 4, r.center().y());
        path.lineTo(r.right() - 4, r.bottom() - 2);
        path.lineTo(r.left() + 4, r.bottom() - 2);
        path.lineTo(r.left() + 4, r.center().y());
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case 3: // a cross: leave the program
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc0, 0x20, 0x20));
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(r.topLeft() + QPointF(5, 5), r.bottomRight() - QPointF(5, 5));
        p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.left() + 5, r.bottom() - 5));
        break;
    default:
        break;
    }
    return pm;
}

} // namespace

FloatBar::FloatBar(Context& ctx, Form1* form)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
    , ctx_(ctx)
    , form_(form)
{
    setObjectName(QStringLiteral("float"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(twips(kFloatWidth), twips(kFloatHeight));
    setAcceptDrops(true);

    const struct {
        int left, top, width, height;
        const char* tip;
    } pics[] = {
        {60, 60, 525, 510, "南方CASS系统的功能辅助"},
        {60, 630, 525, 540, "对Autocad 2000系统的图形数据进行辅助处理"},
        {60, 1230, 270, 270, "返回主界面"},
        {300, 1230, 270, 270, "退出本系统"},
    };
    for (int i = 0; i < 4; ++i) {
        auto* pic = new ClickLabel(this);
        pic->setObjectName(QStringLiteral("Picture1(%1)").arg(i));
        pic->setGeometry(twips(pics[i].left), twips(pics[i].top), twips(pics[i].width), twips(pics[i].height));
        pic->setPixmap(barPicture(i, pic->size()));
        pic->setToolTip(QString::fromUtf8(pics[i].tip));
        pic->onClick = [this, i] { clickPicture(i); };
        // drops over the pictures reach the bar, which takes them only on
        // the first one (see takesDropAt)
        pictures_[i] = pic;
    }

    auto* name = new ClickLabel(this);
    name->setObjectName(QStringLiteral("Label1"));
    name->unsetCursor();
    name->setGeometry(twips(690), twips(60), twips(270), twips(1470));
    name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    name->setText(QStringLiteral("K\nE\nL\nV\nO\nR"));
    QFont f = name->font();
    f.setPixelSize(13);
    f.setBold(true);
    name->setFont(f);
    QPalette pal = name->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    name->setPalette(pal);

    timer1_.setInterval(kFloatHandOverMs);
    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, &FloatBar::handOver);
    if (form)
        connect(form, &QObject::destroyed, this, &FloatBar::discard);

    // the load step: flush right, 500 above the bottom of the screen
    const QRect sg = screenRect();
    const QPoint home = floatBarHome(sg.size() * kTwipsPerPixel, size() * kTwipsPerPixel);
    move(sg.topLeft() + home / kTwipsPerPixel);
}

FloatBar* FloatBar::open(Context& ctx, Form1* form)
{
    FloatBar* bar = s_bar;
    if (!bar) {
        bar = new FloatBar(ctx, form);
        s_bar = bar;
    }
    bar->show();
    bar->raise();
    if (!bar->timer1_.isActive())
        bar->timer1_.start();
    return bar;
}

FloatBar* FloatBar::current()
{
    return s_bar;
}

ClickLabel* FloatBar::picture(int index) const
{
    return index >= 0 && index < 4 ? pictures_[index] : nullptr;
}

void FloatBar::handOver()
{
    if (form_)
        form_->hide();
    timer1_.stop();
    floatHandOver(ctx_);
}

void FloatBar::popUp(const QString& menuName)
{
    if (menuName.isEmpty() || !form_)
        return;
    if (QMenu* menu = form_->menu(menuName))
        menu->exec(QCursor::pos());
}

void FloatBar::clickPicture(int index)
{
    switch (index) {
    case 0:
        popUp(floatMenuName(ctx_.state().formTag));
        break;
    case 1:
        popUp(QStringLiteral("gaoji"));
        break;
    case 2: {
        timer1_.stop();
        QPointer<Form1> form = form_;
        discard();
        if (form)
            form->show();
        break;
    }
    case 3: {
        timer1_.stop();
        floatExit(ctx_);
        QPointer<Form1> form = form_;
        discard();
        if (form) {
            form->hide();
            emit form->programEnded();
        }
        break;
    }
    default:
        break;
    }
}

void FloatBar::discard()
{
    timer1_.stop();
    hide();
    if (s_bar == this)
        s_bar = nullptr;
    deleteLater();
}

void FloatBar::drop(const QMimeData& data)
{
    QStringList files;
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls())
            if (url.isLocalFile())
                files.append(url.toLocalFile());
    }
    joinDroppedFiles(ctx_, files);
}

void FloatBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0x80, 0x80, 0xff));
    // Shape1, the light panel behind the pictures
    p.fillRect(QRect(0, 0, twips(645), twips(1575)), QColor(0xc0, 0xc0, 0xff));
}

void FloatBar::mousePressEvent(QMouseEvent* e)
{
    // Only the background (and the panel painted on it) drags the bar.
    dragging_ = true;
    grab_ = e->globalPosition().toPoint() - pos();
    e->accept();
}

void FloatBar::mouseMoveEvent(QMouseEvent* e)
{
    if (dragging_)
        move(e->globalPosition().toPoint() - grab_);
    e->accept();
}

void FloatBar::mouseReleaseEvent(QMouseEvent* e)
{
    if (dragging_) {
        dragging_ = false;
        snap();
    }
    e->accept();
}

void FloatBar::snap()
{
    const QRect sg = screenRect();
    const QPoint at = (pos() - sg.topLeft()) * kTwipsPerPixel;
    const QPoint to = snapFloatBar(at, size() * kTwipsPerPixel, sg.size() * kTwipsPerPixel);
    move(sg.topLeft() + to / kTwipsPerPixel);
}

bool FloatBar::takesDropAt(const QPoint& at) const
{
    QWidget* over = childAt(at);
    for (int i = 1; i < 4; ++i)
        if (over == pictures_[i])
            return false;
    return true;
}

void FloatBar::dragEnterEvent(QDragEnterEvent* e)
{
    if (takesDropAt(e->position().toPoint()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void FloatBar::dragMoveEvent(QDragMoveEvent* e)
{
    if (takesDropAt(e->position().toPoint()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void FloatBar::dropEvent(QDropEvent* e)
{
    if (!takesDropAt(e->position().toPoint()) || !e->mimeData()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    drop(*e->mimeData());
}

void registerBarWindows(WindowRegistry& windows)
{
    windows.add(QStringLiteral("float"),
                [](Context& ctx, QWidget* mainWindow) { FloatBar::open(ctx, qobject_cast<Form1*>(mainWindow)); });
}

} // namespace kelvor::app
