// The CAD host's DXF reader over arbitrary bytes: a drawing or a refusal,
// and a drawing it read writes out as a file it reads again.
#include "fuzz_support.h"
#include "cad/host/application.h"
#include "cad/dxf/dxf.h"

#include <QFile>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cad::Application app;
    std::unique_ptr<cad::Document> doc;
    try {
        doc = cad::readDxfBytes(fuzz::bytesOf(data, size), &app);
    } catch (const RunError&) {
        return 0;
    }
    if (!doc)
        fuzz::finding("no drawing and no refusal");
    const QByteArray written = cad::dxfBytes(*doc);
    // To look at what the writer made of a finding: KELVOR_FUZZ_DUMP=out.dxf.
    if (const QString dump = qEnvironmentVariable("KELVOR_FUZZ_DUMP"); !dump.isEmpty()) {
        QFile f(dump);
        if (f.open(QIODevice::WriteOnly))
            f.write(written);
    }
    try {
        (void)cad::readDxfBytes(written, &app);
    } catch (const RunError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        fuzz::finding("a drawing read from a file does not read back after writing");
    }
    return 0;
}
