#pragma once
#include "document.h"
#include "platform/office.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace kelvor {
class Ui;
}

namespace kelvor::doc {

// What every instance of the host shares: the clipboard, the person to tell
// things to, and whether the note on binary .doc files was given.
struct Shared {
    Fragment clipboard;
    Ui* ui = nullptr;
    bool toldAboutDoc = false;
};

inline const QString DocNeedsLibreOffice =
    QStringLiteral("读取.doc文档需要LibreOffice，或先将文档另存为.docx。");

// Opens a document as the host takes a file name: a .docx package under any
// name is read as such; a binary .doc (compound-file signature) is converted
// by LibreOffice headless when `soffice` is installed (into a scratch
// folder, under a time limit, the source untouched), else the note above is
// shown once and the open fails; a missing "name.doc" is taken as
// "name.docx". Failures raise 5174 naming the file.
Document openDocument(const QString& path, Shared& shared);

// The LibreOffice program used for binary .doc files ("" when none). Tests
// may point it elsewhere.
QString officeConverter();
void setOfficeConverter(const QString& program);

// One instance of the document host, as the automation sees it: its open
// documents, the active one with its selection, visibility, activation.
// Started instances have no window; the window's own instance overrides the
// hooks to show itself.
class Instance : public cad::WordApplication {
public:
    explicit Instance(std::shared_ptr<Shared> shared);

    void setVisible(bool on) override { visible_ = on; }
    bool visible() const { return visible_; }
    void activate() override { ++activations_; }
    int activations() const { return activations_; }
    QString caption() const override;

    // 5174 on failure.
    Document& open(const QString& path) override;
    // Adds a document already read (the window's File > Open, tests).
    Document& adopt(Document doc);
    // 5941 when no document is open.
    Document& activeDocument() override;
    bool holdsDocument() const { return !documents_.empty(); }
    int documentCount() const { return int(documents_.size()); }
    void close(Document& doc) override;
    void quit() override;
    bool quitted() const { return quit_; }

    void wholeStory() override;
    void copy() override;
    void paste() override;
    void insertBreak(int type) override;
    int pageNumber() override;
    bool find(const QString& text) override;

    Shared& shared() { return *shared_; }

protected:
    // Called after every change of documents or content.
    virtual void changed() {}

private:
    std::shared_ptr<Shared> shared_;
    std::vector<std::unique_ptr<Document>> documents_;
    bool visible_ = false;
    int activations_ = 0;
    bool quit_ = false;
};

// The office hosts with the word processor's half filled: the running
// instance (the document window), when it holds a document, and instances
// started for a command. The spreadsheet's half goes to the hosts given
// (none: no spreadsheet runs or starts).
class Hosts : public cad::OfficeHosts {
public:
    explicit Hosts(Ui* ui = nullptr);

    // The running instance, null when there is none or it holds no document
    // (then the window is shown for the person to open one).
    cad::WordApplication* runningWord() override;
    // A new instance of the command's own, without a window.
    cad::WordApplication* startWord() override;
    cad::ExcelApplication* runningExcel() override { return excel_ ? excel_->runningExcel() : nullptr; }
    cad::ExcelApplication* startExcel() override { return excel_ ? excel_->startExcel() : nullptr; }
    void setSpreadsheetHosts(cad::OfficeHosts* excel) { excel_ = excel; }

    // The instance the window runs (not owned); null for none.
    void setRunning(Instance* instance) { running_ = instance; }
    // Asked when an attach finds no document: show the window.
    std::function<void()> needDocument;

    std::shared_ptr<Shared> shared() const { return shared_; }
    // Started instances not yet quit (each command quits its own).
    int liveStarted() const;
    int startedCount() const { return int(started_.size()); }
    Instance& started(int i) { return *started_.at(size_t(i)); }
    // Forgets started instances that have quit.
    void collect();

private:
    std::shared_ptr<Shared> shared_;
    Instance* running_ = nullptr;
    cad::OfficeHosts* excel_ = nullptr;
    std::vector<std::unique_ptr<Instance>> started_;
};

} // namespace kelvor::doc
