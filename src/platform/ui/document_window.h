#pragma once
#include "platform/doc/host.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QTextEdit;

namespace kelvor {

// The running document host: the window in which the person opens the
// document the commands work on (open, save, save as). Hidden until a
// command shows it or finds no document in it; it counts as running only
// while it holds a document.
class DocumentWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit DocumentWindow(doc::Hosts& hosts, QWidget* parent = nullptr);
    ~DocumentWindow() override;

    doc::Instance& instance();

    // Paths native or Windows-style; false (after a message) on failure.
    bool openPath(const QString& path);
    // Saves in place, unless that would drop what the file held (formatting,
    // pictures, a binary .doc): then asks for a new name.
    bool save();
    bool saveAs(const QString& path);

    // How the window asks for a file name (open or save; "" cancels) and
    // tells a failure. File dialogs and message boxes unless replaced.
    std::function<QString(bool forSaving)> askName;
    std::function<void(const QString&)> tell;

    // The document as the window shows it, as plain text (a table's cells
    // one a line), and the view that shows it.
    QString viewText() const;
    QTextEdit* view() const { return view_; }

private:
    class Host;
    void refresh();
    void openChosen();
    void saveChosen();
    std::unique_ptr<Host> host_;
    QTextEdit* view_;
};

} // namespace kelvor
