#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

// The CASS short-code file, the field crew's code-letter note and the
// point list in CASS (South) line layout.
namespace kelvor::coords {

// The rows of "jcode.def", letter code and six-digit CASS feature code,
// then "End". "M1,204202" stands twice, as CASS has always been given it.
QStringList jcodeDefLines();

// The note of the code letters the crew records on the E500.
QString fieldCodeNote();

// A blank-separated point line as a CASS data line: field 1, ",131100,",
// fields 2, 3 and 4 as typed, a missing field empty.
QString southLine(const QString& line);

// 更新CASS简码引导文件: writes jcode.def into the "system" folder of the CASS
// folder the person names.
void updatejm_Click(Context& ctx);
// CSAM外业代码约定说明.
void dmyd_Click(Context& ctx);
// 坐标转换为南方格式: the chosen list into watch.txt, shown.
void zhuobiaozhuanhuan_Click(Context& ctx);

} // namespace kelvor::coords
