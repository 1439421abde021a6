// 读数检查 over an arbitrary levelling record.
#include "exchange/levelling.h"
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    home.put(QStringLiteral("d:\\level.txt"), fuzz::bytesOf(data, size));
    home.answerOpen(QStringLiteral("d:\\level.txt"));
    exchange::dushujiancha_Click(home.context);
    if (home.ui.messages().isEmpty())
        fuzz::finding("the check ended without a word");
    return 0;
}
