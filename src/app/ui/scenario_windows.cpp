#include "scenario_windows.h"

#include "form1.h"

#include "platform/context.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <functional>

namespace kelvor::app {

namespace {

// Lets posted events (deferred loads, layout, focus changes) happen.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

[[noreturn]] void fault(const QString& text)
{
    throw WindowStepError(text);
}

bool ownControl(const QWidget* w, const QWidget& form)
{
    return w != &form && w->window() == &form && !w->objectName().isEmpty()
           && !w->objectName().startsWith(QLatin1String("qt_"));
}

// A control of the form (not of a window the form owns); widgets before
// menu items.
QObject* findControl(QWidget& form, const QString& name)
{
    for (QWidget* w : form.findChildren<QWidget*>(name)) {
        if (ownControl(w, form))
            return w;
    }
    const QList<QAction*> actions = form.findChildren<QAction*>(name);
    return actions.isEmpty() ? nullptr : actions.first();
}

// A person clicks into the box before typing.
void focus(QWidget* w)
{
    if (w->focusPolicy() & Qt::ClickFocus)
        w->setFocus(Qt::MouseFocusReason);
    settle();
}

void sendKey(QWidget* w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

// Replaces the box's text the way typing does: the old text selected and
// typed over in one edit, committed as an input method commits (any
// script), so textEdited and textChanged come as from a keyboard; an empty
// text is the selection deleted.
void typeInto(QLineEdit* e, const QString& text)
{
    focus(e);
    e->selectAll();
    if (text.isEmpty()) {
        if (e->hasSelectedText())
            sendKey(e, Qt::Key_Delete);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(e, &commit);
    }
    settle();
}

void clickWidget(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        focus(b);
        b->click();
        return;
    }
    // labels and pictures react to the mouse itself
    focus(w);
    const QPointF centre(w->width() / 2.0, w->height() / 2.0);
    const QPointF global = w->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

// A double-click where the person's mouse would make it: a control's
// centre, or a point of the form's background that no control covers.
void doubleClickWidget(QWidget* w, QPointF at)
{
    focus(w);
    const QPointF global = w->mapToGlobal(at);
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(t, at, global, Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
}

class StepRunner {
public:
    StepRunner(QWidget& form, const QString& formName)
        : form_(form)
        , name_(formName)
    {
    }

    QObject* control(const QString& name) const
    {
        QObject* c = findControl(form_, name);
        if (!c)
            fault(QStringLiteral("form %1 has no control \"%2\"").arg(name_, name));
        if (auto* w = qobject_cast<QWidget*>(c)) {
            if (!w->isEnabled())
                fault(QStringLiteral("control %1 of form %2 is disabled").arg(name, name_));
            if (!w->isVisibleTo(&form_))
                fault(QStringLiteral("control %1 of form %2 is not shown").arg(name, name_));
        } else if (auto* a = qobject_cast<QAction*>(c); a && !a->isEnabled()) {
            fault(QStringLiteral("control %1 of form %2 is disabled").arg(name, name_));
        }
        return c;
    }

    void set(const QString& name, const QJsonValue& v) const
    {
        QObject* c = control(name);
        if (auto* a = qobject_cast<QAction*>(c)) {
            if (!v.isBool() || !a->isCheckable())
                refuse(name, v);
            if (a->isChecked() != v.toBool())
                a->trigger();
        } else if (auto* e = qobject_cast<QLineEdit*>(c)) {
            if (!v.isString())
                refuse(name, v);
            if (e->isReadOnly())
                fault(QStringLiteral("control %1 of form %2 is read-only").arg(name, name_));
            typeInto(e, v.toString());
        } else if (auto* box = qobject_cast<QComboBox*>(c)) {
            if (v.isString() && box->isEditable()) {
                typeInto(box->lineEdit(), v.toString());
            } else if (v.isString()) {
                const int i = box->findText(v.toString(), Qt::MatchExactly);
                if (i < 0)
                    fault(QStringLiteral("list %1 of form %2 has no item \"%3\"").arg(name, name_, v.toString()));
                choose(box, i);
            } else if (v.isDouble()) {
                choose(box, index(name, v, box->count()));
            } else {
                refuse(name, v);
            }
        } else if (auto* list = qobject_cast<QListWidget*>(c)) {
            int i = -1;
            if (v.isString()) {
                const QList<QListWidgetItem*> found = list->findItems(v.toString(), Qt::MatchExactly);
                if (found.isEmpty())
                    fault(QStringLiteral("list %1 of form %2 has no item \"%3\"").arg(name, name_, v.toString()));
                i = list->row(found.first());
            } else if (v.isDouble()) {
                i = index(name, v, list->count());
            } else {
                refuse(name, v);
            }
            focus(list);
            list->setCurrentRow(i);
            emit list->itemClicked(list->item(i));
        } else if (auto* b = qobject_cast<QAbstractButton*>(c)) {
            if (!v.isBool() || !b->isCheckable())
                refuse(name, v);
            if (b->isChecked() == v.toBool())
                return;
            if (!v.toBool() && b->autoExclusive())
                fault(QStringLiteral("option %1 of form %2 is unticked only by ticking another").arg(name, name_));
            clickWidget(b);
        } else if (auto* tabs = qobject_cast<QTabBar*>(c)) {
            const int i = tabIndex(name, v, tabs->count(), [tabs](int k) { return tabs->tabText(k); });
            tabs->setCurrentIndex(i);
            emit tabs->tabBarClicked(i);
        } else if (auto* pages = qobject_cast<QTabWidget*>(c)) {
            const int i = tabIndex(name, v, pages->count(), [pages](int k) { return pages->tabText(k); });
            pages->setCurrentIndex(i);
            emit pages->tabBarClicked(i);
        } else if (auto* t = qobject_cast<QTextEdit*>(c)) {
            if (!v.isString() || t->isReadOnly())
                refuse(name, v);
            focus(t);
            t->selectAll();
            t->insertPlainText(v.toString());
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(c)) {
            if (!v.isString() || p->isReadOnly())
                refuse(name, v);
            focus(p);
            p->selectAll();
            p->insertPlainText(v.toString());
        } else {
            refuse(name, v);
        }
        settle();
    }

    void click(const QString& name) const
    {
        QObject* c = control(name);
        if (auto* a = qobject_cast<QAction*>(c))
            a->trigger();
        else
            clickWidget(static_cast<QWidget*>(c));
        settle();
    }

    void doubleClick(const QString& name) const
    {
        if (name != name_) {
            QWidget* w = qobject_cast<QWidget*>(control(name));
            if (!w)
                fault(QStringLiteral("control %1 of form %2 takes no double-click").arg(name, name_));
            if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
                // on the entry chosen (by "set"), else on the list's empty area
                QWidget* area = view->viewport();
                const QModelIndex current = view->currentIndex();
                const QRect at = current.isValid() ? view->visualRect(current) : area->rect();
                doubleClickWidget(area, QPointF(at.center()));
            } else {
                doubleClickWidget(w, QPointF(w->width() / 2.0, w->height() / 2.0));
            }
        } else {
            doubleClickWidget(&form_, freePoint());
        }
        settle();
    }

private:
    QPointF freePoint() const
    {
        for (int y = 1; y < form_.height(); y += 4)
            for (int x = 1; x < form_.width(); x += 4)
                if (!form_.childAt(x, y))
                    return QPointF(x, y);
        fault(QStringLiteral("form %1 shows no background to double-click").arg(name_));
    }

    [[noreturn]] void refuse(const QString& name, const QJsonValue& v) const
    {
        const QString shown = v.isString() ? QStringLiteral("\"%1\"").arg(v.toString())
                                           : v.toVariant().toString();
        fault(QStringLiteral("control %1 of form %2 cannot be set to %3").arg(name, name_, shown));
    }

    int index(const QString& name, const QJsonValue& v, int count) const
    {
        const int i = v.toInt(-1);
        if (i < 0 || i >= count)
            fault(QStringLiteral("list %1 of form %2 has no item %3").arg(name, name_).arg(v.toDouble()));
        return i;
    }

    // A tab by its index or its caption.
    int tabIndex(const QString& name, const QJsonValue& v, int count, const std::function<QString(int)>& caption) const
    {
        if (v.isDouble())
            return index(name, v, count);
        if (!v.isString())
            refuse(name, v);
        for (int k = 0; k < count; ++k) {
            if (caption(k) == v.toString())
                return k;
        }
        fault(QStringLiteral("tabs %1 of form %2 have no tab \"%3\"").arg(name, name_, v.toString()));
    }

    // A person's choice in the drop-down: the selection changes, then
    // activated follows (also for the item already chosen).
    void choose(QComboBox* box, int i) const
    {
        focus(box);
        box->setCurrentIndex(i);
        emit box->activated(i);
        emit box->textActivated(box->itemText(i));
    }

    QWidget& form_;
    QString name_;
};

} // namespace

QJsonObject controlTexts(QWidget& form)
{
    QJsonObject out;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!ownControl(w, form) || out.contains(w->objectName()))
            continue;
        QJsonValue v;
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            v = e->text();
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            v = c->currentText();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            v = b->isCheckable() ? QJsonValue(b->isChecked()) : QJsonValue(b->text());
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            v = l->text();
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            v = g->isCheckable() ? QJsonValue(g->isChecked()) : QJsonValue(g->title());
        } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
            v = t->toPlainText();
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            v = p->toPlainText();
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            v = tabs->currentIndex();
        } else if (auto* pages = qobject_cast<QTabWidget*>(w)) {
            v = pages->currentIndex();
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            QJsonArray items;
            for (int i = 0; i < list->count(); ++i)
                items.append(list->item(i)->text());
            QJsonObject l{{QStringLiteral("items"), items}, {QStringLiteral("index"), list->currentRow()}};
            if (list->selectionMode() == QAbstractItemView::MultiSelection
                || list->selectionMode() == QAbstractItemView::ExtendedSelection) {
                QJsonArray selected;
                for (int i = 0; i < list->count(); ++i)
                    if (list->item(i)->isSelected())
                        selected.append(i);
                l.insert(QStringLiteral("selected"), selected);
            }
            v = l;
        } else {
            continue;
        }
        out.insert(w->objectName(), v);
    }
    // The form's Tag, where it keeps one (the on-top state of outExcelx).
    if (const QVariant tag = form.property("Tag"); tag.isValid())
        out.insert(QStringLiteral("Tag"), tag.toString());
    return out;
}

