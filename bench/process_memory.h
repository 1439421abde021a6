#pragma once
// What a benchmark needs to show that work streams: the process's resident
// size and its peak (Linux /proc; 0 elsewhere).
#include <QByteArray>
#include <QFile>
#include <QList>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kelvor::bench {

// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:"), 0 elsewhere.
inline double statusKb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble();
    return 0;
}

// Lets VmHWM measure from now on ("5" to clear_refs resets the peak);
// memory freed earlier goes back first, so the resident size is what is in use.
inline void resetPeakRss()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

} // namespace kelvor::bench
