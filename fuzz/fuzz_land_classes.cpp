// The land-class definition file of the picker over arbitrary bytes: every
// class kept is a trimmed code and name without commas, each is found again
// by its code and by its name, and the lists hold no more than the classes.
#include "fuzz_support.h"
#include "landuse/land_classes.h"
#include "platform/blanks.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const QString path = home.put(QStringLiteral("d:\\dl.txt"), fuzz::bytesOf(data, size));
    std::vector<landuse::LandClass> classes;
    try {
        classes = landuse::ReadLandClasses(path);
    } catch (const RunError&) {
        fuzz::finding("an existing file was refused");
    }
    for (const landuse::LandClass& c : classes) {
        for (const QString& field : {c.code, c.name})
            if (field.contains(QLatin1Char(',')) || TrimBlanks(field) != field)
                fuzz::finding("a field kept its comma or blanks");
        if (!landuse::NameOfCode(classes, c.code))
            fuzz::finding("a class is not found by its code");
        const QString code = landuse::CodeOfName(classes, c.name);
        bool named = false;
        for (const landuse::LandClass& other : classes)
            named = named || (other.name == c.name && other.code == code);
        if (!named)
            fuzz::finding("a name's code belongs to no class of that name");
    }
    qsizetype listed = 0;
    for (const QStringList& l : landuse::LandClassLists(classes))
        listed += l.size();
    if (listed > qsizetype(classes.size()))
        fuzz::finding("the lists hold more names than there are classes");
    return 0;
}