ScenarioWindowDriver::ScenarioWindowDriver(const WindowRegistry& windows)
    : windows_(windows)
{
}

ScenarioWindowDriver::~ScenarioWindowDriver()
{
    finish();
}

void ScenarioWindowDriver::start(Context& ctx, CommandRegistry& registry)
{
    ctx_ = &ctx;
    registry_ = &registry;
}

void ScenarioWindowDriver::opened(const QString& form)
{
    if (QWidget* w = openForm(form)) {
        w->raise();
        w->activateWindow();
        settle();
        return;
    }
    if (!windows_.has(form)) {
        // the registry's own word that the window is not there
        windows_.open(form, *ctx_, nullptr);
        return;
    }
    if (!windows_.buildable(form)) {
        blocking_.insert(form);
        return;
    }
    QWidget* w = windows_.build(form, *ctx_, nullptr);
    open_[form] = w;
    // modal or not, shown without waiting for it to close
    w->show();
    w->activateWindow();
    settle();
}

QWidget* ScenarioWindowDriver::openForm(const QString& form) const
{
    if (form == QLatin1String("Form1"))
        return form1_.get();
    auto it = open_.find(form);
    return it == open_.end() ? nullptr : it->second.data();
}

QWidget* ScenarioWindowDriver::mainWindow()
{
    if (!form1_) {
        // the main window installs its own window opening; the runner's stays
        const auto openWindow = ctx_->openWindow;
        form1_ = std::make_unique<Form1>(*ctx_, *registry_, windows_);
        ctx_->openWindow = openWindow;
        form1_->refreshMenus();
        form1_->show();
        form1_->activateWindow();
        settle();
    }
    return form1_.get();
}

