#include "quick_popup.h"

#include "form1.h"

#include <QCursor>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace kelvor::app {

namespace {

class RightButtonPopup : public QObject {
public:
    RightButtonPopup(Form1& form, QObject* parent)
        : QObject(parent)
        , form_(form)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            if (QMenu* menu = form_.quickCallMenu())
                menu->exec(QCursor::pos());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Form1& form_;
};

} // namespace

void installQuickPopup(Form1& form)
{
    QGroupBox* frame = form.sheetFrame();
    auto* button = frame ? frame->findChild<QPushButton*>(QStringLiteral("Command37")) : nullptr;
    if (!button)
        return;
    button->installEventFilter(new RightButtonPopup(form, button));
}

} // namespace kelvor::app
