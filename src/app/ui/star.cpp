#include "star.h"

#include "app/startup.h"
#include "app/ui/form1.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace kelvor::app {

Star::Star(const QDate& today, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("star"));
    setFixedSize(twips(6000), twips(3000));

    label1_ = new QLabel(compatibilityLine(), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setStyleSheet(QStringLiteral("color: white;"));
    label1_->setGeometry(20, 160, 360, 20);

    QFont dateFont(QStringLiteral("Arial Black"));
    dateFont.setPointSizeF(14.25);
    // Label3 is the shadow: 30 twips right of and below Label2, beneath it.
    label3_ = new QLabel(splashDate(today), this);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setFont(dateFont);
    label3_->setStyleSheet(QStringLiteral("color: #808080;"));
    label3_->setGeometry(230 + twips(30), 16 + twips(30), 160, 28);
    label2_ = new QLabel(splashDate(today), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setFont(dateFont);
    label2_->setStyleSheet(QStringLiteral("color: #C0C0C0;"));
    label2_->setGeometry(230, 16, 160, 28);

    timer2_.setInterval(2000);
    timer2_.setSingleShot(true);
    connect(&timer2_, &QTimer::timeout, this, [this] {
        close();
        emit finished();
    });

    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

QLabel* Star::label(int n) const
{
    return n == 1 ? label1_ : n == 2 ? label2_ : n == 3 ? label3_ : nullptr;
}

void Star::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0, QColor(0x10, 0x2a, 0x5c));
    g.setColorAt(1, QColor(0x2f, 0x6d, 0xb5));
    p.fillRect(rect(), g);
    QFont f(QStringLiteral("Arial Black"));
    f.setPointSize(30);
    p.setFont(f);
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.drawText(QRect(20, 60, 360, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kelvor 2007"));
    p.setPen(QColor(0xff, 0xff, 0xff, 0x60));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kelvor::app
