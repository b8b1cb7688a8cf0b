#pragma once

#include <QtGlobal>
#include <sys/resource.h>

// Processor time used by this process so far, user and system, in ms.
inline qint64 cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000LL +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}
