#pragma once
#include "document.h"

#include <QByteArray>
#include <QString>

namespace kelvor::doc {

// .docx packages (Office Open XML word-processing documents).
//
// Read: paragraphs with their text, tabs, line and page breaks, the breaks
// the file's last layout recorded, tables of cells (a nested table comes in
// as its cells' paragraphs), sections with their start number. Everything
// else (formatting, pictures, fields, tracked deletions) is passed over and
// marks the document lossy. Failures (not a zip, no document part, bad
// XML, an entry over the size limit) raise 5174 with a description.
Document readDocx(const QString& path);
// limit: the largest entry read (the zip layer's default when 0).
Document readDocxBytes(const QByteArray& bytes, const QString& name = QString(), qint64 limit = 0);

// The package of a document: the parts of `original` (the package it was
// read from, may be empty) are kept, the document part is written anew.
QByteArray docxBytes(const Document& doc, const QByteArray& original = QByteArray());
// Written atomically (temporary file, then rename); the package the
// document was read from, when it still exists, gives the kept parts.
void writeDocx(const QString& path, const Document& doc);

// The document part alone (for tests and the fuzzing harness).
Fragment parseDocumentXml(const QByteArray& xml, bool* lossy);
QByteArray documentXml(const Document& doc);

} // namespace kelvor::doc
