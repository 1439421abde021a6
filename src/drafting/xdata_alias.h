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
// Switches the host's group picking and shows the new state in the item's caption.
void entitybianzhou_Click(Context& ctx);

// The switch from a "pickstyle" value: 1 turns group picking off, any other
// value turns it on.
struct PickStyleSwitch {
    int value;
    QString caption; // "实体编组控制(关)" or "实体编组控制(开)"
};
PickStyleSwitch pickStyleSwitch(double current);

// The 47 lines of the alias file.
const QStringList& aliasFileLines();

} // namespace kelvor::drafting
