// The traverse data file (.dx): any file reads or raises 62.
#include "fuzz_support.h"
#include "traverse/data_file.h"

#include <algorithm>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    home.put(QStringLiteral("d:\\in.dx"), fuzz::bytesOf(data, size));
    try {
        const traverse::TraverseData d = traverse::ReadTraverseDataFile(QStringLiteral("d:\\in.dx"));
        // "EOF" on line 1 or 3 gives N of -2 or 0, as counted.
        if (d.stations.size() != size_t(std::max(0, d.N - 1)))
            fuzz::finding("station count does not match the stations read");
        for (int i = 1; i <= d.N; ++i)
            (void)d.station(i).name.size();
    } catch (const RunError& e) {
        // past the end, or a file cut inside a station line
        if (e.number() != err::InputPastEnd && e.number() != err::TypeMismatch)
            fuzz::finding("unexpected error number");
    }
    return 0;
}
