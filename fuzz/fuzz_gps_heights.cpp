// [GPS]坐标、高程合并 over an arbitrary point list and fitting report (split
// at "\n====\n"): watch.txt is replaced whole with at least one line per
// input line and shown, or left as it was.
#include "coords/gps_heights.h"
#include "fuzz_support.h"

#include "platform/text_file.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const auto [input, report] = fuzz::splitTwo(fuzz::bytesOf(data, size));
    home.put(QStringLiteral("d:\\in.txt"), input);
    home.put(QStringLiteral("d:\\h.txt"), report);
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    home.put(watch, QByteArray("old"));
    home.answer(QStringLiteral("button"), QStringLiteral("No"));
    home.answerOpen(QStringLiteral("d:\\in.txt"));
    home.answerOpen(QStringLiteral("d:\\h.txt"));
    coords::dwar_gpsjx_gc_Click(home.context);

    const QByteArray now = fuzz::bytesAt(watch);
    const bool shown = !home.ui.textWindowFiles().isEmpty();
    if ((now != "old") != shown)
        fuzz::finding("watch.txt changed without being shown, or shown unchanged");
    if (shown && readTextLines(watch).size() < readTextLines(QStringLiteral("d:\\in.txt")).size())
        fuzz::finding("fewer merged lines than input lines");
    return 0;
}
