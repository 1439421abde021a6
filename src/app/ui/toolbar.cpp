#include "toolbar.h"

#include "form1.h"

#include "app/bars.h"
#include "platform/context.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace kelvor::app {

namespace {

struct Button {
    const char* key;
    const char* tooltip;
};

const Button kButtons[] = {
    {"浮动条", "进行浮动条"},     {"参数设定", "浮动菜单(横)"},   {"多义线加点", "多义线加点"},
    {"打点检测", "打点检测"},     {"三点地物", "三点地物"},       {"文字修改", "文字修改"},
    {"规范文字注记", "规范文字注记"}, {"建立临时块", "建立临时块"}, {"插入临时块", "插入临时块"},
    {"坐标标注", "坐标标注(引线)"}, {"修改线型宽度", "修改线型宽度"},
};

// The sixteen-pixel images of the eleven buttons, drawn here.
QIcon buttonIcon(int n)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x20, 0x30, 0x60);
    const QColor accent(0xd0, 0x30, 0x20);
    p.setPen(QPen(ink, 1.2));
    auto dot = [&p](qreal x, qreal y, const QColor& c) {
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(x, y), 1.8, 1.8);
        p.restore();
    };
    switch (n) {
    case 0: // floating bar: a small tall window over a large one
        p.drawRect(QRectF(1.5, 3.5, 10, 10));
        p.setBrush(QColor(0x80, 0x80, 0xff));
        p.drawRect(QRectF(9.5, 1.5, 5, 12));
        break;
    case 1: // compact toolbar: a wide strip with buttons
        p.setBrush(QColor(0xe0, 0xe8, 0xff));
        p.drawRect(QRectF(0.5, 5.5, 15, 6));
        for (int i = 0; i < 4; ++i)
            dot(3 + i * 3.4, 8.5, ink);
        break;
    case 2: { // add a vertex to a polyline
        QPainterPath path(QPointF(1, 13));
        path.lineTo(6, 5);
        path.lineTo(11, 11);
        path.lineTo(15, 3);
        p.drawPath(path);
        p.setPen(QPen(accent, 1.6));
        p.drawLine(QPointF(8.5, 0.5), QPointF(8.5, 6.5));
        p.drawLine(QPointF(5.5, 3.5), QPointF(11.5, 3.5));
        break;
    }
    case 3: // check plotted points
        dot(3, 4, ink);
        dot(7, 10, ink);
        dot(12, 5, ink);
        p.setPen(QPen(accent, 1.6));
        p.drawLine(QPointF(6, 12), QPointF(9, 15));
        p.drawLine(QPointF(9, 15), QPointF(15, 8));
        break;
    case 4: // a feature from three points
        p.drawPolygon(QPolygonF{QPointF(2, 14), QPointF(8, 2), QPointF(14, 14)});
        dot(2, 14, accent);
        dot(8, 2, accent);
        dot(14, 14, accent);
        break;
    case 5: { // edit text: a letter and a pen
        QFont f = p.font();
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 10, 15), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QPen(accent, 2));
        p.drawLine(QPointF(9, 14), QPointF(15, 6));
        break;
    }
    case 6: { // standard annotation: a letter on a baseline
        QFont f = p.font();
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 16, 13), Qt::AlignCenter, QStringLiteral("T"));
        p.setPen(QPen(accent, 1.4));
        p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
        break;
    }
    case 7: // make a temporary block
        p.setBrush(QColor(0xff, 0xf0, 0xc0));
        p.drawRect(QRectF(1.5, 4.5, 9, 9));
        p.setPen(QPen(accent, 1.6));
        p.drawLine(QPointF(12.5, 0.5), QPointF(12.5, 7.5));
        p.drawLine(QPointF(9, 4), QPointF(16, 4));
        break;
    case 8: // insert the temporary block
        p.setBrush(QColor(0xff, 0xf0, 0xc0));
        p.drawRect(QRectF(5.5, 5.5, 9, 9));
        p.setPen(QPen(accent, 1.6));
        p.drawLine(QPointF(1, 1), QPointF(8, 8));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(4, 8));
        break;
    case 9: // a coordinate note on a leader
        p.drawLine(QPointF(1, 8), QPointF(7, 8));
        p.drawLine(QPointF(4, 5), QPointF(4, 11));
        p.drawLine(QPointF(4, 8), QPointF(10, 3));
        p.drawLine(QPointF(10, 3), QPointF(15, 3));
        p.setPen(QPen(accent, 1.2));
        p.drawLine(QPointF(10, 6.5), QPointF(15, 6.5));
        break;
    case 10: // line widths
        p.setPen(QPen(ink, 1));
        p.drawLine(QPointF(1, 3), QPointF(15, 3));
        p.setPen(QPen(ink, 2));
        p.drawLine(QPointF(1, 7), QPointF(15, 7));
        p.setPen(QPen(accent, 3.5));
        p.drawLine(QPointF(2, 12.5), QPointF(14, 12.5));
        break;
    default:
        break;
    }
    return QIcon(pm);
}

} // namespace

void installToolbar1(Form1& form)
{
    QToolBar* bar = form.toolbar();
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFloatable(false);
    int n = 0;
    for (const Button& b : kButtons) {
        const QString key = QString::fromUtf8(b.key);
        QAction* a = bar->addAction(buttonIcon(n), key);
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tooltip));
        QObject::connect(a, &QAction::triggered, &form, [&form, key] { toolbarButtonClick(form, key); });
        ++n;
        if (n == 7) {
            // five entries "a" to "e" keyed "1" to "5"; nothing handles them
            auto* drop = new QMenu(bar);
            for (int i = 0; i < 5; ++i)
                drop->addAction(QString(QChar(u'a' + i)))->setObjectName(QString::number(i + 1));
            if (auto* tb = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
                tb->setMenu(drop);
                tb->setPopupMode(QToolButton::MenuButtonPopup);
            }
        }
        if (n == 2 || n == 4 || n == 7)
            bar->addSeparator();
    }
}

void toolbarButtonClick(Form1& form, const QString& key)
{
    if (key == compactKey()) {
        switchCompactMode(form);
        return;
    }
    const QString item = toolbarItem(key);
    if (!item.isEmpty())
        form.runItem(item);
}

void switchCompactMode(Form1& form)
{
    Context& ctx = form.context();
    const CompactSwitch s = compactSwitch(ctx.state().toolbarTag);
    if (!s.change)
        return;
    // Heights are of the whole window, its caption bar included.
    const int frameExtra = form.frameGeometry().height() - form.geometry().height();
    const QRect g = form.geometry();
    const bool shown = form.isVisible();
    if (form.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != s.topmost) {
        form.setWindowFlag(Qt::WindowStaysOnTopHint, s.topmost);
        if (shown)
            form.show(); // changing the flags hides a shown window
    }
    form.setWindowTitle(s.caption);
    const int outer = s.compactHeight ? form.toolbar()->height() + twips(kCompactExtraTwips) : twips(kNormalHeightTwips);
    form.setGeometry(g.x(), g.y(), g.width(), std::max(1, outer - frameExtra));
    ctx.state().toolbarTag = s.tag;
}

} // namespace kelvor::app
