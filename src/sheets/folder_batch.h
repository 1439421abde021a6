#pragma once
// Work over every drawing file of a folder: the folder's drawings are listed
// in watch.txt and handed one by one to the command's step; most steps open
// the drawing, treat it, save it and close it (the drawing visit).
#include <QString>
#include <QStringList>
#include <functional>

namespace kelvor {
class Context;
}
namespace kelvor::cad {
class Application;
class Document;
}

namespace kelvor::sheets {

// The folder picker's prompt every batch shows.
inline const QString kFolderPrompt = QStringLiteral("请选择要操作的目录");

// The files directly in the folder (no hidden ones, no sub-folders) whose
// trimmed full path ends with the drawing extension's letters ("DXF", no dot
// needed), any case, sorted by name without regard to case, as full paths
// with exactly one separator after the folder ("D:\" gives "D:\a.dxf").
QStringList drawingFilesOf(const QString& folder);

enum class BatchEnd {
    Cancelled, // the picker was cancelled: nothing listed, watch.txt untouched
    Failed,    // watch.txt could not be written or read: told, no step ran
    Done,      // every listed file was handed to the step (possibly none)
    Stopped,   // a step stopped the batch
};

// Returns false to stop the batch.
using FileStep = std::function<bool(const QString& path)>;

// Runs right after the picker closes, with its trimmed answer ("" when
// cancelled): a caller brings the host forward or keeps the folder.
using AfterPicker = std::function<void(const QString& folder)>;

// Asks for a folder (getpath with prompt), runs afterPicker, writes the
// listing to watch.txt (GBK, CR LF), reads it back line by line and runs
// the step on each trimmed line.
BatchEnd DwgFolderListing(Context& ctx, const QString& prompt, const FileStep& step,
                          const AfterPicker& afterPicker = {});

// What a visit's step wants done with its drawing afterwards.
enum class VisitEnd {
    Save,         // plain save, then close
    Close,        // close without saving (the step saved it under another name, or must not)
    KeepOpen,     // leave it open and unsaved: the step stops the batch
    SaveAsFailed, // close it: the step's save under another name failed, and it named the file (tellNotSaved)
};

// How a visit ended.
enum class Visited {
    NotOpened, // named on the command line, skipped
    Done,
    NotSaved, // the save failed: named on the command line ("未能保存:" + path), the file as it was
};

// Opens the drawing, zooms to its extents, runs the step on exactly that
// document, then saves and closes it as the step says. A drawing that cannot
// be opened is named on the command line and skipped; nothing else is
// changed, saved or closed. Steps the host refuses are passed over; a failed
// save is named.
Visited visitDrawing(cad::Application& app, const QString& path,
                     const std::function<VisitEnd(cad::Document&)>& step);

// Names a drawing the batch could not save on the command line.
void tellNotSaved(cad::Application& app, const QString& path);

// What a batch's closing message says instead of its success text when
// drawings were not saved: "共有" + count + "个图形文件未能保存！".
QString notSavedText(int count);

// "已经完成该操作!" on the command line of the drawing active now, or
// notSavedText when drawings were not saved.
void batchFinished(cad::Application& app, int notSaved = 0);

// The per-file start of the join-table batches: the host activated, osmode 1
// in the drawing active now, the host visible and activated again.
void prepareBatchTurn(cad::Application& app);

} // namespace kelvor::sheets
