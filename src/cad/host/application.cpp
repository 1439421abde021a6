#include "cad/host/application.h"

#include "cad/host/cmd_commands.h"
#include "cad/dxf/dxf.h"
#include "routines/routines.h"

#include "cad/model/layouts.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kelvor::cad {

namespace {

// Until a source is set every question is cancelled, as if the person at
// the screen pressed Esc.
class NoInput : public InputSource {
public:
    Input next(const QString&, const QString&) override { return Input{}; }
};

} // namespace

// ---------------------------------------------------------------- CommandInput

QString CommandInput::nextWord(const QString& asking, const QString& prompt)
{
    const QString t = nextText(asking, prompt);
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return t;
    pushFront(t.mid(blank + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    return t.left(blank);
}

QString CommandInput::nextText(const QString& asking, const QString& prompt)
{
    DocumentHost* app = doc_.host();
    if (app && !prompt.isEmpty())
        app->appendTranscript(prompt);
    if (!atEnd())
        return items_.at(pos_++);
    if (!app)
        fault(fail::Cancelled, QStringLiteral("the command line text ended"));
    const Input in = app->input().next(asking, prompt);
    if (in.kind == Input::Esc || in.kind == Input::EmptyPick)
        fault(fail::Cancelled, QStringLiteral("cancelled"));
    if (in.kind == Input::Enter)
        return {};
    auto expression = [&](const QString& handle, const Point* p) {
        QString t = QStringLiteral("(handent \"%1\")").arg(handle);
        if (p)
            t = QStringLiteral("(list%1(list %2 %3 %4))").arg(t, NumberText(p->x), NumberText(p->y), NumberText(p->z));
        return t;
    };
    if (!in.handles.isEmpty()) { // a selection: its entities, then Enter
        for (qsizetype i = 1; i < in.handles.size(); ++i)
            items_.append(expression(in.handles.at(i), nullptr));
        items_.append(QString());
        return expression(in.handles.front(), nullptr);
    }
    if (asking == QLatin1String("select"))
        return {};
    if (!in.handle.isEmpty() && in.handle != QLatin1String("keyword"))
        return expression(in.handle, &in.point);
    if (asking == QLatin1String("point") && in.text.isEmpty())
        return NumberText(in.point.x) + QLatin1Char(',') + NumberText(in.point.y) + QLatin1Char(',')
            + NumberText(in.point.z);
    return in.text;
}

double CommandInput::nextReal()
{
    const QString t = nextText(QStringLiteral("real")).trimmed();
    const std::optional<double> v = numberOf(t);
    if (!v)
        fault(fail::Failed, QStringLiteral("\"%1\" is not a number").arg(t));
    return *v;
}

Point CommandInput::nextPoint()
{
    const QString t = nextText(QStringLiteral("point")).trimmed();
    const std::optional<Point> p = pointOf(t);
    if (!p)
        fault(fail::Failed, QStringLiteral("\"%1\" is not a point").arg(t));
    return *p;
}

Entity* CommandInput::nextEntity(Point* pick)
{
    return entityFromExpression(doc_, nextText(QStringLiteral("entity")), pick);
}

Entity* entityFromExpression(Document& doc, const QString& text, Point* pick)
{
    const QString t = text.trimmed();
    const int h = t.indexOf(QLatin1String("(handent"), 0, Qt::CaseInsensitive);
    const int q1 = h < 0 ? -1 : t.indexOf(QLatin1Char('"'), h);
    const int q2 = q1 < 0 ? -1 : t.indexOf(QLatin1Char('"'), q1 + 1);
    if (q2 < 0)
        fault(fail::Failed, QStringLiteral("\"%1\" is not an entity").arg(t));
    Entity* e = doc.HandleToObject(t.mid(q1 + 1, q2 - q1 - 1));
    if (pick) {
        *pick = {};
        const int l = t.indexOf(QLatin1String("(list"), q2, Qt::CaseInsensitive);
        if (l >= 0) {
            const int end = t.indexOf(QLatin1Char(')'), l);
            const QStringList n = t.mid(l + 5, end - l - 5).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            pick->x = numberOf(n.value(0)).value_or(0);
            pick->y = numberOf(n.value(1)).value_or(0);
            pick->z = numberOf(n.value(2)).value_or(0);
        }
    }
    return e;
}

// ---------------------------------------------------------------- menus

MenuItem& PopupMenu::AddMenuItem(int index, const QString& label, const QString& macro)
{
    MenuItem item;
    item.label = label;
    item.macro = macro;
    const int at = index < 0 || index > Count() ? Count() : index;
    items_.insert(items_.begin() + at, item);
    if (onMenuBar())
        app_->menusChanged();
    return items_[at];
}

void PopupMenu::AddSeparator(int index)
{
    MenuItem item;
    item.separator = true;
    const int at = index < 0 || index > Count() ? Count() : index;
    items_.insert(items_.begin() + at, item);
    if (onMenuBar())
        app_->menusChanged();
}

void PopupMenu::InsertInMenuBar(int index)
{
    app_->insertInMenuBar(this, index);
}

bool PopupMenu::onMenuBar() const
{
    for (int i = 0; i < app_->MenuBarCount(); ++i)
        if (app_->MenuBarItem(i) == this)
            return true;
    return false;
}

PopupMenu& MenuGroup::MenusAdd(const QString& name)
{
    if (name.isEmpty())
        fault(fail::Failed, QStringLiteral("a menu needs a name"));
    menus_.push_back(std::make_unique<PopupMenu>(app_, name));
    return *menus_.back();
}

PopupMenu& MenuGroup::MenusItem(int index)
{
    if (index < 0 || index >= MenusCount())
        fault(fail::NotFound, QStringLiteral("no menu %1").arg(index));
    return *menus_[index];
}

// ---------------------------------------------------------------- Application

Application::Application()
    : input_(std::make_unique<NoInput>())
{
    DocumentsAdd();
    auto group = std::make_unique<MenuGroup>(this, QStringLiteral("ACAD"));
    for (const char* name : {"文件(&F)", "编辑(&E)", "视图(&V)", "插入(&I)", "格式(&O)", "工具(&T)", "绘图(&D)",
                             "标注(&N)", "修改(&M)", "窗口(&W)", "帮助(&H)"}) {
        PopupMenu& m = group->MenusAdd(QString::fromUtf8(name));
        menuBar_.push_back(&m);
    }
    menuGroups_.push_back(std::move(group));
    const auto help = [this](CommandInput&) { appendTranscript(commandHelp()); };
    registerCommand(QStringLiteral("HELP"), help, QStringLiteral("列出命令行认得的命令"));
    registerCommand(QStringLiteral("?"), help, QStringLiteral("列出命令行认得的命令"));
}

Application::~Application() = default;

void Application::attach() const
{
    if (!running_)
        raise(err::NoServer);
}

void Application::setRunning(bool on)
{
    running_ = on;
    notify(HostView::Running);
}

void Application::setVisible(bool on)
{
    visible_ = on;
    events_.append(QStringLiteral("Visible %1").arg(on ? 1 : 0));
    notify(HostView::Visibility);
}

QString Application::Caption() const
{
    return QStringLiteral("Kelvor CAD - [%1]").arg(active_ ? active_->Name() : QString());
}

void Application::setWindowState(int state)
{
    if (state < 1 || state > 3)
        fault(fail::Failed, QStringLiteral("window state %1 is out of range").arg(state));
    windowState_ = state;
    events_.append(QStringLiteral("WindowState %1").arg(state));
    notify(HostView::WindowState);
}

void Application::activate(const QString& title)
{
    if (!running_ || title != Caption())
        raise(err::InvalidArgument);
    ++activations_;
    events_.append(QStringLiteral("Activate %1").arg(title));
    notify(HostView::Activation);
}

void Application::ZoomWindow(const Point& a, const Point& b)
{
    needFinite(a);
    needFinite(b);
    view_ = Box{};
    viewIsExtents_ = false;
    view_.add(a.x, a.y);
    view_.add(b.x, b.y);
    events_.append(QStringLiteral("ZoomWindow %1,%2 %3,%4")
                       .arg(NumberText(a.x), NumberText(a.y), NumberText(b.x), NumberText(b.y)));
    notify(HostView::View);
}

void Application::ZoomExtents()
{
    Box ext;
    if (active_)
        for (Entity* e : active_->ModelSpace().entities())
            ext.add(e->box());
    view_ = ext;
    viewIsExtents_ = true;
    events_.append(QStringLiteral("ZoomExtents"));
    notify(HostView::View);
}

Document& Application::ActiveDocument()
{
    if (!active_)
        fault(fail::NotFound, QStringLiteral("no drawing is open"));
    return *active_;
}

Document& Application::DocumentsAdd()
{
    docs_.push_back(std::make_unique<Document>(this));
    active_ = docs_.back().get();
    activated_.push_back(active_);
    notify(HostView::Documents);
    return *active_;
}

Document& Application::DocumentsOpen(const QString& path)
{
    const QString file = drawingPath(path);
    if (!QFileInfo::exists(file))
        fault(fail::Failed, QStringLiteral("the drawing \"%1\" does not exist").arg(path));
    // a second copy would let one go stale and later overwrite the other
    const QString wanted = QFileInfo(file).canonicalFilePath();
    for (const auto& d : docs_)
        if (!d->FullName().isEmpty()
            && QFileInfo(d->FullName()).canonicalFilePath().compare(wanted, Qt::CaseInsensitive) == 0)
            fault(fail::Failed, QStringLiteral("the drawing \"%1\" is open already").arg(path));
    std::unique_ptr<Document> doc = readDxf(file, this);
    doc->setFullName(QFileInfo(file).absoluteFilePath());
    docs_.push_back(std::move(doc));
    active_ = docs_.back().get();
    activated_.push_back(active_);
    notify(HostView::Documents);
    return *active_;
}

Document& Application::DocumentsItem(int index)
{
    if (index < 0 || index >= DocumentsCount())
        fault(fail::NotFound, QStringLiteral("no drawing %1").arg(index));
    return *docs_[index];
}

void Application::closeDocument(Document* doc)
{
    // gone from the collection; the object stays (closed) so that a stale
    // reference fails softly
    auto it = std::find_if(docs_.begin(), docs_.end(), [doc](const auto& d) { return d.get() == doc; });
    if (it != docs_.end()) {
        closed_.push_back(std::move(*it));
        docs_.erase(it);
    }
    std::erase(activated_, doc);
    if (active_ == doc) {
        active_ = nullptr;
        // the drawing that was active before it comes back
        for (auto it = activated_.rbegin(); it != activated_.rend() && !active_; ++it)
            if (!(*it)->isClosed())
                active_ = *it;
        for (auto it = docs_.rbegin(); it != docs_.rend() && !active_; ++it)
            if (!(*it)->isClosed())
                active_ = it->get();
    }
    notify(HostView::Documents);
}

void Application::setActive(Document& doc)
{
    active_ = &doc;
    activated_.push_back(active_);
    notify(HostView::Documents);
}

void Application::appendTranscript(const QString& text)
{
    transcript_ += text;
    if (hostView_)
        hostView_->transcriptAppended(text);
}

void Application::registerCommand(const QString& name, CommandHandler handler, const QString& description)
{
    commands_[name.toUpper()] = {std::move(handler), description};
}

QString Application::commandHelp() const
{
    std::vector<std::pair<QStringList, QString>> lines;
    for (const auto& [name, command] : commands_) {
        const QString& description = command.description; // a binding cannot be captured under clang 14
        auto same = std::find_if(lines.begin(), lines.end(), [&](const auto& l) {
            return !description.isEmpty() && l.second == description;
        });
        if (same != lines.end())
            same->first << name;
        else
            lines.push_back({{name}, command.description});
    }
    QString text = QStringLiteral("命令行认得的命令：\r\n");
    for (const auto& [names, description] : lines) {
        QString line = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!description.isEmpty())
            line = line.leftJustified(22) + QStringLiteral("  ") + description;
        text += line + QStringLiteral("\r\n");
    }
    return text;
}

void Application::runCommandText(Document& doc, const QString& text)
{
    journal_ += text;
    QStringList items = text.split(QLatin1Char('\r'));
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast(); // nothing typed after the last carriage return
    CommandInput in(doc, items);
    while (!in.atEnd()) {
        QString name = in.nextText().trimmed();
        if (name.isEmpty() || name.startsWith(QLatin1Char('(')))
            continue; // Enter, or an expression at the command prompt
        while (!name.isEmpty() && QStringLiteral("_-'.").contains(name.front()))
            name.remove(0, 1);
        // a blank ends the command name as Enter does; the rest are answers
        if (const int blank = int(name.indexOf(QLatin1Char(' '))); blank > 0) {
            in.pushFront(name.mid(blank + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts));
            name.truncate(blank);
        }
        auto it = commands_.find(name.toUpper());
        if (it == commands_.end()) {
            appendTranscript(QStringLiteral("未知命令“%1”。按 F1 查看帮助。\r\n").arg(name.toUpper()));
            continue;
        }
        try {
            it->second.handler(in);
        } catch (const RunError&) {
            appendTranscript(QStringLiteral("*取消*\r\n"));
        }
    }
}

void Application::notePlot(const PlotPage& page)
{
    plots_.push_back(page);
    events_.append(QStringLiteral("Plot %1 %2").arg(page.device, QFileInfo(page.file).fileName()).trimmed());
}

void Application::clearRecords()
{
    plots_.clear();
    journal_.clear();
    transcript_.clear();
    events_.clear();
    activations_ = 0;
}

void Application::setInputSource(std::unique_ptr<InputSource> source)
{
    input_ = source ? std::move(source) : std::make_unique<NoInput>();
}

InputSource& Application::input()
{
    return *input_;
}

MenuGroup& Application::MenuGroupsItem(int index)
{
    if (index < 0 || index >= MenuGroupsCount())
        fault(fail::NotFound, QStringLiteral("no menu group %1").arg(index));
    return *menuGroups_[index];
}

PopupMenu* Application::MenuBarItem(int index) const
{
    if (index < 0 || index >= MenuBarCount())
        fault(fail::NotFound, QStringLiteral("no menu %1 on the menu bar").arg(index));
    return menuBar_[index];
}

void Application::insertInMenuBar(PopupMenu* menu, int index)
{
    std::erase(menuBar_, menu);
    const int at = index < 0 || index > MenuBarCount() ? MenuBarCount() : index;
    menuBar_.insert(menuBar_.begin() + at, menu);
    notify(HostView::Menus);
}

void Application::entityChanged(Document& doc, Entity* entity, bool gone)
{
    if (hostView_)
        hostView_->entityChanged(doc, entity, gone);
}

void Application::regenerated(Document&)
{
    events_.append(QStringLiteral("Regen"));
    notify(HostView::Regen);
}

std::optional<Box> Application::shownView(const Document& doc) const
{
    if (active_ != &doc)
        return std::nullopt;
    return view_;
}

} // namespace kelvor::cad
