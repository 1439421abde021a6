// TXT文件转换 over an arbitrary "d:\1.txt": "d:\2.txt" is written whole or
// not touched.
#include "coords/zone_change.h"
#include "fuzz_support.h"

#include <QFile>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    home.put(QStringLiteral("d:\\1.txt"), fuzz::bytesOf(data, size));
    const QString out = home.put(QStringLiteral("d:\\2.txt"), QByteArray("old"));

    coords::ZoneForm form;
    form.sourceMeridian = QStringLiteral("117");
    form.targetMeridian = QStringLiteral("120");
    coords::textZoneChange(home.context, form);
    QFile f(out);
    if (!f.open(QIODevice::ReadOnly))
        fuzz::finding("the old output vanished");
    const QByteArray now = f.readAll();
    if (now != "old" && home.ui.textWindowFiles().isEmpty() && home.ui.messages().isEmpty())
        fuzz::finding("the output changed without a word");
    return 0;
}
