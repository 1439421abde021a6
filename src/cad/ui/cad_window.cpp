#include "cad/ui/cad_window.h"

#include "cad/ui/cad_view.h"

#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/geom_snap.h"
#include "cad/model/selection.h"
#include "cad/ui/plot_output.h"
#include "routines/routines.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTimer>
#include <QVBoxLayout>

namespace kelvor {

using cad::Input;

namespace {

// Answers the host's questions from the window while it exists.
class WindowInput : public cad::InputSource {
public:
    explicit WindowInput(CadHostWindow* w)
        : w_(w)
    {
    }
    Input next(const QString& asking, const QString& prompt) override
    {
        return w_ ? w_->ask(asking, prompt) : Input{};
    }

private:
    QPointer<CadHostWindow> w_;
};

const QString kIdlePrompt = QStringLiteral("命令:");
constexpr int kAperture = 10; // object snap reach, pixels

QString pointText(const cad::Point& p)
{
    return NumberText(p.x) + QLatin1Char(',') + NumberText(p.y);
}

int documentInt(cad::Document* doc, const char* name, int fallback)
{
    if (!doc)
        return fallback;
    try {
        return doc->GetVariable(QLatin1String(name)).toInt();
    } catch (const RunError&) {
        return fallback;
    }
}

} // namespace

CadHostWindow::CadHostWindow(cad::Application& app, Ui& ui, QWidget* parent)
    : QMainWindow(parent)
    , app_(app)
    , ui_(ui)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    installPlotDevices(); // the host's plots go to paper through the window's renderer
    resize(1024, 720);
    view_ = new CadView(scene_, this);
    setCentralWidget(view_);

    auto* line = new QWidget;
    auto* lines = new QVBoxLayout(line);
    lines->setContentsMargins(2, 2, 2, 2);
    lines->setSpacing(2);
    history_ = new QPlainTextEdit;
    history_->setReadOnly(true);
    history_->setFocusPolicy(Qt::NoFocus);
    history_->setMaximumBlockCount(2000);
    history_->setFixedHeight(history_->fontMetrics().lineSpacing() * 4 + 10);
    auto* row = new QHBoxLayout;
    prompt_ = new QLabel(kIdlePrompt);
    input_ = new QLineEdit;
    input_->installEventFilter(this);
    row->addWidget(prompt_);
    row->addWidget(input_, 1);
    lines->addWidget(history_);
    lines->addLayout(row);
    auto* dock = new QDockWidget(QStringLiteral("命令行"), this);
    dock->setObjectName(QStringLiteral("commandLine"));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setWidget(line);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    fileMenu_ = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    fileMenu_->addAction(QStringLiteral("新建(&N)"), QKeySequence::New, this, [this] { newDrawing(); });
    fileMenu_->addAction(QStringLiteral("打开(&O)..."), QKeySequence::Open, this, [this] { openDrawing(); });
    fileMenu_->addAction(QStringLiteral("保存(&S)"), QKeySequence::Save, this, [this] { saveDrawing(); });
    fileMenu_->addAction(QStringLiteral("另存为(&A)..."), this, [this] { saveDrawingAs(); });
    fileMenu_->addSeparator();
    // the person answers -PLOT's questions at the command line
    fileMenu_->addAction(QStringLiteral("打印(&P)..."), QKeySequence::Print, this,
                         [this] { runMenuMacro(QStringLiteral("_-PLOT ")); });
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("视图(&V)"));
    viewMenu->addAction(QStringLiteral("范围缩放(&E)"), this, [this] { zoomExtents(); });
    docsMenu_ = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
    connect(docsMenu_, &QMenu::aboutToShow, this, [this] { fillDocumentsMenu(); });

    connect(input_, &QLineEdit::returnPressed, this, [this] { submitTyped(); });
    connect(view_, &CadView::clicked, this, &CadHostWindow::onClick);
    connect(view_, &CadView::released, this, &CadHostWindow::onRelease);
    connect(view_, &CadView::moved, this, &CadHostWindow::onMove);
    connect(view_, &CadView::keyTyped, this, [this](QKeyEvent* e) {
        if (e->key() == Qt::Key_Escape) {
            cancel();
        } else if (e->key() == Qt::Key_F1) {
            showCommandHelp();
        } else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter
                   || (e->key() == Qt::Key_Space && pending_ && pending_->asking != QLatin1String("string"))) {
            submitTyped();
        } else if (!e->text().isEmpty() && e->text().at(0).isPrint()) {
            // typing over the drawing goes to the command line
            input_->setFocus();
            input_->insert(e->text());
        }
    });
    view_->setOverlay([this](QPainter& p) { paintOverlay(p); });

    app_.setHostView(this);
    app_.setInputSource(std::make_unique<WindowInput>(this));
    // the host runs hidden until a command shows it
    syncing_ = true;
    app_.setVisible(false);
    syncing_ = false;
    showDocument();
    history(QStringLiteral("%1 ").arg(kIdlePrompt));
}

