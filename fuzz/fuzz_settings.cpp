// The settings store over an arbitrary file: reading never fails other than
// with error 75, and a write keeps every other value as it was.
#include "fuzz_support.h"

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    SettingsStore& store = home.settings;
    home.put(store.file(), fuzz::bytesOf(data, size));

    QList<QPair<QString, QString>> before;
    try {
        before = store.all();
        for (const auto& d : SettingsStore::defaults())
            store.ReadSetting(d.first);
    } catch (const RunError& e) {
        if (e.number() != err::PathFileAccess)
            fuzz::finding("settings read failed with an unexpected error");
        return 0;
    }

    const QString key = QStringLiteral("QW_PM=");
    const QString value = QStringLiteral("5%\r\n ]x");
    store.WriteSetting(key, value);
    if (store.ReadSetting(key) != upperAscii(value))
        fuzz::finding("written value does not read back");
    for (const auto& e : before) {
        if (upperAscii(e.first) == key)
            continue;
        if (store.ReadSetting(e.first) != e.second)
            fuzz::finding("a write changed another value");
    }
    return 0;
}
