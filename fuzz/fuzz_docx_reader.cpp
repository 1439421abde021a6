// The document host's .docx reader over arbitrary bytes, both as a whole
// package and as the document part alone: a document or a refusal with
// 5174, and a document it read writes out as a package it reads again alike.
#include "fuzz_support.h"
#include "platform/doc/docx.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

namespace {

void roundTrip(const doc::Document& d)
{
    const doc::Document back = doc::readDocxBytes(doc::docxBytes(d));
    if (back.text(0, back.length()) != d.text(0, d.length()) || back.tableCount() != d.tableCount())
        fuzz::finding("a document read from a file does not read back alike after writing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    try {
        roundTrip(doc::readDocxBytes(bytes));
    } catch (const RunError& e) {
        if (e.number() != err::CannotOpenDocument)
            fuzz::finding("a package refused with another error than 5174");
    }
    try {
        roundTrip(doc::Document(doc::parseDocumentXml(bytes, nullptr)));
    } catch (const RunError& e) {
        if (e.number() != err::CannotOpenDocument)
            fuzz::finding("a document part refused with another error than 5174");
    }
    return 0;
}
