// A device flooding the line with random bytes as fast as the pseudo-terminal takes them, for 20 s, with
// the panel online and its view shown: how much the resident memory grows, and the longest time an event
// posted to the window thread waited before it ran, which is what a click waits.
#include "bench/bench_panel.h"
#include "bench/figures.h"

#include <QApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr int kFloodMs = 20000;
constexpr int kProbePeriodMs = 10;
constexpr double kMemoryLimitMb = 50;
constexpr double kWaitLimitMs = 1000;

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ep::bench::BenchPanel panel;
    if (!panel.start({}))
        return 1;
    const double residentBefore = ResidentMegabytes();
    double residentMost = residentBefore;
    ep::sim::FaultOptions flood;
    flood.flood = true;
    panel.simulator().setFaults(flood);

    // Another thread posts a probe every 10 ms, stamped with the moment it was posted.
    QObject receiver;
    std::atomic<double> longestWaitMs = 0;
    std::atomic<bool> probing = true;
    std::thread prober([&] {
        while (probing) {
            const double posted = ep::bench::WallSeconds();
            QMetaObject::invokeMethod(
                &receiver,
                [&, posted] {
                    const double waited = (ep::bench::WallSeconds() - posted) * 1000.0;
                    longestWaitMs = std::max(longestWaitMs.load(), waited);
                },
                Qt::QueuedConnection);
            std::this_thread::sleep_for(std::chrono::milliseconds(kProbePeriodMs));
        }
    });
    const double start = ep::bench::WallSeconds();
    panel.waitUntil(
        [&] {
            residentMost = std::max(residentMost, ResidentMegabytes());
            return ep::bench::WallSeconds() - start >= kFloodMs / 1000.0;
        },
        kFloodMs + 1000);
    probing = false;
    prober.join();
    panel.simulator().setFaults({});
    const auto flooded = static_cast<double>(panel.simulator().bytesWritten());
    panel.runFor(100);
    std::printf("flood: %.0f MB of random bytes in %d s (%.1f MB/s)\n", flooded / 1e6, kFloodMs / 1000,
                flooded / 1e6 / (kFloodMs / 1000.0));
    ep::bench::Report("  resident memory growth during the flood", residentMost - residentBefore, kMemoryLimitMb, "MB",
                      "the flood test's bound", ep::bench::Target::Below, 1);
    ep::bench::Report("  longest wait of a posted window event during the flood", longestWaitMs, kWaitLimitMs, "ms",
                      "a click handled within a second", ep::bench::Target::Below, 1);
    return 0;
}
