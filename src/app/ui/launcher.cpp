#include "launcher.h"

#include "form1.h"

#include <QFrame>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace kelvor::app {

// ---------------------------------------------------------------- ClickLabel

ClickLabel::ClickLabel(QWidget* parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mousePressEvent(QMouseEvent* e)
{
    pressed_ = true;
    e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    const bool click = pressed_ && rect().contains(e->position().toPoint());
    pressed_ = false;
    if (click && onClick)
        onClick();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* e)
{
    if (flashBorder) {
        // fixed single, and at once back to none
        setFrameShape(QFrame::Box);
        setFrameShape(QFrame::NoFrame);
    }
    e->accept();
}

// ---------------------------------------------------------------- pictures

namespace {

// A banner of the launcher: a gradient, a small emblem on the left and the
// window's name.
QPixmap banner(int index, const QSize& size)
{
    static const QColor tops[] = {QColor(0x1c, 0x3f, 0x8c), QColor(0x2e, 0x7d, 0x32), QColor(0x8e, 0x44, 0x0f),
                                  QColor(0x00, 0x69, 0x7c), QColor(0x5d, 0x40, 0x8f)};
    static const char* const names[] = {"Kelvor", "坐标放样", "Quelt平差", "其它工具", "参数设定"};
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, tops[index].lighter(150));
    g.setColorAt(1, tops[index]);
    p.setPen(tops[index].darker(130));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);

    const qreal h = size.height();
    const QRectF emblem(4, 4, h - 8, h - 8);
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    switch (index) {
    case 0: { // a surveyor's tripod
        const QPointF top(emblem.center().x(), emblem.top());
        p.drawLine(top, emblem.bottomLeft());
        p.drawLine(top, emblem.bottomRight());
        p.drawLine(top, QPointF(emblem.center().x(), emblem.bottom()));
        break;
    }
    case 1: // a stake-out target
        p.drawEllipse(emblem);
        p.drawEllipse(emblem.adjusted(5, 5, -5, -5));
        p.drawLine(QPointF(emblem.center().x(), emblem.top()), QPointF(emblem.center().x(), emblem.bottom()));
        p.drawLine(QPointF(emblem.left(), emblem.center().y()), QPointF(emblem.right(), emblem.center().y()));
        break;
    case 2: { // a traverse: stations joined by legs
        QPainterPath path;
        path.moveTo(emblem.bottomLeft());
        path.lineTo(emblem.left() + emblem.width() * 0.35, emblem.top() + 3);
        path.lineTo(emblem.left() + emblem.width() * 0.7, emblem.bottom() - 4);
        path.lineTo(emblem.topRight());
        p.drawPath(path);
        p.setBrush(Qt::white);
        for (int i = 0; i < path.elementCount(); ++i)
            p.drawEllipse(QPointF(path.elementAt(i).x, path.elementAt(i).y), 1.6, 1.6);
        break;
    }
    case 3: // a calculator
        p.drawRoundedRect(emblem.adjusted(2, 0, -2, 0), 2, 2);
        p.drawRect(emblem.adjusted(4, 2, -4, -emblem.height() * 0.6));
        p.setBrush(Qt::white);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(emblem.left() + 5 + c * 4.5, emblem.top() + emblem.height() * 0.55 + r * 4.5, 2, 2));
        break;
    case 4: { // a gear
        const QPointF c = emblem.center();
        const qreal r = emblem.width() / 2;
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(i * 45);
            p.drawLine(QPointF(0, -r * 0.55), QPointF(0, -r));
            p.restore();
        }
        p.drawEllipse(c, r * 0.6, r * 0.6);
        p.drawEllipse(c, r * 0.2, r * 0.2);
        break;
    }
    default:
        break;
    }

    QFont f = p.font();
    f.setPixelSize(int(h * 0.45));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(h, 0, size.width() - h - 3, h), Qt::AlignCenter, QString::fromUtf8(names[index]));
    return pm;
}

} // namespace

void installLauncher(Form1& form)
{
    QFrame* panel = form.launcherPanel();
    const int pictureTops[] = {660, 1320, 1950, 2610, 3270};
    for (int i = 0; i < 5; ++i) {
        auto* pic = new ClickLabel(panel);
        pic->setObjectName(QStringLiteral("Picture2(%1)").arg(i));
        pic->setGeometry(twips(60), twips(pictureTops[i]), twips(1650), twips(450));
        pic->setPixmap(banner(i, pic->size()));
        pic->flashBorder = true;
        pic->setMouseTracking(true);
        const QString item = pic->objectName();
        pic->onClick = [&form, item] { form.runItem(item); };
    }

    const int labelTops[] = {4200, 4620, 5040, 5430, 5820};
    static const char* const captions[] = {"文本文件合并", "Dwg 图形合并", "线坐标处理", "标注地类编码", "查看记录文件"};
    for (int i = 0; i < 5; ++i) {
        auto* label = new ClickLabel(panel);
        label->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        label->setText(QString::fromUtf8(captions[i]));
        label->setGeometry(twips(510), twips(labelTops[i]), twips(i == 2 ? 900 : 1080), twips(180));
        QFont f = label->font();
        f.setPixelSize(twips(180) - 1);
        label->setFont(f);
        // a wider font than the one the sizes were made for must not cut the text
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 0x40));
        label->setPalette(pal);
        const QString item = label->objectName();
        label->onClick = [&form, item] { form.runItem(item); };
    }
}

} // namespace kelvor::app
