#pragma once
#include "ui.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <stdexcept>

namespace kelvor {

// One answer a person would give: to a message box ("button"), an input box
// ("input"), a file or folder dialog ("open", "save", "folder"), or a CAD
// prompt ("point", "entity", "string", "real", "integer", "keyword",
// "select", "enter", "esc"). Shared by the scripted UI and the CAD host's
// scripted input source, so one queue drives a whole scenario.
struct ScriptedAnswer {
    QString kind;
    QString text;       // button name, input text, save/folder path, string, keyword, number text
    QStringList list;   // open: paths; select: handles
    double x = 0, y = 0, z = 0; // point, or the pick point of "entity"
    QString handle;     // entity

    static ScriptedAnswer fromJson(const QJsonObject& o);
    QJsonObject toJson() const;
};

// Raised when a command asks for an answer of another kind than the next
// one queued, or when none is left. The scenario stops there.
class ScriptMismatch : public std::runtime_error {
public:
    explicit ScriptMismatch(const QString& message);
    QString message() const { return message_; }

private:
    QString message_;
};

class AnswerQueue {
public:
    void push(const ScriptedAnswer& a) { q_.push_back(a); }
    bool empty() const { return q_.empty(); }
    const ScriptedAnswer* peek() const { return q_.empty() ? nullptr : &q_.front(); }
    // Takes the next answer, which must be one of kinds; `asking` names what
    // asked for it in the error.
    ScriptedAnswer take(const QStringList& kinds, const QString& asking);
    QJsonArray remaining() const;
    void clear() { q_.clear(); }

private:
    std::deque<ScriptedAnswer> q_;
};

// The scripted Ui: answers from an AnswerQueue, records every box and
// dialog as JSON objects in order. Message boxes with only an OK button are
// answered OK without taking an answer.
class ScriptedUi : public Ui {
public:
    explicit ScriptedUi(AnswerQueue& queue);

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
    QDateTime now() override { return now_; }

    void setNow(const QDateTime& t) { now_ = t; }

    // Recorded events, each with "kind": "message", "input", "open", "save",
    // "folder", "text_window", "beep", "caption".
    const QJsonArray& events() const { return events_; }
    QJsonArray messages() const; // only the message boxes
    QStringList textWindowFiles() const { return textFiles_; }
    // Every caption set, in order.
    QStringList captions() const;
    bool busy() const { return busy_; }
    int busySpells() const { return busySpells_; } // times the busy cursor went on
    int beeps() const { return beeps_; }
    void clearRecord();

private:
    AnswerQueue& queue_;
    QJsonArray events_;
    QStringList textFiles_;
    QDateTime now_;
    bool busy_ = false;
    int busySpells_ = 0;
    int beeps_ = 0;
};

} // namespace kelvor
