#pragma once
#include "cad/model/document.h"
#include "cad/model/layouts.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kelvor::cad {

class Application;

// The host's window, when one is shown: told what commands do to the host
// and its drawings, so that it can show it. Called on the commands' thread.
class HostView {
public:
    enum Change { Visibility, WindowState, Activation, View, Documents, Running, Regen, Menus };
    virtual ~HostView() = default;
    virtual void hostChanged(Change what) = 0;
    // An entity of doc was added or changed, or (gone) erased.
    virtual void entityChanged(Document& doc, Entity* entity, bool gone) = 0;
    virtual void transcriptAppended(const QString& text) = 0;
};

// The answers that follow a command name in a command-line text, one per
// carriage return. A handler takes what it needs; what it leaves is read as
// the next command.
class CommandInput {
public:
    CommandInput(Document& doc, QStringList items)
        : doc_(doc)
        , items_(std::move(items))
    {
    }
    bool atEnd() const { return pos_ >= items_.size(); }
    QString peek() const { return atEnd() ? QString() : items_.at(pos_); }
    // Answers read next, before the rest (a blank ends a command name).
    void pushFront(const QStringList& items)
    {
        for (qsizetype i = 0; i < items.size(); ++i)
            items_.insert(pos_ + i, items.at(i));
    }
    // The next answer as typed. When the text has run out the host's input
    // source answers (`asking` as Utility names it; a point comes as "x,y,z",
    // an entity as an entity expression, a selection as one expression per
    // entity and Enter); Esc fails Cancelled.
    QString nextText(const QString& asking = QStringLiteral("keyword"), const QString& prompt = QString());
    // The next answer up to a blank, which ends it as Enter does (the rest
    // is read next; a trailing blank adds nothing): numbers, points and
    // keywords of a script line. Texts, names and paths take nextText.
    QString nextWord(const QString& asking = QStringLiteral("keyword"), const QString& prompt = QString());
    double nextReal();
    // "x,y" or "x,y,z".
    Point nextPoint();
    // (handent "H") or (list(handent "H")(list x y z)); pick receives the point.
    Entity* nextEntity(Point* pick = nullptr);
    Document& document() { return doc_; }

private:
    Document& doc_;
    QStringList items_;
    qsizetype pos_ = 0;
};

using CommandHandler = std::function<void(CommandInput&)>;

// Parses an entity expression: (handent "H") or (list(handent "H")(list x y z)).
Entity* entityFromExpression(Document& doc, const QString& text, Point* pick = nullptr);

struct MenuItem {
    QString label, macro, HelpString;
    bool separator = false;
};

class PopupMenu {
public:
    QString Name() const { return name_; }
    int Count() const { return int(items_.size()); }
    MenuItem& AddMenuItem(int index, const QString& label, const QString& macro);
    void AddSeparator(int index);
    void InsertInMenuBar(int index);
    const std::vector<MenuItem>& items() const { return items_; }
    bool onMenuBar() const;
    PopupMenu(Application* app, const QString& name)
        : app_(app)
        , name_(name)
    {
    }

private:
    Application* app_;
    QString name_;
    std::vector<MenuItem> items_;
};

class MenuGroup {
public:
    QString Name() const { return name_; }
    PopupMenu& MenusAdd(const QString& name);
    int MenusCount() const { return int(menus_.size()); }
    PopupMenu& MenusItem(int index);
    MenuGroup(Application* app, const QString& name)
        : app_(app)
        , name_(name)
    {
    }

private:
    Application* app_;
    QString name_;
    std::vector<std::unique_ptr<PopupMenu>> menus_;
};

// The embedded CAD host as commands reach it through ctx.cad(). It starts
// running with one empty drawing. Visibility, window state, activations,
// zooms and redraws are recorded for tests; answers come from the input
// source (Esc for every question until one is set).
class Application : public DocumentHost {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Running state: attach() fails with error 429 while stopped.
    bool running() const { return running_; }
    void setRunning(bool on);
    void attach() const;

