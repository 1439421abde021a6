#pragma once
#include "platform/ui.h"

#include <QPointer>
#include <QWidget>

namespace kelvor {

// The Ui port on real windows: Qt message boxes and dialogs, and our own
// text window in place of Notepad.
class QtUi : public Ui {
public:
    explicit QtUi(QWidget* owner = nullptr);

    Answer message(const QString& text, const QString& title = QString(), Icon icon = Icon::None,
                   Buttons buttons = Buttons::OK, int defaultButton = 1) override;
    QString input(const QString& prompt, const QString& title = QString(),
                  const QString& defaultText = QString()) override;
    QStringList openFiles(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    QString pickFolder(const QString& prompt) override;
    void openTextWindow(const QString& path) override;
    void setBusy(bool busy) override;
    void setCaption(const QString& text) override;
    void beep() override;
    QDateTime now() override;
    void processEvents() override;

    void setOwner(QWidget* owner) { owner_ = owner; }
    // Dialogs sit over the window the person works in (the drawing window
    // when a command runs from it), else over the owner.
    QWidget* dialogParent() const;

private:
    QPointer<QWidget> owner_;
    bool busy_ = false;
};

// Qt's own texts (standard buttons, file dialogs) in Chinese whatever the
// machine's locale: the zh_CN translations of Qt, and zh_CN as the default
// locale. False when the translations are not installed.
bool installChineseTranslations();

// "desc|*.CG|all|*.*" as a Qt name filter list; patterns match either case.
QStringList qtNameFilters(const QString& filter);
// Message text as shown: CR LF, lone CR and lone LF each break the line.
QString displayText(const QString& text);

} // namespace kelvor
