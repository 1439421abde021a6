// The land-class conversion rules over arbitrary bytes: every rule kept has
// three trimmed fields without commas, a text equal to a rule's old code is
// converted at least once and never more often than there are rules, and
// every note has its frame.
#include "fuzz_support.h"
#include "landuse/class_conversion.h"
#include "platform/blanks.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const QString path = home.put(QStringLiteral("d:\\rules.txt"), fuzz::bytesOf(data, size));
    std::vector<landuse::ConversionRule> rules;
    try {
        rules = landuse::ReadConversionRules(path);
    } catch (const RunError&) {
        fuzz::finding("an existing file was refused");
    }
    for (const landuse::ConversionRule& r : rules) {
        for (const QString& field : {r.from, r.label, r.to})
            if (field.contains(QLatin1Char(',')) || TrimBlanks(field) != field)
                fuzz::finding("a field kept its comma or blanks");
        const std::vector<landuse::CodeChange> changes = landuse::ConvertCode(r.from, rules);
        if (changes.empty() || changes.size() > rules.size())
            fuzz::finding("a rule's own code is not converted, or converted too often");
        for (const landuse::CodeChange& c : changes)
            if (!c.note.startsWith(QStringLiteral("--")) || !c.note.endsWith(QStringLiteral("改为-->") + c.text + "\r\n"))
                fuzz::finding("a note without its frame");
    }
    return 0;
}