CadHostWindow::~CadHostWindow()
{
    if (app_.hostView() == this)
        app_.setHostView(nullptr);
    app_.setInputSource(nullptr);
}

// ---------------------------------------------------------------- host events

void CadHostWindow::hostChanged(Change what)
{
    if (what == Running)
        emit runningChanged(app_.running());
    if (syncing_)
        return;
    switch (what) {
    case Visibility:
        if (app_.Visible() && app_.running()) {
            applyWindowState();
        } else {
            hide();
        }
        break;
    case WindowState:
        if (isVisible())
            applyWindowState();
        break;
    case Activation:
        if (isVisible()) {
            raise();
            activateWindow();
        }
        break;
    case View:
        // the host keeps the extents as they are; the window shows them with a margin
        if (app_.viewIsExtents())
            view_->zoomExtents();
        else
            view_->zoomTo(app_.view());
        break;
    case Documents:
        showDocument();
        break;
    case Running:
        if (!app_.running()) {
            hide();
        } else if (!app_.hasDocument()) {
            app_.DocumentsAdd(); // a started host opens with a new drawing
        }
        break;
    case Regen:
        scene_.invalidate();
        view_->sceneChanged();
        break;
    case Menus:
        // once the command has finished filling them (help strings come last)
        if (!menusDue_) {
            menusDue_ = true;
            QTimer::singleShot(0, this, [this] { fillHostMenus(); });
        }
        break;
    }
}

void CadHostWindow::entityChanged(cad::Document& doc, cad::Entity* entity, bool gone)
{
    if (&doc != scene_.document())
        return;
    scene_.entityChanged(entity, gone);
    view_->sceneChanged();
}

void CadHostWindow::transcriptAppended(const QString& text)
{
    history(text);
}

void CadHostWindow::applyWindowState()
{
    syncing_ = true;
    switch (app_.WindowState()) {
    case 2: showMinimized(); break;
    case 3: showMaximized(); break;
    default: showNormal(); break;
    }
    syncing_ = false;
}

void CadHostWindow::showDocument()
{
    cad::Document* doc = app_.hasDocument() ? &app_.ActiveDocument() : nullptr;
    if (doc != scene_.document()) {
        scene_.setDocument(doc);
        view_->setHighlighted({});
        ViewTransform v = view_->view();
        v.fit(cad::Box{});
        view_->setView(v);
        if (scene_.extents().valid()) {
            view_->zoomExtents();
        } else {
            cad::Box sheet; // an empty drawing shows an A3 sheet's worth
            sheet.add(0, 0);
            sheet.add(420, 297);
            view_->zoomTo(sheet);
        }
    }
    view_->sceneChanged();
    refreshCaption();
}

void CadHostWindow::refreshCaption()
{
    setWindowTitle(app_.Caption());
}

void CadHostWindow::history(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor c(history_->document());
    c.movePosition(QTextCursor::End);
    c.insertText(t);
    history_->setTextCursor(c);
    history_->ensureCursorVisible();
}

// ---------------------------------------------------------------- menus

void CadHostWindow::newDrawing()
{
    app_.DocumentsAdd();
}

