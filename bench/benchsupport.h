// Small timing helpers shared by the benchmarks.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

// Runs f repeatedly and prints the median and the mean time per run.
template <typename F> double report(const char* name, int runs, F&& f) {
    std::vector<double> us;
    us.reserve(std::size_t(runs));
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f(i);
        const auto t1 = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::vector<double> sorted = us;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double v : us)
        sum += v;
    const double median = sorted[sorted.size() / 2];
    std::printf("%-44s runs %6d  median %10.1f us  mean %10.1f us  p95 %10.1f us\n", name, runs,
                median, sum / double(us.size()), sorted[sorted.size() * 95 / 100]);
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
