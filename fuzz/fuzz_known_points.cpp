// The known-point lookup over an arbitrary list of known points: only the
// coordinate cells of the four known points may change.
#include "fuzz_sheet.h"
#include "fuzz_support.h"
#include "traverse/known_points.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    traverse::TraverseSheet sheet;
    fuzz::Home& home = fuzz::homeWithSheet(sheet);
    // Names the seeds use, so that lines match.
    sheet.setText1(0, QStringLiteral("A"));
    sheet.setText1(3, QStringLiteral("B"));
    sheet.setText1(7, QStringLiteral("D"));
    sheet.setText1(10, QStringLiteral("C"));
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\yzdcg.txt"));
    home.put(QStringLiteral("d:\\yzdcg.txt"), fuzz::bytesOf(data, size));

    const QStringList before = fuzz::sheetState(sheet);
    traverse::Label39_DblClick(home.context);
    const QStringList after = fuzz::sheetState(sheet);
    for (int i : {0, 3, 7, 10})
        if (after[i] != before[i])
            fuzz::finding("a known point's name changed");
    for (int i = traverse::TraverseSheet::KnownCells; i < before.size(); ++i)
        if (after[i] != before[i])
            fuzz::finding("the lookup changed a station cell");
    return 0;
}
