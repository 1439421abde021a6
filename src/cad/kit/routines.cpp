#include "cad/kit/routines.h"

#include "routines/routines.h"

#include "platform/paths.h"

namespace kelvor::cad {

QString LoadWindowsDir()
{
    return paths::windir();
}

QString getpath(Context& ctx, const QString& prompt)
{
    return ctx.ui().pickFolder(prompt);
}

Application& attachCad(Context& ctx)
{
    Application* app = ctx.cad();
    if (!app)
        raise(err::NoServer);
    app->attach();
    return *app;
}

Application* ConnectToAutoCAD(Context& ctx, const std::vector<Forward>& steps, ConnectFailure failure)
{
    Application* app = nullptr;
    try {
        app = &attachCad(ctx);
    } catch (const RunError& e) {
        switch (failure) {
        case ConnectFailure::Standard:
            ctx.ui().message(QStringLiteral("AutoCAD 没有运行或版本不符合！"), QStringLiteral("本功能需先启动AutoCAD系统"),
                             Icon::Critical);
            return nullptr;
        case ConnectFailure::Silent:
            return nullptr;
        case ConnectFailure::NotStarted:
            ctx.ui().message(QStringLiteral("Autocad 未启动！"), QStringLiteral("提示"), Icon::Critical);
            return nullptr;
        case ConnectFailure::SystemOrOther:
            if (e.number() == err::NoServer)
                ctx.ui().message(QStringLiteral("AutoCAD 系统未启动或其它的错误！"), QStringLiteral("提示"), Icon::Critical);
            else
                ctx.ui().message(QStringLiteral("未知的错误！"), QStringLiteral("错误"), Icon::Critical);
            return nullptr;
        case ConnectFailure::Unavailable:
            ctx.ui().message(QStringLiteral("AutoCAD系统不可用！"), QStringLiteral("错误"), Icon::Critical);
            return nullptr;
        case ConnectFailure::Start:
            ctx.ui().message(QStringLiteral("AutoCAD尝未启动，下面将强制启动系统\r建仪:手动启动系统"), emptyTitle(),
                             Icon::Information);
            if (!ctx.cad()) {
                ctx.ui().message(QStringLiteral("不能运行Autocad，可能由于您的计算机安装了多个版本的Cad系统，请检查是否正确安装了"
                                                "合适的Autocad版本,或先运行一次Autocad程序"),
                                 QString(), Icon::Critical);
                return nullptr;
            }
            ctx.cad()->setRunning(true);
            app = ctx.cad();
            break;
        }
    }
    for (Forward f : steps) {
        try {
            switch (f) {
            case Forward::Visible: app->setVisible(true); break;
            case Forward::Activate: app->activate(app->Caption()); break;
            case Forward::Maximise: app->setWindowState(3); break;
            }
        } catch (const RunError&) {
            // bringing the window forward is best effort
        }
    }
    return app;
}

Document* ConnectToDrawing(Context& ctx, Application*& app, const std::vector<Forward>& steps, ConnectFailure failure)
{
    app = ConnectToAutoCAD(ctx, steps, failure);
    return app ? activeDocument(*app) : nullptr;
}

void reportLaterCadError(Context& ctx, LaterCadError which)
{
    if (which == LaterCadError::Invalid)
        ctx.ui().message(QStringLiteral("操作AutoCAD无效！"), QStringLiteral("错误"), Icon::Critical);
    else
        ctx.ui().message(QStringLiteral("AutoCad未启动！程序不能继续。\r本功能只限于在AutoCad2004版和2006版中使用。"),
                         QStringLiteral("提示"), Icon::Critical);
}

void addbox(Context& ctx, const Point& s, float len_box, float hei_box)
{
    Document& doc = attachCad(ctx).ActiveDocument();
    const double l = len_box, h = hei_box;
    Entity* box = doc.ModelSpace().AddPolyline(
        {s.x, s.y, s.z, s.x + l, s.y, 0, s.x + l, s.y - h, 0, s.x, s.y - h, 0});
    box->setClosed(true);
    box->Update();
}

QString axEnt2lspEnt(const Entity& entity)
{
    return QStringLiteral("(handent \"") + entity.Handle() + QStringLiteral("\")");
}

QString GetDoubleEntTable(const Entity& entity, const Point& p)
{
    auto coord = [](double v) {
        const QString s = SignedNumberText(v);
        return s.startsWith(QLatin1Char('-')) ? QLatin1Char(' ') + s : s;
    };
    return QStringLiteral("(list(handent \"") + entity.Handle() + QStringLiteral("\")(list ") + coord(p.x)
        + coord(p.y) + coord(p.z) + QStringLiteral("))");
}

QString axPoint2lspPoint(const Point& p)
{
    return NumberText(p.x) + QLatin1Char(',') + NumberText(p.y) + QLatin1Char(',') + NumberText(p.z);
}

QString axPoint2lspPoint(const std::vector<double>& p)
{
    if (p.size() != 3)
        raise(err::TypeMismatch);
    return axPoint2lspPoint(Point{p[0], p[1], p[2]});
}

SelectionSet* CreateSelectionSet(Context& ctx, const QString& name)
{
    try {
        Document& doc = attachCad(ctx).ActiveDocument();
        SelectionSet* set = doc.SelectionSets().find(name);
        if (!set)
            set = &doc.SelectionSets().Add(name);
        set->Clear();
        return set;
    } catch (const RunError&) {
        return nullptr;
    }
}

void BuildFilter(SelectionFilter& filter, const QVariantList& pairs)
{
    if (pairs.size() % 2 != 0)
        raise(err::SubscriptOutOfRange);
    filter = SelectionFilter{};
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        bool ok = false;
        const int code = pairs[i].toInt(&ok);
        if (!ok || code < -32768 || code > 32767)
            raise(err::TypeMismatch);
        filter.add(qint16(code), pairs[i + 1]);
    }
}

