#pragma once
#include <QStringList>

namespace kelvor {
class Context;
}

// Trial commands kept in the menu but never shown to users.
namespace kelvor::drafting {

void jlbg_fss_Click(Context& ctx);
void layer_Click(Context& ctx);
void objectcopy_Click(Context& ctx);
void selecterr_Click(Context& ctx);
void setgetvariable_Click(Context& ctx);
void shandianpaixu_Click(Context& ctx);

// The lines of a point list as 30-character records, largest first field
// first, by the exchange order of the sort (equal values never swap).
QStringList sortedRecords(const QStringList& lines);

} // namespace kelvor::drafting
