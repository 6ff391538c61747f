// Times the profile functions on a layout file of 25 sections: one read of a key of the last
// section, and one crash-safe write (synced to disk) of that key.
//
// Usage: bench_profile [folder]   (default: the system's temporary folder)
// The folder matters for writes: their time is mostly the disk's sync.
#include "platform/profile.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array<const char*, 25> sectionNames = {
    "zoomwin",    "infobar",   "to",       "from",    "routeinfo", "nextinfo",   "distance",
    "schematic2", "schematic", "birdview", "zoomout", "zoomin",    "auto",       "pan",
    "center",     "north",     "route",    "info",    "Menu",      "largedummy", "smalldummy",
    "log",        "tmc",       "gps",      "win"};

// A layout file as a skin ships it: a comment header, and per element its geometry and a
// few more keys that the editor does not touch.
std::string layoutFile() {
    std::string text = "; map view layout\r\n; coordinates in device pixels\r\n\r\n";
    int i = 0;
    for (const char* name : sectionNames) {
        text += "[" + std::string(name) + "]\r\n";
        text += "x=" + std::to_string(i * 9 % 240) + "\r\n";
        text += "y=" + std::to_string(i * 13 % 320) + "\r\n";
        text += "cx=" + std::to_string(20 + i) + "\r\n";
        text += "cy=" + std::to_string(20 + i % 7) + "\r\n";
        text += "bitmap=" + std::string(name) + ".bmp\r\n";
        text += "transparent=1\r\n\r\n";
        ++i;
    }
    return text;
}

struct Figures {
    double median;
    double mean;
    double p99;
    double min;
};

Figures summarise(std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    const double sum = std::accumulate(micros.begin(), micros.end(), 0.0);
    return {micros[micros.size() / 2], sum / double(micros.size()),
            micros[micros.size() * 99 / 100], micros.front()};
}

template <typename Op> Figures timeEach(int iterations, Op op) {
    std::vector<double> micros;
    micros.reserve(std::size_t(iterations));
    for (int i = 0; i < iterations; ++i) {
        const auto start = Clock::now();
        op(i);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return summarise(std::move(micros));
}

void report(const char* what, int iterations, const Figures& f, double budgetMicros) {
    std::printf("%-34s %7d ops  median %9.2f us  mean %9.2f us  p99 %9.2f us  min %9.2f us"
                "  (budget %.0f us: %s)\n",
                what, iterations, f.median, f.mean, f.p99, f.min, budgetMicros,
                f.median <= budgetMicros ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path folder = base / ("bench_profile." + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string path = (folder / "mapviewlt.ini").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << layoutFile();
    }
    std::printf("layout file: %s (%zu bytes, %zu sections)\n", path.c_str(),
                static_cast<std::size_t>(fs::file_size(path)), sectionNames.size());

    char buffer[1024];
    int failures = 0;
    const int reads = 50000;
    const Figures read = timeEach(reads, [&](int) {
        failures +=
            GetPrivateProfileStringA("win", "cy", "20", buffer, sizeof buffer, path.c_str()) == 0;
    });
    report("read [win] cy", reads, read, 20);
    const Figures missing = timeEach(reads, [&](int) {
        GetPrivateProfileStringA("win", "nokey", "20", buffer, sizeof buffer, path.c_str());
    });
    report("read of a missing key", reads, missing, 20);

    const int writes = 1000;
    const std::array<const char*, 2> values = {"21", "22"};
    const Figures write = timeEach(writes, [&](int i) {
        failures += WritePrivateProfileStringA("win", "cy", values[std::size_t(i % 2)],
                                               path.c_str()) != TRUE;
    });
    report("crash-safe write [win] cy", writes, write, 500);

    fs::remove_all(folder);
    if (failures != 0) {
        std::printf("%d calls failed\n", failures);
        return 1;
    }
    return 0;
}
