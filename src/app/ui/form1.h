#pragma once
#include "platform/windows.h"

#include <QMainWindow>
#include <QMap>

#include <functional>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;

namespace kelvor {
class CommandRegistry;
class Context;
}

namespace kelvor::app {

struct MenuItem;

// Sizes of the main window's layout are given in twips: 15 to a pixel.
constexpr int twips(int t) { return t / 15; }

// The main window "Kelvor2007版": its menu bar runs every item through the
// command registry; the sheet frame Frame1(0) holds the traverse sheet with
// its buttons, the Quelt export folder box and the test button.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    Form1(Context& ctx, CommandRegistry& registry, const WindowRegistry& windows, QWidget* parent = nullptr);

    // Runs an item as its menu does, then brings the menus up to date with
    // the main-window state. Ends the program when the command says so.
    void runItem(const QString& key);
    // The menus after a command: recent report, 生成成果表, common file.
    void refreshMenus();
    // Places the busy picture from the window's size (the load step).
    void placeBusyPicture();

    QAction* action(const QString& key) const { return actions_.value(key); }
    QMenu* menu(const QString& name) const { return menus_.value(name); }
    // The popup 快捷功能, for the sheet's adjustment button.
    QMenu* quickCallMenu() const { return quickCall_; }
    // Frame1(0), holding the traverse sheet when there is one.
    QGroupBox* sheetFrame() const { return frame1_; }
    QFrame* launcherPanel() const { return picture1_; }
    QToolBar* toolbar() const { return toolbar1_; }
    Context& context() const { return ctx_; }

    // The drawing window within reach outside the menus: the status bar
    // says whether the host runs, and its button starts or shows it.
    void setDrawingWindow(std::function<bool()> running, std::function<void()> startOrShow);
    void drawingWindowChanged();
    QLabel* drawingState() const { return drawingState_; }
    QPushButton* drawingButton() const { return drawingButton_; }

signals:
    // The program is to end now (退出, closing the window).
    void programEnded();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QMenu* buildMenu(const MenuItem& m, QWidget* parent);
    void openWindow(const QString& form);

    Context& ctx_;
    CommandRegistry& registry_;
    const WindowRegistry& windows_;
    QMap<QString, QAction*> actions_;
    QMap<QString, QMenu*> menus_;
    QMenu* quickCall_ = nullptr;
    QToolBar* toolbar1_ = nullptr;
    QFrame* picture1_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QLabel* picture11_ = nullptr;
    QLabel* drawingState_ = nullptr;
    QPushButton* drawingButton_ = nullptr;
    std::function<bool()> drawingRunning_;
    std::function<void()> startOrShowDrawing_;
    bool ending_ = false;
};

} // namespace kelvor::app
