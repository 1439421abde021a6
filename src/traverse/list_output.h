#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

namespace kelvor::traverse {

class TraverseSheet;

// The column header of the list.
QString listHeader();

// The list of the sheet's rows in use and its last station, in fixed
// columns (10, 12, 12, 10, 8, 8, 10, 8, 8 characters; never cut).
QStringList listOutputLines(const TraverseSheet& sheet);

// 列表输出: asks whether to add the list to watch.txt or replace it, writes
// it and shows the file.
void Command34_Click(Context& ctx);

} // namespace kelvor::traverse
