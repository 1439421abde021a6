#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kelvor {

// The title a message box shows when the program gives none.
QString applicationTitle();
// A title that is there and empty: the box's title bar shows nothing. A
// null title (QString(), the default) is no title of its own.
QString emptyTitle();
// What the title bar of a box given this title shows.
QString shownTitle(const QString& title);

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

QString iconName(Icon icon);        // "none", "critical", "question", "exclamation", "information"
QString buttonsName(Buttons buttons); // "OK", "OKCancel", "AbortRetryIgnore", "YesNoCancel", "YesNo", "RetryCancel"
QString answerName(Answer answer);  // "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"

struct FileDialogRequest {
    QString title;
    QString filter;     // "描述|*.CG|所有文件(*.*)|*.*"
    int filterIndex = 1;
    QString fileName;   // initial file name
    QString initDir;
    QString defaultExt;
    bool multiSelect = false;
};

// Everything a command asks of the person at the screen. Commands reach it
// through their Context; windows get the Qt implementation, tests and the
// scenario runner a scripted one that answers from a queue and records what
// was shown.
class Ui {
public:
    virtual ~Ui() = default;

    // text is kept raw: a lone CR stays CR and shows as a line break. The
    // title bar shows shownTitle(title). defaultButton counts from 1.
    virtual Answer message(const QString& text, const QString& title = QString(), Icon icon = Icon::None,
                           Buttons buttons = Buttons::OK, int defaultButton = 1) = 0;
    // "" when cancelled.
    virtual QString input(const QString& prompt, const QString& title = QString(),
                          const QString& defaultText = QString()) = 0;
    // Full paths; empty when cancelled. One path unless multiSelect.
    virtual QStringList openFiles(const FileDialogRequest& request) = 0;
    // Full path; "" when cancelled.
    virtual QString saveFile(const FileDialogRequest& request) = 0;
    // The folder picker behind getpath: full path ("D:\" keeps its
    // separator), "" when cancelled.
    virtual QString pickFolder(const QString& prompt) = 0;
    // In place of starting "notepad.exe" on a file: shows it in the
    // program's own text window and returns at once.
    virtual void openTextWindow(const QString& path) = 0;
    virtual void setBusy(bool busy) = 0;
    // The main window's caption, the progress a long command shows.
    virtual void setCaption(const QString& text) { (void)text; }
    virtual void beep() = 0;
    virtual QDateTime now() = 0;
    QDate today() { return now().date(); }
    // Lets windows repaint during a long command (DoEvents).
    virtual void processEvents() {}

    QString openFile(const FileDialogRequest& request)
    {
        const QStringList l = openFiles(request);
        return l.isEmpty() ? QString() : l.first();
    }
};

// The busy cursor over a stretch of work a person waits for, off again on
// every path; end it before anything asks or tells the person.
class BusyCursor {
public:
    explicit BusyCursor(Ui& ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyCursor() { ui_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Ui& ui_;
};

} // namespace kelvor
