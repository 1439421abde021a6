#pragma once
#include "platform/sheet/workbook.h"

#include <QByteArray>
#include <QString>

namespace kelvor::sheet {

// Workbook files. Reading never gives half a workbook: a damaged file raises
// RunError 53 (missing) or 75 with a description naming the file and the
// part. Writing is atomic (a temporary file beside the target replaces it
// only when complete).

// .xlsx: sheets with their names, numbers, shared and inline strings, the
// active sheet and each sheet's active cell. Formulas read as their cached
// values; what is left out (formulas, formats, merged cells, cells beyond the
// bounds) is noted in Workbook::dropped. Booleans read as "TRUE"/"FALSE",
// error values as their text.
Workbook readXlsx(const QString& path);
Workbook readXlsxBytes(const QByteArray& bytes, const QString& name = QString());
void writeXlsx(const Workbook& book, const QString& path);
QByteArray xlsxBytes(const Workbook& book);

// CSV in UTF-8 (a byte-order mark is written, and skipped when read): the
// active sheet from A1 to its last used row and column, fields quoted where
// they hold a comma, a quote or a line break, lines ending CR LF. A field
// reads as a number exactly when it is written as this writer writes
// numbers (the shortest text that reads back the same), so "011" and "12.50"
// stay texts.
Workbook readCsv(const QString& path);
Workbook readCsvBytes(const QByteArray& bytes, const QString& sheetName = QStringLiteral("Sheet1"));
void writeCsv(const Workbook& book, const QString& path);
QByteArray csvBytes(const Sheet& sheet);

// By the file's extension: ".csv" is CSV, anything else .xlsx.
Workbook readWorkbook(const QString& path);
void writeWorkbook(const Workbook& book, const QString& path);
bool isCsvPath(const QString& path);

// The shortest text that reads back as the same double ("12.5", "1e-05").
QString exactNumberText(double value);

} // namespace kelvor::sheet