namespace {

// A long open or save: the busy cursor at once, a progress dialog with the
// file's name once it has taken longer than the delay, and the windows kept
// painted meanwhile (the person's input waits until the file is done).
class ProgressShown {
public:
    ProgressShown(QWidget* over, const QString& label, int delayMs)
        : over_(over)
        , label_(label)
        , delay_(delayMs)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        clock_.start();
        cad::setFileProgress([this](qint64 done, qint64 total) { step(done, total); });
    }
    ~ProgressShown()
    {
        cad::setFileProgress({});
        QApplication::restoreOverrideCursor();
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    void step(qint64 done, qint64 total)
    {
        if (!dialog_ && clock_.elapsed() >= delay_) {
            dialog_ = std::make_unique<QProgressDialog>(label_, QString(), 0, 0, over_);
            dialog_->setObjectName(QStringLiteral("drawingProgress"));
            dialog_->setWindowTitle(QStringLiteral("Kelvor CAD"));
            dialog_->setCancelButton(nullptr);
            dialog_->setWindowModality(Qt::WindowModal);
            dialog_->setMinimumDuration(0);
            dialog_->setAutoClose(false);
            dialog_->setAutoReset(false);
            dialog_->show();
        }
        if (dialog_ && total > 0) {
            dialog_->setRange(0, 1000);
            dialog_->setValue(int(done * 1000 / total));
        }
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    QWidget* over_;
    QString label_;
    int delay_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
};

QString shortName(const QString& path)
{
    const int cut = int(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    return path.mid(cut + 1);
}

} // namespace

void CadHostWindow::startOrShow(const QString& drawing)
{
    if (!app_.running())
        app_.setRunning(true);
    if (!drawing.isEmpty()) {
        const QString wanted = QFileInfo(paths::resolve(cad::drawingPath(drawing))).absoluteFilePath();
        bool found = false;
        for (int i = 0; i < app_.DocumentsCount() && !found; ++i) {
            cad::Document& d = app_.DocumentsItem(i);
            if (!d.FullName().isEmpty()
                && QFileInfo(paths::resolve(d.FullName())).absoluteFilePath().compare(wanted, Qt::CaseInsensitive) == 0) {
                app_.setActive(d);
                found = true;
            }
        }
        if (!found) {
            try {
                ProgressShown shown(this, QStringLiteral("正在打开 %1 ……").arg(shortName(drawing)), progressDelay_);
                app_.DocumentsOpen(drawing);
            } catch (const RunError& e) {
                ui_.message(QStringLiteral("无法打开图形文件 %1\r%2").arg(drawing, errorText(e)), QStringLiteral("错误"),
                            Icon::Critical);
            }
        }
    }
    app_.setVisible(true);
    try {
        app_.activate(app_.Caption());
    } catch (const RunError&) {
        // shown is enough when the window cannot come forward
    }
}

void CadHostWindow::openDrawing()
{
    FileDialogRequest r;
    r.title = QStringLiteral("选择图形文件");
    r.filter = QStringLiteral("图形(*.dxf)|*.dxf");
    const QString path = ui_.openFile(r);
    if (path.isEmpty())
        return;
    try {
        ProgressShown shown(this, QStringLiteral("正在打开 %1 ……").arg(shortName(path)), progressDelay_);
        app_.DocumentsOpen(path);
    } catch (const RunError& e) {
        ui_.message(QStringLiteral("无法打开图形文件 %1\r%2").arg(path, errorText(e)), QStringLiteral("错误"),
                    Icon::Critical);
    }
}

bool CadHostWindow::saveDrawing()
{
    return app_.hasDocument() && saveDocument(app_.ActiveDocument());
}

bool CadHostWindow::saveDocument(cad::Document& doc)
{
    if (doc.FullName().isEmpty())
        return saveDocumentAs(doc);
    try {
        ProgressShown shown(this, QStringLiteral("正在保存 %1 ……").arg(shortName(doc.FullName())), progressDelay_);
        doc.Save();
    } catch (const RunError& e) {
        ui_.message(QStringLiteral("无法保存图形文件 %1\r%2").arg(doc.FullName(), errorText(e)),
                    QStringLiteral("错误"), Icon::Critical);
        return false;
    }
    return true;
}

bool CadHostWindow::saveDrawingAs()
{
    return app_.hasDocument() && saveDocumentAs(app_.ActiveDocument());
}

bool CadHostWindow::saveDocumentAs(cad::Document& doc)
{
    FileDialogRequest r;
    r.title = QStringLiteral("图形另存为");
    r.filter = QStringLiteral("AutoCAD 2000 DXF(*.dxf)|*.dxf");
    r.fileName = doc.Name();
    r.defaultExt = QStringLiteral("dxf");
    const QString path = ui_.saveFile(r);
    if (path.isEmpty())
        return false;
    try {
        ProgressShown shown(this, QStringLiteral("正在保存 %1 ……").arg(shortName(path)), progressDelay_);
        doc.SaveAs(path);
    } catch (const RunError& e) {
        ui_.message(QStringLiteral("无法保存图形文件 %1\r%2").arg(path, errorText(e)), QStringLiteral("错误"),
                    Icon::Critical);
        return false;
    }
    refreshCaption();
    return true;
}

void CadHostWindow::zoomExtents()
{
    view_->zoomExtents();
}

void CadHostWindow::fillDocumentsMenu()
{
    docsMenu_->clear();
    for (int i = 0; i < app_.DocumentsCount(); ++i) {
        cad::Document* d = &app_.DocumentsItem(i);
        QAction* a = docsMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(d->Name()));
        a->setCheckable(true);
        a->setChecked(d == scene_.document());
        a->setEnabled(!pending_);
        connect(a, &QAction::triggered, this, [this, d] {
            if (!d->isClosed())
                app_.setActive(*d);
        });
    }
}

void CadHostWindow::fillHostMenus()
{
    menusDue_ = false;
    for (QMenu* m : hostMenus_) {
        menuBar()->removeAction(m->menuAction());
        m->deleteLater();
    }
    hostMenus_.clear();
    for (int i = 0; i < app_.MenuBarCount(); ++i) {
        const cad::PopupMenu* pm = app_.MenuBarItem(i);
        if (pm->items().empty())
            continue; // the host's own menus, which the window has itself
        QMenu* m = menuBar()->addMenu(pm->Name());
        for (const cad::MenuItem& it : pm->items()) {
            if (it.separator) {
                m->addSeparator();
                continue;
            }
            QAction* a = m->addAction(it.label);
            a->setStatusTip(it.HelpString);
            a->setToolTip(it.HelpString);
            connect(a, &QAction::triggered, this, [this, macro = it.macro] { runMenuMacro(macro); });
        }
        hostMenus_.push_back(m);
    }
}

void CadHostWindow::runMenuMacro(const QString& macro)
{
    QString text = macro;
    bool escaped = false;
    while (text.startsWith(QChar(27))) {
        text.remove(0, 1);
        escaped = true;
    }
    if (pending_) {
        if (!escaped) {
            ui_.beep(); // a command is waiting and the macro does not cancel it
            return;
        }
        cancel();
        // the cancelled command unwinds first
        QTimer::singleShot(0, this, [this, text] { runMenuMacro(text); });
        return;
    }
    if (!app_.hasDocument() || text.isEmpty())
        return;
    text.replace(QLatin1Char(';'), QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char(' ')))
        text.back() = QLatin1Char('\r');
    const qsizetype end = text.lastIndexOf(QLatin1Char('\r'));
    const QString typed = text.mid(end + 1);
    if (end >= 0) {
        const QString run = text.left(end + 1);
        history(QString(run).replace(QLatin1Char('\r'), QLatin1Char('\n')));
        app_.runCommandText(app_.ActiveDocument(), run);
        history(QStringLiteral("%1 ").arg(kIdlePrompt));
    }
    input_->setText(typed);
    input_->setFocus();
}

