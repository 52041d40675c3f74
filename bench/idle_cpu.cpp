// CPU use of the program in its own process while it idles: online against the simulated processor (only
// the pings and their echoes) and offline (the port scan every second), each over 10 s, against 1 % of
// one core.
#include "bench/figures.h"
#include "sim/pty_server.h"
#include "spawned_program.h"
#include "test_ports.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

constexpr int kReadyTimeoutMs = 10000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kOnlineTimeoutMs = 10000;
constexpr int kQuitTimeoutMs = 5000;
constexpr int kPollPeriodMs = 50;
/// After going online the panel reads the device's set; idling starts after that.
constexpr int kSettleMs = 1500;
constexpr int kSampleSeconds = 10;
constexpr double kLimitShare = 0.01;

/// The program's CPU share of one core over the sample time.
double SampleCpuShare(const ep::testing::SpawnedProgram& program) {
    const double cpuBefore = program.cpuSeconds();
    const double wallBefore = ep::bench::WallSeconds();
    sleep(kSampleSeconds);
    return (program.cpuSeconds() - cpuBefore) / (ep::bench::WallSeconds() - wallBefore);
}

bool WaitUntilOnline(ep::testing::SpawnedProgram& program) {
    for (int waited = 0; waited < kOnlineTimeoutMs; waited += kPollPeriodMs) {
        if (program.ask("read 标签127", kAnswerTimeoutMs) == "ok 已联机")
            return true;
        usleep(kPollPeriodMs * 1000);
    }
    return false;
}

/// Runs the program, lets it idle and reports its share; false when it could not be measured.
bool MeasureIdle(const std::string& com10Device, const char* label) {
    ep::testing::SpawnedProgram program;
    if (!program.start(EP_PROGRAM_PATH, ep::testing::PortArguments(com10Device)))
        return false;
    if (!program.waitForReady(kReadyTimeoutMs)) {
        std::fprintf(stderr, "the program did not report ready within %d ms\n", kReadyTimeoutMs);
        return false;
    }
    if (!com10Device.empty() && !WaitUntilOnline(program)) {
        std::fprintf(stderr, "the program did not come online within %d ms\n", kOnlineTimeoutMs);
        return false;
    }
    usleep(kSettleMs * 1000);
    const double share = SampleCpuShare(program);
    // Still in the state measured: the figure is not one of a link that dropped meanwhile.
    const bool online = program.ask("read 标签127", kAnswerTimeoutMs) == "ok 已联机";
    if (online != !com10Device.empty()) {
        std::fprintf(stderr, "the program changed its online state while it was measured\n");
        return false;
    }
    const std::string what = std::string("idle CPU ") + label + " over " + std::to_string(kSampleSeconds) + " s";
    ep::bench::Report(what.c_str(), share * 100.0, kLimitShare * 100.0, "% of a core", "1 % of one core",
                      ep::bench::Target::Below, 1.0);
    return program.quit(kQuitTimeoutMs) == 0;
}

} // namespace

int main() {
    ep::sim::PtyServer simulator;
    if (!simulator.start({})) {
        std::fprintf(stderr, "cannot start the simulated processor: %s\n", simulator.error().c_str());
        return 1;
    }
    bool measured = MeasureIdle(simulator.path(), "online (pings only)");
    simulator.stop();
    measured = MeasureIdle({}, "offline (scanning every port each second)") && measured;
    return measured ? 0 : 1;
}
