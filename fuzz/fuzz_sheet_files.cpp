// The sheet host's workbook readers over arbitrary bytes (a leading "PK"
// goes to the .xlsx reader, anything else to CSV): a workbook or a refusal,
// and a workbook read writes out as a file that reads back with the same
// cells.
#include "fuzz_support.h"
#include "platform/sheet/sheet_files.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

namespace {

bool sameCells(const sheet::Workbook& a, const sheet::Workbook& b)
{
    if (a.sheets().size() != b.sheets().size())
        return false;
    for (qsizetype i = 0; i < a.sheets().size(); ++i) {
        const auto ca = a.sheets()[i].cells();
        const auto cb = b.sheets()[i].cells();
        if (ca.size() != cb.size())
            return false;
        for (qsizetype k = 0; k < ca.size(); ++k)
            if (ca[k].row != cb[k].row || ca[k].column != cb[k].column || ca[k].value != cb[k].value)
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const bool xlsx = bytes.startsWith("PK");
    sheet::Workbook book;
    try {
        book = xlsx ? sheet::readXlsxBytes(bytes) : sheet::readCsvBytes(bytes);
    } catch (const RunError&) {
        return 0;
    }
    try {
        const sheet::Workbook back = sheet::readXlsxBytes(sheet::xlsxBytes(book));
        if (!sameCells(book, back))
            fuzz::finding("a workbook does not read back with the same cells after writing");
    } catch (const RunError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        fuzz::finding("a workbook read from a file does not read back after writing");
    }
    return 0;
}
