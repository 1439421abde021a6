#include "quick_popup.h"

#include "form1.h"
#include "traverse/commands.h"

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
        // The tooltip names the report the next adjustment will write.
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            if (auto* button = qobject_cast<QPushButton*>(watched))
                button->setToolTip(traverse::Command37_ToolTip(form_.context(), button->toolTip()));
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
    button->setMouseTracking(true); // the tooltip follows the sheet as the pointer moves
    button->installEventFilter(new RightButtonPopup(form, button));
}

} // namespace kelvor::app
