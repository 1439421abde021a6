// Zone change of an arbitrary ASCII DXF: the target appears only when the
// whole file converted, and then with as many lines as the source; cut into
// tiny chunks on three threads, the outcome and the bytes are the same.
#include "coords/zone_change.h"
#include "fuzz_support.h"

#include <QFile>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString source = home.put(QStringLiteral("d:\\in.dxf"), bytes);
    const QString target = fuzz::Home::absent(QStringLiteral("d:\\out.dxf"));

    coords::ZoneForm form;
    form.sourceMeridian = QStringLiteral("117");
    form.targetMeridian = QStringLiteral("120");
    auto convert = [&](const QString& to, const coords::DxfSplit& split, QString& failure) {
        try {
            coords::convertDxfZone(source, to, 117, 120, form.projection(), nullptr, split);
            return true;
        } catch (const coords::FileLineError& e) {
            failure = e.message();
        } catch (const RunError& e) {
            failure = e.description();
        }
        return false;
    };
    QString failure, splitFailure;
    const bool converted = convert(target, {}, failure);
    const QString splitTarget = fuzz::Home::absent(QStringLiteral("d:\\split.dxf"));
    const bool splitConverted = convert(splitTarget, {.chunkBytes = 7, .threads = 3}, splitFailure);
    if (converted != splitConverted || failure != splitFailure)
        fuzz::finding("cut into chunks, the conversion ends otherwise");
    if (converted != QFile::exists(target))
        fuzz::finding("the target's existence does not match the outcome");
    if (converted) {
        // Only value texts change; every line end is kept.
        QFile f(target);
        const QByteArray out = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        if (out.count('\n') != bytes.count('\n') || out.count('\r') != bytes.count('\r'))
            fuzz::finding("the target's lines differ from the source's");
        QFile g(splitTarget);
        if (!g.open(QIODevice::ReadOnly) || g.readAll() != out)
            fuzz::finding("cut into chunks, the conversion writes other bytes");
    }
    return 0;
}
