#pragma once
#include "platform/doc/document.h"
#include "platform/office.h"
#include "platform/errors.h"

#include <QString>
#include <optional>

namespace kelvor {
class Context;
}

// What the commands on result documents share: reaching the document host,
// reporting a failure, showing progress in the main window's caption.
namespace kelvor::exchange {

inline const QString MainCaption = QStringLiteral("Kelvor2007版");

// Progress in the main window's caption; the window's own title comes back
// when the guard goes, by whatever way the command leaves.
class CaptionProgress {
public:
    explicit CaptionProgress(Context& ctx) : ctx_(ctx) {}
    ~CaptionProgress();
    CaptionProgress(const CaptionProgress&) = delete;
    CaptionProgress& operator=(const CaptionProgress&) = delete;
    void show(const QString& text);

private:
    Context& ctx_;
};

// An instance a command starts for itself (429 when none can be); whatever
// way the command leaves, it is quit with its documents.
class StartedWord {
public:
    StartedWord(Context& ctx, bool visible);
    ~StartedWord();
    StartedWord(const StartedWord&) = delete;
    StartedWord& operator=(const StartedWord&) = delete;
    cad::WordApplication* operator->() const { return word_; }

private:
    cad::WordApplication* word_;
};

// The failure styles of the commands on result documents.
enum class WordCommand { Merge, StationPages, Accuracy, CurrentResults, BatchResults };

// Shows a failure as the command reports it; `document` is the document
// being opened (for 5174). Silent codes show nothing.
void reportWordError(Context& ctx, WordCommand command, const RunError& error, const QString& document);

// The sequence file and the folder of the documents (the dialog "数据序列"
// and the folder picker); nullopt when either is cancelled or empty.
struct SequenceChoice {
    QString file;
    QString folder;
};
std::optional<SequenceChoice> askSequence(Context& ctx);

// folder, "\", the trimmed line, ".doc", joined as they stand.
QString sequenceDocument(const QString& folder, const QString& line);

// The text of paragraph i, from its start to its end (5941 past the end).
QString paragraphText(doc::Document& document, int i);

} // namespace kelvor::exchange
