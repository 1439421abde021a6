#pragma once
#include "cad/model/document.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace kelvor::cad {

// DXF drawing files: AutoCAD 2000 (AC1015) or, on request, R14 (AC1014),
// code page ANSI_936 (GBK texts). The reader is a streaming group-pair
// reader: entities of kinds the host does not model, the records of tables
// it does not keep, the classes and the objects are kept as read and
// written back byte for byte; unknown sections are skipped; a
// malformed or truncated file fails with fail::Failed and a description
// naming the line, and no half-read drawing is ever returned.
std::unique_ptr<Document> readDxf(const QString& path, DocumentHost* host = nullptr);
std::unique_ptr<Document> readDxfBytes(const QByteArray& bytes, DocumentHost* host = nullptr,
                                       const QString& name = QStringLiteral("drawing"));
QByteArray dxfBytes(Document& doc, DrawingFormat format = DrawingFormat::R2000);
// Writes atomically: the old file stays whole when writing fails.
void writeDxf(Document& doc, const QString& path, DrawingFormat format = DrawingFormat::R2000);

// Long reads and writes of drawing files tell this how far they have come
// (bytes done, and the total or 0 when it is not known in advance), about
// once a megabyte, so that a window can show progress and keep painting.
// One hook for the program; none at first.
using FileProgress = std::function<void(qint64 done, qint64 total)>;
void setFileProgress(FileProgress progress);
const FileProgress& fileProgress();

// A path as commands give it ("d:\a.dwg", "d:\a") mapped to the native
// DXF path: ".dwg" becomes the drawing extension, a missing one is added.
QString drawingPath(const QString& path);

} // namespace kelvor::cad
