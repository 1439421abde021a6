// The PCY exchange-file route over an arbitrary DXF and an arbitrary PCY
// result. Input: the DXF, "\n====\n", the result. Nothing appears where a
// step failed.
#include "coords/pcy_exchange.h"
#include "fuzz_support.h"

#include <QFile>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const auto [dxf, result] = fuzz::splitTwo(fuzz::bytesOf(data, size));
    const QString dxfPath = home.put(QStringLiteral("d:\\in.dxf"), dxf);
    const QString resultPath = home.put(QStringLiteral("d:\\result.txt"), result);
    const QString exchangePath = fuzz::Home::absent(QStringLiteral("d:\\exchange.txt"));
    const QString outPath = fuzz::Home::absent(QStringLiteral("d:\\out.dxf"));

    bool wrote = false;
    try {
        coords::writePcyExchangeFile(dxfPath, exchangePath);
        wrote = true;
    } catch (const RunError&) {
    }
    if (wrote != QFile::exists(exchangePath))
        fuzz::finding("the exchange file's existence does not match the outcome");

    QList<coords::PcyRow> rows;
    try {
        rows = coords::readPcyResult(resultPath);
    } catch (const RunError&) {
        return 0;
    }
    bool merged = false;
    try {
        coords::mergePcyResult(dxfPath, rows, outPath);
        merged = true;
    } catch (const RunError&) {
    }
    if (merged != QFile::exists(outPath))
        fuzz::finding("the output's existence does not match the outcome");
    return 0;
}
