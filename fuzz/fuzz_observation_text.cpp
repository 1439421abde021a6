// The PCY observation-text tools over arbitrary texts. Input: the sequence
// file, "\n====\n", the observation text (named "1" in the sequence).
#include "exchange/observation_text.h"
#include "fuzz_support.h"
#include "platform/text_file.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const auto [sequence, text] = fuzz::splitTwo(fuzz::bytesOf(data, size));
    home.put(QStringLiteral("d:\\obs\\seq.txt"), sequence);
    home.put(QStringLiteral("d:\\obs\\1gc.txt"), text);

    const QStringList lines = readTextLines(QStringLiteral("d:\\obs\\1gc.txt"));
    const int count = exchange::countStations(lines);
    const QStringList repeated = exchange::repeatedStations(lines);
    if (repeated.size() >= count && count > 0)
        fuzz::finding("more repeats than stations");

    home.answerOpen(QStringLiteral("d:\\obs\\1gc.txt"));
    exchange::huoqucezhanshu_Click(home.context);
    home.answerOpen(QStringLiteral("d:\\obs\\1gc.txt"));
    exchange::findchongfucezhan_Click(home.context);
    home.answerOpen(QStringLiteral("d:\\obs\\seq.txt"));
    home.answer(QStringLiteral("folder"), QStringLiteral("d:\\obs"));
    exchange::hubinggcsj_Click(home.context);
    return 0;
}