void CadHostWindow::setBusyMenus(bool waiting)
{
    fileMenu_->setEnabled(!waiting);
}

// ---------------------------------------------------------------- questions

Input CadHostWindow::ask(const QString& asking, const QString& prompt)
{
    if (pending_ || closing_ || !app_.running())
        return Input{}; // one question at a time; a stopped host answers Esc
    if (!isVisible()) {
        // nobody can answer a hidden window
        app_.setVisible(true);
    }
    raise();
    activateWindow();
    refreshCaption();
    pending_.emplace();
    pending_->asking = asking;
    pending_->prompt = prompt;
    const QString shown = prompt.section(QLatin1Char('\n'), -1).section(QLatin1Char('\r'), -1).trimmed();
    prompt_->setText(shown.isEmpty() ? (asking == QLatin1String("select") ? QStringLiteral("选择对象:") : shown)
                                     : shown);
    if (asking == QLatin1String("select") && prompt.isEmpty())
        history(QStringLiteral("选择对象: "));
    view_->setLeftPans(false);
    setBusyMenus(true);
    input_->clear();
    input_->setFocus();
    qApp->installEventFilter(this);
    emit questionAsked(asking);

    if (!pending_->answered) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }

    qApp->removeEventFilter(this);
    const Input result = pending_->result;
    pending_.reset();
    view_->setHighlighted({});
    view_->setLeftPans(true);
    setBusyMenus(false);
    prompt_->setText(kIdlePrompt);
    view_->update();
    return result;
}

