// 调入记录数据 over an arbitrary total-station record (.SJ).
#include "exchange/load_sj.h"
#include "fuzz_sheet.h"
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::loadIntoSheet(data, size, [](fuzz::Home& home) { exchange::outcordnumber_Click(home.context); });
    return 0;
}