void ScenarioWindowDriver::forget(const QString& form)
{
    auto it = open_.find(form);
    if (it == open_.end())
        return;
    delete it->second.data();
    open_.erase(it);
}

QJsonObject ScenarioWindowDriver::step(const WindowStep& s)
{
    QWidget* w = nullptr;
    if (s.form == QLatin1String("Form1")) {
        w = mainWindow();
    } else {
        if (!windows_.has(s.form))
            fault(QStringLiteral("no form \"%1\"").arg(s.form));
        w = openForm(s.form);
        if (!w && ctx_->openWindow)
            ctx_->openWindow(s.form);
        w = openForm(s.form);
        if (!w)
            fault(QStringLiteral("form %1 opens only as a blocking window").arg(s.form));
    }
    QPointer<QWidget> form(w);
    const StepRunner runner(*w, s.form);
    for (const auto& [name, value] : s.set)
        runner.set(name, value);
    QJsonObject texts = controlTexts(*w);
    if (!s.click.isEmpty())
        runner.click(s.click);
    if (form && !s.doubleClick.isEmpty())
        runner.doubleClick(s.doubleClick);
    if (!form) {
        // the click closed the form for good: its texts as the click found them
        open_.erase(s.form);
        return texts;
    }
    texts = controlTexts(*form);
    if (s.close) {
        form->close();
        settle();
        if (form)
            texts = controlTexts(*form);
    }
    // a form its own buttons hid (确定, 返回) is closed too
    if (form && !form->isVisible() && form != form1_.get())
        forget(s.form);
    return texts;
}

void ScenarioWindowDriver::finish()
{
    for (auto& [name, w] : open_)
        delete w.data();
    open_.clear();
    form1_.reset();
    settle();
}

} // namespace kelvor::app