void CadHostWindow::answer(const Input& in, const QString& echo)
{
    if (!pending_ || pending_->answered)
        return;
    history(echo + QLatin1Char('\n'));
    pending_->result = in;
    pending_->answered = true;
    if (loop_)
        loop_->quit();
}

void CadHostWindow::cancel()
{
    if (!pending_) {
        input_->clear();
        return;
    }
    answer(Input{}, QStringLiteral("*取消*"));
}

void CadHostWindow::submitTyped()
{
    const QString raw = input_->text();
    input_->clear();
    const QString text = raw.trimmed();
    if (!pending_) {
        if (text.isEmpty() || !app_.hasDocument())
            return;
        history(text + QLatin1Char('\n'));
        app_.runCommandText(app_.ActiveDocument(), text + QLatin1Char('\r'));
        history(QStringLiteral("%1 ").arg(kIdlePrompt));
        return;
    }
    const QString& asking = pending_->asking;
    Input in;
    in.kind = Input::Value;
    if (asking == QLatin1String("select")) {
        if (!text.isEmpty()) {
            ui_.beep();
            return;
        }
        for (cad::Entity* e : pending_->chosen)
            in.handles << e->Handle();
        answer(in, QString());
        return;
    }
    if (text.isEmpty()) {
        in.kind = Input::Enter;
        answer(in, QString());
        return;
    }
    if (asking == QLatin1String("point")) {
        if (const std::optional<cad::Point> p = cad::pointOf(text)) {
            in.point = *p;
        } else {
            in.text = text;
            in.handle = QStringLiteral("keyword");
        }
    } else if (asking == QLatin1String("entity")) {
        in.text = text;
        in.handle = QStringLiteral("keyword");
    } else {
        in.text = asking == QLatin1String("string") ? raw : text;
    }
    answer(in, asking == QLatin1String("string") ? raw : text);
}

void CadHostWindow::showCommandHelp()
{
    // the list goes between the prompt and a fresh copy of it
    history(QStringLiteral("\n") + app_.commandHelp() + prompt_->text() + QLatin1Char(' '));
}

double CadHostWindow::pixels(double px) const
{
    return px / view_->view().scale;
}

double CadHostWindow::aperture() const
{
    return pixels(std::max(1, documentInt(scene_.document(), "APERTURE", kAperture)));
}

cad::Point CadHostWindow::snapped(const QPointF& at, int* kind) const
{
    const cad::Point p = view_->toDrawing(at);
    *kind = 0;
    cad::Document* doc = scene_.document();
    if (!doc)
        return p;
    const cad::Snap s = cad::findSnap(*doc, p, documentInt(doc, "OSMODE", 0), aperture());
    *kind = s.mode;
    return s.p;
}

