#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// Menu commands on plain text files.
void checkshu_Click(Context& ctx);            // 查重复数据
void setnumber_Click(Context& ctx);           // 注记行序号
void shengchengfilespath_Click(Context& ctx); // 生成文件路径列表 [选择目录]
void addfilepl_Click(Context& ctx);           // 文件合并(批量)
void opentextfile_Click(Context& ctx);        // 打开文本文件
void newfiles_Click(Context& ctx);            // 新建文本文件

// The fixed files of the duplicate search and the numbering.
QString duplicateReportPath(); // d:\watch.txt
QString duplicateRecordsPath(); // d:\bakbak1.txt
QString duplicateCopyPath();    // d:\bakbak2.txt

// The scratch record of a key: 30 characters, cut or padded with blanks.
QString duplicateRecord(const QString& key);

// The duplicate report of lines: one line for every pair (i, j), i < j, of
// lines with equal records, in the order of i, then j: the record and
// "数据重复". A line's record holds its first 29 characters (wholeLines) or its
// first field, as duplicateRecord makes it; records compare exactly. Time
// grows with the lines plus the pairs, memory with the lines.
QStringList duplicateReport(const QStringList& lines, bool wholeLines);

// Line n (from 1) of the numbered copy.
QString numberedLine(int n, const QString& line);

// The ordinary files of a folder (no subfolders, hidden or system files),
// names only, in listing order. Error 76 when the folder cannot be read.
QStringList folderFiles(const QString& folder);

// Whether a path's end, upper-cased, equals the extension answer: "*.*"
// keeps all, an empty answer too.
bool matchesExtension(const QString& path, const QString& extension);

} // namespace kelvor::tools
