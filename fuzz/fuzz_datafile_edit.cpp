// Editing a PCY data file from a known-points file and from an estimate
// table, all three arbitrary. Input: data file, "\n====\n", the other file
// (used as both). A run that ends in an error leaves the data file as it was.
#include "exchange/datafile_edit.h"
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const auto [dataFile, other] = fuzz::splitTwo(fuzz::bytesOf(data, size));
    const QString dataPath = home.put(QStringLiteral("d:\\data.txt"), dataFile);
    home.put(QStringLiteral("d:\\other.txt"), other);
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\other.txt"));

    // Known points: at most one question per known point, all answered OK.
    home.answerOpen(QStringLiteral("d:\\data.txt"));
    exchange::huoquyichengguo_Click(home.context);
    const QJsonArray said = home.ui.messages();
    const bool done = !said.isEmpty()
        && said.last().toObject().value(QStringLiteral("text")).toString().startsWith(QStringLiteral("处理完成"));
    if (!done && fuzz::bytesAt(dataPath) != dataFile)
        fuzz::finding("a failed known-point edit changed the data file");

    // Estimates.
    home.reset();
    home.put(QStringLiteral("d:\\data.txt"), dataFile);
    home.answerOpen(QStringLiteral("d:\\other.txt"));
    home.answerOpen(QStringLiteral("d:\\data.txt"));
    exchange::printoutgxb_Click(home.context);
    if (home.ui.textWindowFiles().isEmpty() && fuzz::bytesAt(dataPath) != dataFile)
        fuzz::finding("a failed estimate edit changed the data file");
    return 0;
}