void CadHostWindow::onClick(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (!pending_ || pending_->answered)
        return;
    const QString& asking = pending_->asking;
    if (button == Qt::RightButton) {
        submitTyped(); // the right button is Enter
        return;
    }
    if (button != Qt::LeftButton)
        return;
    const double pickbox = pixels(std::max(3, documentInt(scene_.document(), "PICKBOX", 3)));
    if (asking == QLatin1String("point")) {
        // the raw click and the reach: the model snaps it, as it does a scripted pick
        Input in;
        in.kind = Input::Value;
        in.point = view_->toDrawing(at);
        in.aperture = aperture();
        int kind = 0;
        answer(in, pointText(snapped(at, &kind)));
    } else if (asking == QLatin1String("entity")) {
        const cad::Point p = view_->toDrawing(at);
        Input in;
        in.point = p;
        if (cad::Entity* e = scene_.pick(p, pickbox)) {
            in.kind = Input::Value;
            in.handle = e->Handle();
            answer(in, QString());
        } else {
            in.kind = Input::EmptyPick;
            answer(in, QStringLiteral("未选择对象。"));
        }
    } else if (asking == QLatin1String("select")) {
        if (pending_->boxing) {
            endBox(at);
            return;
        }
        const cad::Point p = view_->toDrawing(at);
        cad::Entity* e = scene_.pick(p, pickbox);
        if (!e) {
            pending_->boxing = true;
            pending_->boxStart = p;
            pending_->boxFrom = pending_->boxTo = at;
            view_->update();
            return;
        }
        auto& chosen = pending_->chosen;
        // with PICKSTYLE 1 a member brings its whole group
        const std::vector<cad::Entity*> picked = cad::pickedWithGroups(*scene_.document(), {e});
        const auto it = std::find(chosen.begin(), chosen.end(), e);
        if (modifiers & Qt::ShiftModifier) {
            if (it != chosen.end()) {
                for (cad::Entity* p : picked)
                    std::erase(chosen, p);
                history(QStringLiteral("删除 %1 个，总计 %2 个\n").arg(picked.size()).arg(chosen.size()));
            }
        } else if (it == chosen.end()) {
            for (cad::Entity* p : picked)
                if (std::find(chosen.begin(), chosen.end(), p) == chosen.end())
                    chosen.push_back(p);
            history(QStringLiteral("找到 %1 个，总计 %2 个\n").arg(picked.size()).arg(chosen.size()));
        } else {
            history(QStringLiteral("找到 1 个（1 个重复），总计 %1 个\n").arg(chosen.size()));
        }
        showSelection();
    }
}

void CadHostWindow::onRelease(QPointF at, bool dragged)
{
    // a box dragged out with the button held ends where it is let go
    if (pending_ && pending_->boxing && dragged)
        endBox(at);
}

void CadHostWindow::endBox(const QPointF& at)
{
    Pending& p = *pending_;
    p.boxing = false;
    const cad::Point end = view_->toDrawing(at);
    cad::Box box;
    box.add(p.boxStart.x, p.boxStart.y);
    box.add(end.x, end.y);
    // dragged to the left it is a crossing box, to the right a window
    const bool crossing = at.x() < p.boxFrom.x();
    int found = 0;
    for (cad::Entity* e : cad::pickedWithGroups(*scene_.document(), scene_.select(box, crossing))) {
        ++found;
        if (std::find(p.chosen.begin(), p.chosen.end(), e) == p.chosen.end())
            p.chosen.push_back(e);
    }
    history(QStringLiteral("找到 %1 个，总计 %2 个\n").arg(found).arg(p.chosen.size()));
    showSelection();
}

void CadHostWindow::showSelection()
{
    std::unordered_set<const cad::Entity*> set(pending_->chosen.begin(), pending_->chosen.end());
    view_->setHighlighted(std::move(set));
}

void CadHostWindow::onMove(QPointF at)
{
    hover_ = at;
    hoverSnap_ = 0;
    if (pending_ && pending_->asking == QLatin1String("point"))
        hoverPoint_ = snapped(at, &hoverSnap_);
    if (pending_ && pending_->boxing)
        pending_->boxTo = at;
    view_->update();
}

