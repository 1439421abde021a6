// Loading an adjustment report (.CG) back into the sheet: a refused report
// leaves the sheet as it was; grade, contour interval and rows shown stay.
#include "fuzz_sheet.h"
#include "fuzz_support.h"
#include "traverse/report_loader.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    traverse::TraverseSheet sheet;
    fuzz::Home& home = fuzz::homeWithSheet(sheet);
    sheet.setRowVisible(11, false);
    home.put(QStringLiteral("d:\\in.CG"), fuzz::bytesOf(data, size));
    home.answerOpen(QStringLiteral("d:\\in.CG"));

    const QStringList before = fuzz::sheetState(sheet);
    const traverse::LoadFailure result = traverse::LoadTraverseReport(sheet, QStringLiteral("d:\\in.CG"));
    const QStringList after = fuzz::sheetState(sheet);
    if (result != traverse::LoadFailure::None && after != before)
        fuzz::finding("a refused report changed the sheet");
    if (after.mid(after.size() - 14) != before.mid(before.size() - 14))
        fuzz::finding("loading changed the rows shown, grade or contour interval");
    if (result == traverse::LoadFailure::Missing)
        fuzz::finding("an existing report was called missing");

    // The menu command over the same file.
    traverse::opendxfile_Click(home.context);
    return 0;
}
