// The Quelt result readers over arbitrary result files: the coordinate
// table from a plane and a height result, and the repair of the orientation
// names. Input: one byte of answers (bit 0: orientation points, bit 1: table
// heading), the plane result, "\n====\n", the height result (also the known
// points of the repair). A table run that ends early keeps what it wrote;
// a repair that fails leaves the plane result as it was.
#include "fuzz_support.h"
#include "platform/ui.h"
#include "quelt/coordinate_table.h"
#include "quelt/orient_names.h"

#include <QFile>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    fuzz::Home& home = fuzz::Home::fresh();
    const auto [plane, height] = fuzz::splitTwo(fuzz::bytesOf(data + 1, size - 1));
    const QString planePath = home.put(QStringLiteral("d:\\q\\A.OU"), plane);
    home.put(QStringLiteral("d:\\q\\AH.OU"), height);
    const QString table = fuzz::Home::absent(QStringLiteral("d:\\q\\A.XYH"));

    home.answer(QStringLiteral("button"), (data[0] & 1) ? QStringLiteral("Yes") : QStringLiteral("No"));
    home.answer(QStringLiteral("button"), (data[0] & 2) ? QStringLiteral("Yes") : QStringLiteral("No"));
    quelt::makeCoordinateTable(home.context, QStringLiteral("d:\\q\\A.OU"), QStringLiteral("d:\\q\\AH.OU"));
    if (!home.ui.textWindowFiles().isEmpty() && !QFile::exists(table))
        fuzz::finding("the table shown was not written");

    home.reset();
    home.answerOpen(QStringLiteral("d:\\q\\A.OU"));
    FileDialogRequest dialog;
    quelt::Command60_Click(home.context, dialog, QStringLiteral("d:\\q\\AH.OU"));
    if (home.ui.textWindowFiles().isEmpty() && fuzz::bytesAt(planePath) != plane)
        fuzz::finding("a failed repair changed the plane result");
    return 0;
}
