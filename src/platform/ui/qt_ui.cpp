#include "qt_ui.h"

#include "platform/paths.h"
#include "text_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <QPushButton>

namespace kelvor {

QString displayText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QStringList qtNameFilters(const QString& filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << t;
            if (t.toLower() != t)
                patterns << t.toLower();
            if (t.toUpper() != t)
                patterns << t.toUpper();
        }
        patterns.removeDuplicates();
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    if (out.isEmpty())
        out << QStringLiteral("所有文件 (*)");
    return out;
}

QtUi::QtUi(QWidget* owner)
    : owner_(owner)
{
}

Answer QtUi::message(const QString& text, const QString& title, Icon icon, Buttons buttons, int defaultButton)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(shownTitle(title));
    box.setText(displayText(paths::shownInText(text)));
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
    QList<QPair<QMessageBox::StandardButton, Answer>> list;
    switch (buttons) {
    case Buttons::OK: list = {{QMessageBox::Ok, Answer::OK}}; break;
    case Buttons::OKCancel: list = {{QMessageBox::Ok, Answer::OK}, {QMessageBox::Cancel, Answer::Cancel}}; break;
    case Buttons::AbortRetryIgnore:
        list = {{QMessageBox::Abort, Answer::Abort}, {QMessageBox::Retry, Answer::Retry},
                {QMessageBox::Ignore, Answer::Ignore}};
        break;
    case Buttons::YesNoCancel:
        list = {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}, {QMessageBox::Cancel, Answer::Cancel}};
        break;
    case Buttons::YesNo: list = {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}}; break;
    case Buttons::RetryCancel: list = {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}}; break;
    }
    QMessageBox::StandardButtons flags;
    for (const auto& b : list)
        flags |= b.first;
    box.setStandardButtons(flags);
    if (defaultButton >= 1 && defaultButton <= list.size())
        box.setDefaultButton(list[defaultButton - 1].first);
    const int r = box.exec();
    for (const auto& b : list) {
        if (r == b.first)
            return b.second;
    }
    // Closing the box counts as its cancel button, or its only button.
    for (const auto& b : list) {
        if (b.second == Answer::Cancel || b.second == Answer::No)
            return b.second;
    }
    return list.first().second;
}

QString QtUi::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString t = QInputDialog::getText(dialogParent(), shownTitle(title), displayText(paths::shownInText(prompt)),
                                            QLineEdit::Normal, defaultText, &ok);
    return ok ? t : QString();
}

namespace {
QString startDir(const FileDialogRequest& r)
{
    if (!r.fileName.isEmpty())
        return paths::resolve(r.fileName);
    if (!r.initDir.isEmpty())
        return paths::resolve(r.initDir);
    return paths::resolve(QStringLiteral("d:\\"));
}
} // namespace

QWidget* QtUi::dialogParent() const
{
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible())
        return active;
    return owner_;
}

namespace {

// Qt texts its Chinese translations leave in English: the kinds of entries
// the file dialogs show in their type column.
class OwnTranslations : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        (void)disambiguation;
        (void)n;
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const struct {
            const char* source;
            const char* chinese;
        } texts[] = {
            {"Folder", "文件夹"}, {"File Folder", "文件夹"}, {"Drive", "驱动器"},
            {"Alias", "快捷方式"}, {"Shortcut", "快捷方式"}, {"File", "文件"}, {"%1 File", "%1 文件"},
        };
        for (const auto& t : texts)
            if (qstrcmp(source, t.source) == 0)
                return QString::fromUtf8(t.chinese);
        return QString();
    }
};

} // namespace

bool installChineseTranslations()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QCoreApplication::installTranslator(new OwnTranslations(qApp));
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    return true;
}

QStringList QtUi::openFiles(const FileDialogRequest& r)
{
    QFileDialog dlg(dialogParent(), r.title.isEmpty() ? QStringLiteral("打开") : r.title, startDir(r));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(r.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // the program's own description is the whole label, patterns and all
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(r.filter);
    dlg.setNameFilters(filters);
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
        dlg.selectNameFilter(filters[r.filterIndex - 1]);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

QString QtUi::saveFile(const FileDialogRequest& r)
{
    QFileDialog dlg(dialogParent(), r.title.isEmpty() ? QStringLiteral("保存") : r.title, startDir(r));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(r.filter);
    dlg.setNameFilters(filters);
    if (!r.defaultExt.isEmpty())
        dlg.setDefaultSuffix(r.defaultExt);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().first();
}

QString QtUi::pickFolder(const QString& prompt)
{
    const QString p = QFileDialog::getExistingDirectory(dialogParent(), prompt, paths::resolve(QStringLiteral("d:\\")));
    if (p.isEmpty())
        return QString();
    return paths::toWindows(p);
}

void QtUi::openTextWindow(const QString& path)
{
    auto* w = new TextWindow(path);
    w->show();
    w->raise();
}

void QtUi::setCaption(const QString& text)
{
    if (owner_)
        owner_->window()->setWindowTitle(text);
}

void QtUi::setBusy(bool busy)
{
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::beep()
{
    QApplication::beep();
}

QDateTime QtUi::now()
{
    return QDateTime::currentDateTime();
}

void QtUi::processEvents()
{
    QApplication::processEvents();
}

} // namespace kelvor
