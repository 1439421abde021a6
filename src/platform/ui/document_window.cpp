#include "document_window.h"

#include "platform/doc/docx.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextTable>

namespace kelvor {

namespace {

// A table's cells, row by row, as the story holds them from its first unit;
// *next is the first unit after the table.
QList<QStringList> tableCells(const doc::Fragment& units, qsizetype first, qsizetype* next)
{
    const int tag = units[first].table;
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    qsizetype i = first;
    for (; i < units.size() && units[i].table == tag; ++i) {
        const doc::Unit& u = units[i];
        if (u.mark == doc::Mark::Cell) {
            row << cell;
            cell.clear();
        } else if (u.mark == doc::Mark::Row) {
            rows << row;
            row.clear();
        } else if (u.mark != doc::Mark::None || u.ch == doc::LineBreakChar) {
            cell += u'\n';
        } else {
            cell += u.ch;
        }
    }
    if (!row.isEmpty())
        rows << row;
    *next = i;
    return rows;
}

void drawTable(QTextCursor& c, const QList<QStringList>& rows)
{
    int columns = 1;
    for (const QStringList& r : rows)
        columns = std::max(columns, int(r.size()));
    QTextTableFormat f;
    f.setBorder(1);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorderBrush(QColor(Qt::black));
    f.setBorderCollapse(true);
    f.setCellSpacing(0);
    f.setCellPadding(3);
    QTextTable* table = c.insertTable(int(std::max<qsizetype>(1, rows.size())), columns, f);
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype k = 0; k < rows[r].size(); ++k)
            table->cellAt(int(r), int(k)).firstCursorPosition().insertText(rows[r][k]);
    c.movePosition(QTextCursor::End);
}

// Paragraphs a block each, each page break a line of its own, tables as a
// grid of cells.
void showStory(QTextDocument* shown, const doc::Fragment& units)
{
    shown->clear();
    QTextCursor c(shown);
    c.beginEditBlock();
    QString run; // text of the paragraph so far
    const auto flush = [&] {
        c.insertText(run);
        run.clear();
    };
    for (qsizetype i = 0; i < units.size();) {
        const doc::Unit& u = units[i];
        if (u.table >= 0) {
            flush();
            drawTable(c, tableCells(units, i, &i));
            continue;
        }
        if (u.ch == doc::PageBreakChar) {
            flush();
            c.insertBlock();
            c.insertText(QStringLiteral("———— 分页 ————"));
            c.insertBlock();
        } else if (u.mark != doc::Mark::None || u.ch == doc::LineBreakChar) {
            flush();
            c.insertBlock();
        } else {
            run += u.ch;
        }
        ++i;
    }
    flush();
    c.endEditBlock();
}

} // namespace

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
    : QMainWindow(parent), host_(std::make_unique<Host>(*this, hosts.shared())), view_(new QTextEdit(this))
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
    tell = [this](const QString& text) { QMessageBox::critical(this, windowTitle(), paths::shownInText(text)); };
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
    } catch (const RunError& e) {
        // the path is said once
        const QString why = e.description() == path ? errorReason(e.number()) : errorText(e);
        tell(QStringLiteral("不能打开文件:") + path + QStringLiteral("\n") + why);
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
        tell(QStringLiteral("不能保存文件:") + path + QStringLiteral("\n") + errorText(e));
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
    showStory(view_->document(), d.units());
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