SelectionFilter BuildFilter(const QVariantList& pairs)
{
    SelectionFilter f;
    BuildFilter(f, pairs);
    return f;
}

void AddRegFromPLline(Context& ctx)
{
    Application& app = attachCad(ctx);
    const SelectionFilter filter = BuildFilter({0, QStringLiteral("*POLYLINE")});
    SelectionSet* set = CreateSelectionSet(ctx, QStringLiteral("ss"));
    if (!set)
        return;
    set->SelectOnScreen(filter);
    for (Entity* e : set->entities()) {
        try {
            app.ActiveDocument().ModelSpace().AddRegion({e});
        } catch (const RunError&) {
            // an outline that makes no region is passed over
        }
    }
}

SelectionSet& ScratchSelectionSet(Document& doc, const QString& name, bool clearFirst)
{
    if (SelectionSet* old = doc.SelectionSets().find(name)) {
        if (clearFirst)
            old->Clear();
        old->Delete();
    }
    return doc.SelectionSets().Add(name);
}

void prompt(Application& app, const QString& text)
{
    attempt([&] { app.ActiveDocument().Utility().Prompt(text); });
}

bool writeOrTell(Application& app, const QString& path, const std::function<void()>& write)
{
    if (attempt(write))
        return true;
    prompt(app, QStringLiteral("无法写入:") + path + QStringLiteral("\r\n"));
    return false;
}

SelectionSet* scratchSet(Application& app, const QString& name)
{
    SelectionSet* set = nullptr;
    attempt([&] { set = &ScratchSelectionSet(app.ActiveDocument(), name); });
    return set;
}

SelectionSet* selectOnScreen(Document& doc, const SelectionFilter& filter)
{
    SelectionSet* set = nullptr;
    attempt([&] { set = &ScratchSelectionSet(doc, QStringLiteral("text")); });
    if (set)
        attempt([&] { set->SelectOnScreen(filter); });
    return set;
}

SelectionSet* selectOnScreen(Application& app, const SelectionFilter& filter)
{
    Document* doc = activeDocument(app);
    return doc ? selectOnScreen(*doc, filter) : nullptr;
}

