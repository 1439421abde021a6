// 调入控制精灵观测数据 over an arbitrary report; every repeated-station question answered Yes.
#include "exchange/load_kzjl.h"
#include "fuzz_sheet.h"
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::loadIntoSheet(data, size, [](fuzz::Home& home) {
        for (int i = 0; i < 200; ++i)
            home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
        try {
            exchange::callcassdxmenu_Click(home.context);
        } catch (const ScriptMismatch&) {
            // a report with more repeated stations than answers queued
        }
    });
    return 0;
}
