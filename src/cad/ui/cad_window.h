#pragma once
#include "cad/host/application.h"
#include "cad/ui/cad_scene.h"
#include "platform/ui.h"

#include <QMainWindow>
#include <QPointer>
#include <optional>

class QEventLoop;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace kelvor {

class CadView;

// The question the window waits on. Outside the window's class: clang
// cannot see a nested class's member defaults while the class is still being
// declared, and std::optional of it would not be default-constructible there.
struct CadHostPending {
    QString asking, prompt;
    cad::Input result;
    bool answered = false;
    // on-screen selection
    std::vector<cad::Entity*> chosen;
    bool boxing = false;
    cad::Point boxStart;
    QPointF boxFrom, boxTo;
};

// The CAD host's own window: the active drawing over a command line. It
// shows and hides, maximises and comes to the front as commands tell the
// host; it answers the host's command-line questions with the person's
// clicks and typing, each question waiting in a nested event loop while
// the rest of the program takes no input. Closing it stops the host until
// a command starts it again. The host must outlive the window.
class CadHostWindow : public QMainWindow, private cad::HostView {
    Q_OBJECT
public:
    CadHostWindow(cad::Application& app, Ui& ui, QWidget* parent = nullptr);
    ~CadHostWindow() override;

    cad::Application& application() { return app_; }
    CadView* view() const { return view_; }
    QLineEdit* commandInput() const { return input_; }
    QPlainTextEdit* commandHistory() const { return history_; }
    QLabel* promptLabel() const { return prompt_; }
    DrawingScene& scene() { return scene_; }
    // What is being asked: "point", "entity", "select", "string", "real",
    // "integer", "keyword"; empty while no question waits.
    QString asking() const { return pending_ && !pending_->answered ? pending_->asking : QString(); }

    // The host's own menu commands.
    void newDrawing();
    void openDrawing();
    bool saveDrawing();
    bool saveDrawingAs();
    // Asks whether to save a modified drawing: true when it was saved or
    // may be discarded, false to keep it (Cancel, or the save failed).
    bool confirmDiscard(cad::Document& doc);
    void zoomExtents();
    // Starts the host when it is stopped, shows its window in front and,
    // given a drawing, opens it (or brings it forward when already open).
    void startOrShow(const QString& drawing = QString());
    // Opening and saving show a progress dialog once they take longer than
    // this (milliseconds; tests make it 0).
    void setProgressDelay(int ms) { progressDelay_ = ms; }

    // A menu item's macro: leading Esc characters cancel the question
    // waiting, a blank or ';' is Enter; a macro without a closing Enter is
    // left on the command line for the person to finish.
    void runMenuMacro(const QString& macro);
    // The menus commands added to the host's menu bar, in its order.
    const std::vector<QMenu*>& hostMenus() const { return hostMenus_; }

    // Answers one command-line question (the window's input source).
    cad::Input ask(const QString& asking, const QString& prompt);

signals:
    // A question now waits for the person (tests drive the window here).
    void questionAsked(const QString& asking);
    // The host started or stopped.
    void runningChanged(bool running);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Pending = CadHostPending;

    void hostChanged(Change what) override;
    void entityChanged(cad::Document& doc, cad::Entity* entity, bool gone) override;
    void transcriptAppended(const QString& text) override;

    bool saveDocument(cad::Document& doc);
    bool saveDocumentAs(cad::Document& doc);
    void showDocument();
    void refreshCaption();
    void applyWindowState();
    void history(const QString& text);
    void answer(const cad::Input& in, const QString& echo);
    void submitTyped();
    // F1: the host's commands in the command-line history.
    void showCommandHelp();
    void cancel();
    void onClick(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void onRelease(QPointF at, bool dragged);
    void onMove(QPointF at);
    void paintOverlay(QPainter& p);
    double pixels(double px) const; // drawing units of px pixels
    cad::Point snapped(const QPointF& at, int* kind) const;
    double aperture() const; // APERTURE pixels in drawing units
    void endBox(const QPointF& at);
    void showSelection();
    bool ownsWidget(QObject* o) const;
    void fillDocumentsMenu();
    void fillHostMenus();
    void setBusyMenus(bool waiting);

    cad::Application& app_;
    Ui& ui_;
    DrawingScene scene_;
    CadView* view_ = nullptr;
    QPlainTextEdit* history_ = nullptr;
    QLabel* prompt_ = nullptr;
    QLineEdit* input_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* docsMenu_ = nullptr;
    std::vector<QMenu*> hostMenus_;
    bool menusDue_ = false;
    std::optional<Pending> pending_;
    QEventLoop* loop_ = nullptr;
    bool syncing_ = false;
    bool closing_ = false;
    int progressDelay_ = 500;
    QPointF hover_;
    int hoverSnap_ = 0; // the OSMODE bit of the snap under the pointer
    cad::Point hoverPoint_;
};

} // namespace kelvor