std::vector<Entity*> members(SelectionSet* set)
{
    std::vector<Entity*> out;
    if (set)
        attempt([&] { out = set->entities(); });
    return out;
}

std::vector<Entity*> selectAll(Application& app, const SelectionFilter& filter)
{
    SelectionSet* set = scratchSet(app, QStringLiteral("text"));
    if (set)
        attempt([&] { set->Select(SelectAll, {}, {}, filter); });
    return members(set);
}

QString scriptText(const QStringList& items)
{
    QString s;
    for (const QString& i : items)
        s += i + QLatin1Char('\r');
    return s;
}

void CommandLineScript(Document& doc, const QStringList& items)
{
    doc.SendCommand(scriptText(items));
}

Entity* LastModelSpaceEntity(Document& doc)
{
    Block& ms = doc.ModelSpace();
    return ms.Item(ms.Count() - 1);
}

QString CommandLinePrompt(const QString& question, const QString& defaultValue)
{
    return question + QLatin1Char('<') + defaultValue + QStringLiteral(">:");
}

QString askString(Utility& u, const QString& prompt, const QString& defaultValue, bool allowBlanks)
{
    const QString a = u.GetString(allowBlanks, prompt);
    return a.isEmpty() ? defaultValue : a;
}

namespace {

// Enter, and an answer of 0, keep the default.
template <class T, class Ask>
T numberOrDefault(Ask ask, T defaultValue)
{
    try {
        const T v = ask();
        return v == 0 ? defaultValue : v;
    } catch (const RunError& e) {
        if (e.number() == fail::NullInput)
            return defaultValue;
        throw;
    }
}

} // namespace

double askReal(Utility& u, const QString& prompt, double defaultValue)
{
    return numberOrDefault([&] { return u.GetReal(prompt); }, defaultValue);
}

int askInteger(Utility& u, const QString& prompt, int defaultValue)
{
    return numberOrDefault([&] { return u.GetInteger(prompt); }, defaultValue);
}

bool isYes(const QString& answer)
{
    return answer.trimmed().compare(QLatin1String("y"), Qt::CaseInsensitive) == 0;
}

int PickUntilCancel(Utility& u, const QString& prompt, const std::function<void(const Point&)>& onPoint)
{
    int n = 0;
    while (true) {
        Point p;
        try {
            p = u.GetPoint(prompt);
        } catch (const RunError&) {
            return n;
        }
        ++n;
        onPoint(p);
    }
}

int PickEntitiesUntilCancel(Utility& u, const QString& prompt,
                            const std::function<void(Entity&, const Point&)>& onEntity)
{
    int n = 0;
    while (true) {
        Point p;
        Entity* e = nullptr;
        try {
            e = u.GetEntity(p, prompt);
        } catch (const RunError&) {
            return n;
        }
        ++n;
        onEntity(*e, p);
    }
}

void AddLocatorLine(Document& doc, double x, double y)
{
    doc.ModelSpace().AddPolyline({x, 0, 0, x, y, 0});
}

ExcelApplication* ConnectToExcel(Context& ctx, OfficeHosts* hosts)
{
    ExcelApplication* x = hosts ? hosts->runningExcel() : nullptr;
    if (!x && hosts)
        x = hosts->startExcel();
    if (!x) {
        ctx.ui().message(QStringLiteral("err "));
        return nullptr;
    }
    x->setVisible(true);
    return x;
}

WordApplication& ConnectToWord(Context& ctx, WordConnect how)
{
    OfficeHosts* hosts = ctx.office();
    const bool start = how == WordConnect::Start || how == WordConnect::StartShown;
    WordApplication* w = !hosts ? nullptr : start ? hosts->startWord() : hosts->runningWord();
    if (!w)
        raise(err::NoServer);
    if (how == WordConnect::AttachShown || how == WordConnect::StartShown)
        w->setVisible(true);
    if (how == WordConnect::AttachShown)
        w->activate();
    return *w;
}

} // namespace kelvor::cad
