#pragma once
#include <QMainWindow>

class QPlainTextEdit;

namespace kelvor {

// Stands in for Notepad: shows a GBK text file, lets the user edit it and
// saves it back as GBK with CR LF. Modeless; never blocks the command that
// opened it.
class TextWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TextWindow(const QString& path, QWidget* parent = nullptr);

    QString path() const { return path_; }
    QPlainTextEdit* editor() const { return editor_; }
    // Writes the editor's text to the file; false (with a message) on failure.
    bool save();
    bool saveAs(const QString& path);
    // Reads the file again, dropping unsaved edits.
    void reload();

    // Every text window still open, oldest first.
    static QList<TextWindow*> openWindows();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void updateTitle();
    QString path_;
    QPlainTextEdit* editor_;
};

} // namespace kelvor
