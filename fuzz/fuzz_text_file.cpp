// Text files (GBK, or UTF-8/UTF-16 by the reader rule): every line reader takes any bytes, and a decoded file
// written back reads the same.
#include "fuzz_support.h"
#include "platform/text_file.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const QByteArray bytes = fuzz::bytesOf(data, size);

    TextReader reader = TextReader::fromBytes(bytes);
    QStringList lines;
    while (!reader.atEnd())
        lines << reader.readLine();
    try {
        reader.readLine();
        fuzz::finding("reading past the end did not raise");
    } catch (const RunError& e) {
        if (e.number() != err::InputPastEnd)
            fuzz::finding("reading past the end raised the wrong error");
    }

    const QString path = home.put(QStringLiteral("d:\\in.txt"), bytes);
    const QStringList fromFile = readTextLines(QStringLiteral("d:\\in.txt"));
    if (fromFile != lines)
        fuzz::finding("readTextLines differs from TextReader");
    // Broken UTF-16 is junk: how its lone halves come out does not matter.
    if (!reader.holdsBinary() && readTextFile(path) != decodeText(bytes))
        fuzz::finding("readTextFile differs from decodeText");

    // What was read writes back and reads the same (characters outside GBK
    // aside, which decoding never produces).
    writeTextLines(QStringLiteral("d:\\out.txt"), lines);
    QStringList again = readTextLines(QStringLiteral("d:\\out.txt"));
    QStringList expected;
    for (const QString& l : lines)
        expected << decodeGbk(encodeGbk(l));
    // A line holding a lone CR or LF splits when read again; GBK bytes that
    // also spell UTF-8 (or start with a UTF-16 mark) are read by that rule.
    QByteArray written;
    for (const QString& l : lines)
        written += encodeGbk(l) + "\r\n";
    bool plain = textEncodingOf(written) == TextEncoding::Gbk;
    for (const QString& l : lines)
        plain = plain && !l.contains(QLatin1Char('\r')) && !l.contains(QLatin1Char('\n'));
    if (plain && again != expected)
        fuzz::finding("written lines do not read back");
    return 0;
}
