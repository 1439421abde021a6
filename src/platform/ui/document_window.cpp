#include "document_window.h"

#include "platform/doc/docx.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace kelvor {

// The window's own instance: showing, activating and every change reach
// the window.
class DocumentWindow::Host : public doc::Instance {
public:
    Host(DocumentWindow& window, std::shared_ptr<doc::Shared> shared)
        : doc::Instance(std::move(shared)), window_(window) {}

    void setVisible(bool on) override
    {
        doc::Instance::setVisible(on);
        window_.setVisible(on);
    }
    void activate() override
    {
        doc::Instance::activate();
        window_.show();
        window_.raise();
        window_.activateWindow();
    }
    QString caption() const override { return window_.windowTitle(); }

protected:
    void changed() override { window_.refresh(); }

private:
    DocumentWindow& window_;
};

DocumentWindow::DocumentWindow(doc::Hosts& hosts, QWidget* parent)
    : QMainWindow(parent), host_(std::make_unique<Host>(*this, hosts.shared())), view_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("DocumentWindow"));
    view_->setReadOnly(true);
    view_->setObjectName(QStringLiteral("view"));
    setCentralWidget(view_);
    resize(720, 560);
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("打开(&O)..."), this, &DocumentWindow::openChosen);
    file->addAction(QStringLiteral("保存(&S)"), this, [this] { save(); });
    file->addAction(QStringLiteral("另存为(&A)..."), this, &DocumentWindow::saveChosen);
    askName = [this](bool forSaving) {
        const QString filter = QStringLiteral("Word 文档(*.docx *.doc)");
        return forSaving ? QFileDialog::getSaveFileName(this, QStringLiteral("另存为"), QString(), filter)
                         : QFileDialog::getOpenFileName(this, QStringLiteral("打开"), QString(), filter);
    };
    tell = [this](const QString& text) { QMessageBox::critical(this, windowTitle(), text); };
    hosts.setRunning(host_.get());
    hosts.needDocument = [this] { host_->activate(); };
    refresh();
}

DocumentWindow::~DocumentWindow() = default;

doc::Instance& DocumentWindow::instance()
{
    return *host_;
}

bool DocumentWindow::openPath(const QString& path)
{
    try {
        // One document at a time: the new one replaces what was open.
        doc::Document opened = doc::openDocument(path, host_->shared());
        while (host_->holdsDocument())
            host_->close(host_->activeDocument());
        host_->adopt(std::move(opened));
        return true;
    } catch (const RunError&) {
        tell(QStringLiteral("不能打开文件:") + path);
        return false;
    }
}

bool DocumentWindow::save()
{
    if (!host_->holdsDocument())
        return false;
    const doc::Document& d = host_->activeDocument();
    if (d.path.isEmpty() || d.lossy) {
        const QString chosen = askName(true);
        return !chosen.isEmpty() && saveAs(chosen);
    }
    return saveAs(d.path);
}

bool DocumentWindow::saveAs(const QString& path)
{
    if (!host_->holdsDocument())
        return false;
    doc::Document& d = host_->activeDocument();
    const QString native = paths::resolve(path);
    // Writing over the file it came from would drop what the model does not keep.
    if (d.lossy && !d.path.isEmpty() && QFileInfo(native) == QFileInfo(paths::resolve(d.path))) {
        const QString chosen = askName(true);
        return !chosen.isEmpty() && chosen != path && saveAs(chosen);
    }
    try {
        doc::writeDocx(native, d);
    } catch (const RunError& e) {
        tell(QStringLiteral("不能保存文件:") + path + QStringLiteral("\n") + e.description());
        return false;
    }
    d.path = path;
    d.lossy = false;
    d.modified = false;
    refresh();
    return true;
}

QString DocumentWindow::viewText() const
{
    return view_->toPlainText();
}

void DocumentWindow::refresh()
{
    const QString app = QStringLiteral("Kelvor 文档");
    if (!host_->holdsDocument()) {
        setWindowTitle(app);
        view_->clear();
        return;
    }
    doc::Document& d = host_->activeDocument();
    setWindowTitle((d.path.isEmpty() ? QStringLiteral("文档1") : QFileInfo(paths::resolve(d.path)).fileName())
                   + QStringLiteral(" - ") + app);
    // Paragraphs one a line, a table's cells separated by tabs, each page
    // break a line of its own.
    QString text;
    for (const doc::Unit& u : d.units()) {
        if (u.ch == doc::PageBreakChar)
            text += QStringLiteral("\n———— 分页 ————\n");
        else if (u.mark == doc::Mark::Cell)
            text += u'\t';
        else if (u.mark != doc::Mark::None || u.ch == doc::LineBreakChar)
            text += u'\n';
        else
            text += u.ch;
    }
    view_->setPlainText(text);
}

void DocumentWindow::openChosen()
{
    const QString chosen = askName(false);
    if (!chosen.isEmpty())
        openPath(chosen);
}

void DocumentWindow::saveChosen()
{
    const QString chosen = askName(true);
    if (!chosen.isEmpty())
        saveAs(chosen);
}

} // namespace kelvor