    bool Visible() const { return visible_; }
    void setVisible(bool on);
    QString Caption() const;
    int WindowState() const { return windowState_; } // 1 normal, 2 minimised, 3 maximised
    void setWindowState(int state);
    // Brings the host window to the front when title is its caption; fails
    // with error 5 otherwise (as activating an unknown window does).
    void activate(const QString& title);
    int activations() const { return activations_; }
    void ZoomWindow(const Point& lowerLeft, const Point& upperRight);
    void ZoomExtents();
    void ZoomAll() { ZoomExtents(); }
    // "ZoomWindow x1,y1 x2,y2", "ZoomExtents", "Visible 1", "WindowState 3",
    // "Activate <caption>", in order.
    const QStringList& events() const { return events_; }
    // Records a host event ("Regen", ...) for the same list.
    void noteEvent(const QString& event) { events_.append(event); }
    // A page plotted ("Plot <device> <file name>" among the events).
    void notePlot(const PlotPage& page);
    const std::vector<PlotPage>& plots() const { return plots_; }
    Box view() const { return view_; }
    // The last zoom was to the extents (a window shows them with a margin).
    bool viewIsExtents() const { return viewIsExtents_; }

    // Documents.
    Document& ActiveDocument(); // fails NotFound when none is open
    bool hasDocument() const { return active_ != nullptr; }
    Document& DocumentsAdd();
    // Becomes the active document. Fails (as any open failure) when the
    // file is open already, whatever the case of its path.
    Document& DocumentsOpen(const QString& path);
    int DocumentsCount() const { return int(docs_.size()); } // open drawings only
    Document& DocumentsItem(int index);                       // fails NotFound outside 0 .. count - 1
    void setActive(Document& doc);
    void closeDocument(Document* doc) override;

    // Command line: the journal holds every SendCommand text verbatim; the
    // transcript holds prompts, question texts and the interpreter's notes.
    // description is the short Chinese line HELP shows beside the name.
    void registerCommand(const QString& name, CommandHandler handler, const QString& description = QString());
    // Every command the command line knows, one line each: the names that
    // share a description together, then the description. HELP and ? add
    // it to the transcript.
    QString commandHelp() const;
    void runCommandText(Document& doc, const QString& text) override;
    const QString& journal() const { return journal_; }
    const QString& transcript() const { return transcript_; }
    void appendTranscript(const QString& text) override;
    void clearRecords();

    void setInputSource(std::unique_ptr<InputSource> source);
    InputSource& input() override;

    // What the drawings tell their host.
    void entityChanged(Document& doc, Entity* entity, bool gone) override;
    void regenerated(Document& doc) override;
    std::optional<Box> shownView(const Document& doc) const override;
    void plotted(Document&, const PlotPage& page) override { notePlot(page); }

    // The window that shows the host (null without one); not owned.
    void setHostView(HostView* view) { hostView_ = view; }
    HostView* hostView() const { return hostView_; }

    // Menus of the host's menu bar.
    MenuGroup& MenuGroupsItem(int index);
    int MenuGroupsCount() const { return int(menuGroups_.size()); }
    int MenuBarCount() const { return int(menuBar_.size()); }
    PopupMenu* MenuBarItem(int index) const;
    void insertInMenuBar(PopupMenu* menu, int index);
    // A menu on the menu bar gained items: the window shows them.
    void menusChanged() { notify(HostView::Menus); }

private:
    bool running_ = true;
    bool visible_ = true;
    int windowState_ = 1;
    int activations_ = 0;
    Box view_;
    bool viewIsExtents_ = false;
    QStringList events_;
    std::vector<PlotPage> plots_;
    std::vector<std::unique_ptr<Document>> docs_;   // open, in the order they were opened
    std::vector<std::unique_ptr<Document>> closed_; // kept for stale references
    Document* active_ = nullptr;
    std::vector<Document*> activated_; // in the order they became active
    int untitled_ = 0;
    struct Command {
        CommandHandler handler;
        QString description;
    };
    std::map<QString, Command> commands_;
    QString journal_, transcript_;
    std::unique_ptr<InputSource> input_;
    std::vector<std::unique_ptr<MenuGroup>> menuGroups_;
    std::vector<PopupMenu*> menuBar_;
    HostView* hostView_ = nullptr;
    void notify(HostView::Change what)
    {
        if (hostView_)
            hostView_->hostChanged(what);
    }
};

} // namespace kelvor::cad
