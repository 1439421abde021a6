#include "form1.h"
#include "launcher.h"
#include "quick_popup.h"
#include "toolbar.h"

#include "platform/common_file.h"
#include "app/menu_table.h"
#include "app/startup.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/errors.h"

#include "traverse/ui/sheet_widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvor::app {

Form1::Form1(Context& ctx, CommandRegistry& registry, const WindowRegistry& windows, QWidget* parent)
    : QMainWindow(parent)
    , ctx_(ctx)
    , registry_(registry)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelvor2007版"));

    for (const MenuItem& top : app::menuBar())
        menuBar()->addMenu(buildMenu(top, this));
    quickCall_ = buildMenu(app::quickCallMenu(), this);
    connect(menus_.value(QStringLiteral("dx")), &QMenu::aboutToShow, this, [this] { runItem(QStringLiteral("dx")); });

    auto* client = new QWidget(this);
    setCentralWidget(client);

    toolbar1_ = new QToolBar(client);
    toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar1_->setGeometry(0, 0, twips(9375), twips(360));

    picture1_ = new QFrame(client);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(twips(60), twips(300), twips(1785), twips(6780));

    frame1_ = new QGroupBox(client);
    frame1_->setObjectName(QStringLiteral("Frame1(0)"));
    frame1_->setGeometry(twips(2040), twips(360), twips(7275), twips(6780));
    if (traverse::TraverseSheet* sheet = ctx_.sheet()) {
        // The sheet's own buttons run their items through the registry.
        auto* sheetWidget = new traverse::SheetWidget(*sheet, ctx_, &registry_, frame1_);
        auto* layout = new QVBoxLayout(frame1_);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(sheetWidget);
    }

    picture11_ = new QLabel(client);
    picture11_->setObjectName(QStringLiteral("Picture11"));
    picture11_->setFixedSize(twips(3015), twips(1215));
    picture11_->setAlignment(Qt::AlignCenter);
    picture11_->setFrameShape(QFrame::Box);
    picture11_->setText(QStringLiteral("正在处理，请稍候……"));
    picture11_->hide();

    installToolbar1(*this);
    installLauncher(*this);
    installQuickPopup(*this);

    drawingState_ = new QLabel(this);
    drawingState_->setObjectName(QStringLiteral("drawingState"));
    drawingButton_ = new QPushButton(this);
    drawingButton_->setObjectName(QStringLiteral("drawingButton"));
    statusBar()->addWidget(drawingState_);
    statusBar()->addWidget(drawingButton_);
    connect(drawingButton_, &QPushButton::clicked, this, [this] {
        if (startOrShowDrawing_)
            startOrShowDrawing_();
        drawingWindowChanged();
    });
    drawingWindowChanged();

    ctx_.openWindow = [this](const QString& form) { openWindow(form); };
    // the client area is 9375 x 7155 twips below the menu bar, wider where
    // the sheet's cells need it to show a coordinate whole
    const int sheetWidth = frame1_->minimumSizeHint().width() + picture1_->width() + twips(240);
    resize(std::max(twips(9375), sheetWidth),
           twips(7155) + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

QMenu* Form1::buildMenu(const MenuItem& m, QWidget* parent)
{
    auto* menu = new QMenu(m.caption, parent);
    menu->setObjectName(m.name);
    // the sheet's buttons run commands too: the menus catch up on opening
    connect(menu, &QMenu::aboutToShow, this, &Form1::refreshMenus);
    menus_.insert(m.name, menu);
    for (const MenuItem& c : m.children) {
        if (c.isSubmenu()) {
            QMenu* sub = buildMenu(c, menu);
            menu->addMenu(sub);
            continue;
        }
        QAction* a = c.isSeparator() ? menu->addSeparator() : menu->addAction(c.caption);
        a->setObjectName(c.key());
        actions_.insert(c.key(), a);
        if (c.isSeparator())
            continue;
        a->setCheckable(c.checked);
        a->setChecked(c.checked);
        a->setEnabled(c.enabled);
        a->setVisible(c.shown);
        if (!c.shortcut.isEmpty()) {
            a->setShortcut(QKeySequence(c.shortcut));
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a); // shortcuts work while the menus are closed
        }
        const QString key = c.key();
        connect(a, &QAction::triggered, this, [this, key] { runItem(key); });
    }
    return menu;
}

void Form1::runItem(const QString& key)
{
    try {
        registry_.run(key, ctx_);
    } catch (const RunError& e) {
        // Commands report their own failures; one that escapes still must
        // not take the program down.
        ctx_.ui().message(QStringLiteral("错误:%1").arg(e.number()), QString(), Icon::Critical);
    } catch (const std::exception& e) {
        ctx_.ui().message(QStringLiteral("错误:程序内部错误（%1）").arg(QString::fromLocal8Bit(e.what())), QString(),
                          Icon::Critical);
    }
    refreshMenus();
    if (ctx_.state().ended && !ending_) {
        ending_ = true;
        emit programEnded();
    }
}

void Form1::refreshMenus()
{
    const MainState& st = ctx_.state();
    const bool shown = recentReportShown(st.recentReport);
    action(QStringLiteral("filelist(0)"))->setVisible(shown);
    QAction* recent = action(QStringLiteral("filelist(1)"));
    recent->setVisible(shown);
    recent->setText(st.recentReport);
    action(QStringLiteral("printcgb"))->setChecked(st.printcgb);
    action(QStringLiteral("openfudongqiao"))->setChecked(true);
    action(QStringLiteral("publicfiles"))->setText(commonFileCaption(st));
    action(QStringLiteral("entitybianzhou"))->setText(st.groupPickCaption);
}

void Form1::setDrawingWindow(std::function<bool()> running, std::function<void()> startOrShow)
{
    drawingRunning_ = std::move(running);
    startOrShowDrawing_ = std::move(startOrShow);
    drawingWindowChanged();
}

void Form1::drawingWindowChanged()
{
    const bool on = drawingRunning_ && drawingRunning_();
    drawingState_->setText(on ? QStringLiteral("绘图窗口：运行中") : QStringLiteral("绘图窗口：未运行"));
    drawingButton_->setText(on ? QStringLiteral("显示绘图窗口") : QStringLiteral("启动绘图窗口"));
    drawingButton_->setEnabled(bool(startOrShowDrawing_));
}

void Form1::placeBusyPicture()
{
    const QSize w = frameGeometry().size();
    picture11_->move(w.width() / 2 - picture11_->width() / 2, w.height() / 2 - picture11_->height());
}

void Form1::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    const int width = frameGeometry().width() - picture1_->width() - twips(240);
    if (width > 0)
        frame1_->resize(width, frame1_->height());
}

void Form1::closeEvent(QCloseEvent* e)
{
    // Closing the window by any means ends the program like 退出.
    if (!ending_)
        runItem(QStringLiteral("quit"));
    e->accept();
}

void Form1::openWindow(const QString& form)
{
    windows_.open(form, ctx_, this);
}

} // namespace kelvor::app
