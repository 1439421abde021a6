// 打开上次 over an arbitrary WINDIR\read.tmp: the sheet changes only when
// the file is a snapshot it can take.
#include "fuzz_sheet.h"
#include "fuzz_support.h"
#include "platform/text_file.h"
#include "traverse/temp_file.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    traverse::TraverseSheet sheet;
    fuzz::Home& home = fuzz::homeWithSheet(sheet);
    home.put(traverse::tempFilePath(), fuzz::bytesOf(data, size));

    const QStringList before = fuzz::sheetState(sheet);
    const bool good = traverse::checkTempFileLines(readTextLines(traverse::tempFilePath())).has_value();
    traverse::Command11_Click(home.context);
    if (!good && fuzz::sheetState(sheet) != before)
        fuzz::finding("a refused snapshot changed the sheet");
    if (!good && home.ui.messages().size() != 1)
        fuzz::finding("a refused snapshot was not reported");
    return 0;
}
