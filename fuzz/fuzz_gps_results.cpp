// [GPS]输出平面成果 over an arbitrary adjustment report: every line of the
// section is a point or a baseline, and watch.txt holds one row per point
// line when the command says it wrote them.
#include "coords/gps_results.h"
#include "fuzz_support.h"

#include "platform/text_file.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    home.put(QStringLiteral("d:\\r.txt"), fuzz::bytesOf(data, size));
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    QFile::remove(watch);
    home.answerOpen(QStringLiteral("d:\\r.txt"));
    coords::dwar_gpsjx_pmcg_Click(home.context);
    const QJsonArray messages = home.ui.messages();
    if (messages.size() != 1)
        fuzz::finding("not exactly one message");

    const auto section = coords::readGpsAdjustmentResult(readTextLines(QStringLiteral("d:\\r.txt")));
    const QStringList rows = coords::gpsPlaneRows(section);
    if (rows.size() + qsizetype(coords::gpsBaselines(section).size()) != qsizetype(section.size()))
        fuzz::finding("a section line is neither a point nor a baseline");
    const bool written = messages[0].toObject().value("title").toString() == QStringLiteral("提示");
    // compared as written: text that GBK cannot hold reads back otherwise
    const QString text = rows.isEmpty() ? QString() : rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (written && fuzz::bytesAt(watch) != encodeGbk(text))
        fuzz::finding("watch.txt does not hold the point rows");
    return 0;
}
