#pragma once

#include <QList>
#include <algorithm>
#include <cstdio>
#include <ctime>

inline double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Nearest-rank percentile of unsorted values.
inline double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<qsizetype>(p / 100.0 * (values.size() - 1) + 0.5);
    return values[std::clamp<qsizetype>(rank, 0, values.size() - 1)];
}

inline double mean(const QList<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return values.isEmpty() ? 0 : sum / values.size();
}
