// 调入记录数据 over an arbitrary total-station record (.SJ).
#include "exchange/load_sj.h"
#include "fuzz_sheet.h"
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::get();
    home.reset();
    traverse::TraverseSheet sheet;
    fuzz::fillSheet(sheet);
    home.context.setSheet(&sheet);
    home.put(QStringLiteral("d:\\in.txt"), fuzz::bytesOf(data, size));
    home.answerOpen(QStringLiteral("d:\\in.txt"));
    exchange::outcordnumber_Click(home.context);
    return 0;
}
