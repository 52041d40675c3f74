// Start-up of the program in its own process, from the spawn to the created handler done and the window
// shown (the automation hook's "ready" line), and its peak memory then, against 300 ms and 80 MB. Every
// port is a path that does not exist.
#include "bench/figures.h"
#include "spawned_program.h"
#include "test_ports.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kReadyTimeoutMs = 10000;
constexpr int kQuitTimeoutMs = 5000;
constexpr double kLimitMs = 300.0;
constexpr double kLimitMegabytes = 80.0;

} // namespace

int main() {
    std::vector<double> startUpMs;
    std::vector<double> peakMegabytes;
    for (int run = 0; run < kRuns; ++run) {
        ep::testing::SpawnedProgram program;
        if (!program.start(EP_PROGRAM_PATH, ep::testing::PortArguments()))
            return 1;
        const auto ready = program.waitForReady(kReadyTimeoutMs);
        if (!ready) {
            std::fprintf(stderr, "the program did not report ready within %d ms\n", kReadyTimeoutMs);
            return 1;
        }
        startUpMs.push_back(*ready * 1000.0);
        peakMegabytes.push_back(static_cast<double>(program.peakResidentKilobytes()) / 1024.0);
        if (const int code = program.quit(kQuitTimeoutMs); code != 0) {
            std::fprintf(stderr, "the program ended with %d after quit\n", code);
            return 1;
        }
    }
    std::printf("start-up: %d runs, offscreen, every port missing; slowest %.0f ms, largest peak %.1f MB\n", kRuns,
                ep::bench::Maximum(startUpMs), ep::bench::Maximum(peakMegabytes));
    ep::bench::Report("  spawn to window shown, median", ep::bench::Median(startUpMs), kLimitMs, "ms",
                      "start-up time allowed", ep::bench::Target::Below, 1.0);
    ep::bench::Report("  peak resident memory (VmHWM) at ready, median", ep::bench::Median(peakMegabytes),
                      kLimitMegabytes, "MB", "memory allowed", ep::bench::Target::Below, 1.0);
    return 0;
}
