#include "text_window.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "qt_ui.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace kelvor {

namespace {
QList<TextWindow*>& registry()
{
    static QList<TextWindow*> list;
    return list;
}
} // namespace

TextWindow::TextWindow(const QString& path, QWidget* parent)
    : QMainWindow(parent)
    , path_(paths::resolve(path))
    , editor_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TextWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    editor_->setObjectName(QStringLiteral("Text1"));
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setCentralWidget(editor_);

    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("保存(&S)"), QKeySequence::Save, this, [this] { save(); });
    file->addAction(QStringLiteral("另存为(&A)..."), this, [this] {
        const QString p = QFileDialog::getSaveFileName(this, QStringLiteral("另存为"), path_,
                                                       QStringLiteral("文本文件 (*.txt *.TXT);;所有文件 (*)"));
        if (!p.isEmpty())
            saveAs(p);
    });
    file->addAction(QStringLiteral("重新读入(&R)"), this, [this] { reload(); });
    file->addSeparator();
    file->addAction(QStringLiteral("关闭(&X)"), this, &QWidget::close);

    connect(editor_->document(), &QTextDocument::modificationChanged, this, [this] { updateTitle(); });
    reload();
    resize(760, 560);
    registry().append(this);
}

void TextWindow::reload()
{
    QString text;
    try {
        text = readTextFile(path_);
    } catch (const RunError&) {
        // a file that cannot be read opens empty
    }
    // The editor works with LF; CR LF and lone CR both become line breaks.
    editor_->setPlainText(displayText(text));
    editor_->document()->setModified(false);
    updateTitle();
}

bool TextWindow::save()
{
    return saveAs(path_);
}

bool TextWindow::saveAs(const QString& path)
{
    QString text = editor_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    try {
        writeFileBytes(path, encodeGbk(text));
    } catch (const RunError& e) {
        QMessageBox::critical(this, QStringLiteral("错误"),
                              QStringLiteral("文件不能保存：%1").arg(e.number()));
        return false;
    }
    path_ = paths::resolve(path);
    editor_->document()->setModified(false);
    updateTitle();
    return true;
}

QList<TextWindow*> TextWindow::openWindows()
{
    return registry();
}

void TextWindow::closeEvent(QCloseEvent* event)
{
    if (editor_->document()->isModified()) {
        const auto r = QMessageBox::question(this, QStringLiteral("文本窗口"),
                                             QStringLiteral("文件已修改，是否保存？"),
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (r == QMessageBox::Cancel || (r == QMessageBox::Yes && !save())) {
            event->ignore();
            return;
        }
    }
    registry().removeAll(this);
    event->accept();
}

void TextWindow::updateTitle()
{
    setWindowTitle(QStringLiteral("%1%2 - 文本窗口")
                       .arg(editor_->document()->isModified() ? QStringLiteral("*") : QString(),
                            paths::toWindows(path_)));
}

} // namespace kelvor
