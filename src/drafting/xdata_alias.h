#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

namespace kelvor::drafting {

// The extended data of a picked entity, every application, on the command line.
void findxdataxtype_Click(Context& ctx);
// Writes the usual command alias file to a path chosen in the save dialog.
void updataacadpgp_Click(Context& ctx);

// The 47 lines of the alias file.
const QStringList& aliasFileLines();

} // namespace kelvor::drafting
