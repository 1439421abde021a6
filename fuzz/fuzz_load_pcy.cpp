// 调入平差易数据 over an arbitrary PCY data file.
#include "exchange/load_pcy.h"
#include "fuzz_sheet.h"
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::loadIntoSheet(data, size, [](fuzz::Home& home) { exchange::APPLOADPCY_Click(home.context); });
    return 0;
}
