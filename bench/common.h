#pragma once

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

// Median of the runs, in milliseconds.
template <typename Body>
double medianMs(int runs, Body body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Resident memory of this process now and at its peak, in MiB.
inline void residentMiB(double &now, double &peak)
{
    now = peak = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            now = line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        else if (line.startsWith("VmHWM:"))
            peak = line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
}

} // namespace bench
