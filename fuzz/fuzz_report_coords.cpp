// 生成导线成果表 [批量] over an arbitrary adjustment report (and the same
// report twice): watch.txt is either written whole or the error shown.
#include "exchange/report_coords.h"
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    home.put(QStringLiteral("d:\\in.cg"), fuzz::bytesOf(data, size));
    try {
        (void)exchange::readReportPoints(QStringLiteral("d:\\in.cg"));
    } catch (const RunError& e) {
        if (e.number() != err::InputPastEnd)
            fuzz::finding("unexpected error number");
    }
    home.answerOpen({QStringLiteral("d:\\in.cg"), QStringLiteral("d:\\in.cg")});
    exchange::batoutcgb_Click(home.context);
    return 0;
}
