// Small timing helpers shared by the benchmarks.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace bench {

// Processor time of the whole program so far, in microseconds: on a busy
// machine the wall-clock figures count the waits for a core as well, and Qt
// hands some work to threads of its own.
inline double cpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

// Runs f repeatedly and prints the median, the mean and the 95th percentile of
// the wall-clock time per run, and the median and 95th percentile of the
// processor time. Returns the wall-clock median.
template <typename F> double report(const char* name, int runs, F&& f) {
    std::vector<double> us;
    std::vector<double> cpu;
    us.reserve(std::size_t(runs));
    cpu.reserve(std::size_t(runs));
    for (int i = 0; i < runs; ++i) {
        const double c0 = cpuMicros();
        const auto t0 = std::chrono::steady_clock::now();
        f(i);
        const auto t1 = std::chrono::steady_clock::now();
        cpu.push_back(cpuMicros() - c0);
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::vector<double> sorted = us;
    std::sort(sorted.begin(), sorted.end());
    std::sort(cpu.begin(), cpu.end());
    double sum = 0;
    for (double v : us)
        sum += v;
    const double median = sorted[sorted.size() / 2];
    const std::size_t p95 = sorted.size() * 95 / 100;
    std::printf("%-44s runs %6d  median %10.1f us  mean %10.1f us  p95 %10.1f us\n", name, runs,
                median, sum / double(us.size()), sorted[p95]);
    std::printf("%-44s cpu median %10.1f us  p95 %10.1f us\n", "", cpu[cpu.size() / 2], cpu[p95]);
    return median;
}

// Copies the sample skin into `folder` with a Tessel.ini that names it, and makes
// `folder` the current directory, as a user's run folder would be.
inline bool prepareSampleRun(const QString& folder) {
    const QString source = QStringLiteral(TESSEL_SOURCE_DIR "/skins/sample");
    for (const char* f : {"mapviewlt.ini", "defaultlt.ini"})
        QFile::copy(source + "/" + f, folder + "/" + QString::fromLatin1(f));
    QFile settings(folder + "/Tessel.ini");
    if (!settings.open(QIODevice::WriteOnly))
        return false;
    settings.write(("[Directory]\r\nlastDir=" + folder + "/\r\n").toUtf8());
    settings.close();
    return QDir::setCurrent(folder);
}

} // namespace bench