void CadHostWindow::paintOverlay(QPainter& p)
{
    if (pending_ && pending_->boxing) {
        const bool crossing = pending_->boxTo.x() < pending_->boxFrom.x();
        const QRectF r = QRectF(pending_->boxFrom, pending_->boxTo).normalized();
        p.setPen(QPen(crossing ? QColor(80, 200, 80) : QColor(80, 120, 255), 1,
                      crossing ? Qt::DashLine : Qt::SolidLine));
        p.setBrush(crossing ? QColor(80, 200, 80, 50) : QColor(80, 120, 255, 50));
        p.drawRect(r);
        p.setBrush(Qt::NoBrush);
    }
    if (hoverSnap_ && pending_ && pending_->asking == QLatin1String("point")) {
        const QPointF c = view_->toScreen(hoverPoint_);
        p.setPen(QPen(QColor(255, 200, 0), 2));
        const QRectF box(c.x() - 5, c.y() - 5, 10, 10);
        switch (hoverSnap_) {
        case 1: p.drawRect(box); break;                       // endpoint: a square
        case 2:                                              // midpoint: a triangle
            p.drawPolygon(QPolygonF{{c.x() - 6, c.y() + 5}, {c.x() + 6, c.y() + 5}, {c.x(), c.y() - 6}});
            break;
        case 4: p.drawEllipse(box); break;                   // centre: a circle
        case 8:                                              // node: a circle with a cross
            p.drawEllipse(box);
            p.drawLine(box.topLeft(), box.bottomRight());
            p.drawLine(box.topRight(), box.bottomLeft());
            break;
        case 32:                                             // intersection: a cross
            p.drawLine(box.topLeft(), box.bottomRight());
            p.drawLine(box.topRight(), box.bottomLeft());
            break;
        case 64:                                             // insertion: two squares
            p.drawRect(QRectF(c.x() - 6, c.y() - 6, 7, 7));
            p.drawRect(QRectF(c.x() - 1, c.y() - 1, 7, 7));
            break;
        default: {                                           // nearest: the hourglass
            const QPointF q[4] = {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()};
            p.drawLine(q[0], q[1]);
            p.drawLine(q[1], q[2]);
            p.drawLine(q[2], q[3]);
            p.drawLine(q[3], q[0]);
        }
        }
    }
}

// ---------------------------------------------------------------- window

bool CadHostWindow::confirmDiscard(cad::Document& doc)
{
    if (doc.Saved())
        return true;
    const Answer a = ui_.message(QStringLiteral("是否将改动保存到 %1？").arg(doc.Name()), QStringLiteral("Kelvor CAD"),
                                 Icon::Exclamation, Buttons::YesNoCancel, 1);
    if (a == Answer::Yes)
        return saveDocument(doc); // a failed or cancelled save keeps the drawing open
    return a == Answer::No;
}

void CadHostWindow::closeEvent(QCloseEvent* event)
{
    // closing the host stops it: its drawings close, commands find none
    closing_ = true;
    const bool waiting = pending_ && !pending_->answered;
    if (waiting)
        qApp->removeEventFilter(this); // the questions below need the rest of the screen
    std::vector<cad::Document*> open;
    for (int i = 0; i < app_.DocumentsCount(); ++i)
        open.push_back(&app_.DocumentsItem(i));
    for (cad::Document* d : open) {
        if (!confirmDiscard(*d)) {
            // the person keeps the host: the command waits on
            if (waiting)
                qApp->installEventFilter(this);
            closing_ = false;
            refreshCaption();
            event->ignore();
            return;
        }
    }
    if (waiting)
        answer(Input{}, QStringLiteral("*取消*"));
    syncing_ = true;
    for (cad::Document* d : open)
        d->Close();
    app_.setVisible(false);
    app_.setRunning(false);
    syncing_ = false;
    showDocument();
    closing_ = false;
    event->accept();
}

void CadHostWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || syncing_ || !isVisible())
        return;
    const int state = isMinimized() ? 2 : (isMaximized() ? 3 : 1);
    if (state != app_.WindowState()) {
        syncing_ = true;
        app_.setWindowState(state);
        syncing_ = false;
    }
}

bool CadHostWindow::ownsWidget(QObject* o) const
{
    auto* w = qobject_cast<QWidget*>(o);
    if (!w)
        return true; // windows' handles and the application: let them be
    for (QWidget* top = w->window(); top; top = top->parentWidget() ? top->parentWidget()->window() : nullptr)
        if (top == this)
            return true;
    return false;
}

bool CadHostWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == input_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Escape) {
            cancel();
            return true;
        }
        if (k->key() == Qt::Key_F1) {
            showCommandHelp();
            return true;
        }
        if (k->key() == Qt::Key_Space && pending_ && pending_->asking != QLatin1String("string")) {
            submitTyped(); // the space bar is Enter, as on a CAD command line
            return true;
        }
        return false;
    }
    if (!pending_)
        return false;
    // while a question waits the rest of the program takes no input
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return !ownsWidget(watched);
    default:
        return false;
    }
}

} // namespace kelvor
