// The traffic monitor's added latency: single-byte round trips (a ping and the simulated processor's echo,
// answered at once) on the simulator's pseudo-terminal directly, and through `effectpanel-cli monitor` in
// front of it. Each round trip crosses the monitor twice, so the monitor adds half the difference to each
// byte. Every echo is also checked to have been told as a ping and an echo.
#include "bench/figures.h"
#include "sim/pty_server.h"
#include "spawned_program.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRoundTrips = 500;
constexpr int kWarmUpRoundTrips = 20;
constexpr int kAnswerTimeoutMs = 2000;
constexpr std::uint8_t kPing = 0x68;

/// The terminal opened as the panel opens its port: raw, 9600 bit/s.
int OpenRaw(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return -1;
    termios settings{};
    tcgetattr(descriptor, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    tcsetattr(descriptor, TCSANOW, &settings);
    tcflush(descriptor, TCIOFLUSH);
    return descriptor;
}

/// Seconds from writing the ping to reading its echo; empty when no echo came.
std::optional<double> RoundTrip(int descriptor) {
    const double start = ep::bench::WallSeconds();
    if (write(descriptor, &kPing, 1) != 1)
        return std::nullopt;
    pollfd readable{descriptor, POLLIN, 0};
    std::uint8_t echo = 0;
    if (poll(&readable, 1, kAnswerTimeoutMs) != 1 || read(descriptor, &echo, 1) != 1 || echo != kPing)
        return std::nullopt;
    return ep::bench::WallSeconds() - start;
}

/// The round trips' times; empty when one failed. The monitor's two lines of each are read, untimed.
std::vector<double> Measure(int descriptor, ep::testing::SpawnedProgram* monitor) {
    std::vector<double> seconds;
    for (int trip = 0; trip < kWarmUpRoundTrips + kRoundTrips; ++trip) {
        const std::optional<double> time = RoundTrip(descriptor);
        if (!time) {
            std::fprintf(stderr, "round trip %d: no echo\n", trip);
            return {};
        }
        if (monitor != nullptr) {
            const auto ping = monitor->readLine(kAnswerTimeoutMs);
            const auto echo = monitor->readLine(kAnswerTimeoutMs);
            if (!ping || !ping->ends_with("→ 68  ping") || !echo || !echo->ends_with("← 68  echo")) {
                std::fprintf(stderr, "round trip %d: the monitor told %s / %s\n", trip,
                             ping ? ping->c_str() : "nothing", echo ? echo->c_str() : "nothing");
                return {};
            }
        }
        if (trip >= kWarmUpRoundTrips)
            seconds.push_back(*time);
    }
    return seconds;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

} // namespace

int main() {
    ep::sim::ServerOptions options;
    options.baud = 0;
    ep::sim::PtyServer simulator;
    if (!simulator.start(options)) {
        std::fprintf(stderr, "cannot start the simulated processor: %s\n", simulator.error().c_str());
        return 1;
    }
    const int direct = OpenRaw(simulator.path());
    if (direct < 0) {
        std::perror("open the simulator's terminal");
        return 1;
    }
    const std::vector<double> directTimes = Measure(direct, nullptr);
    close(direct);

    ep::testing::SpawnedProgram monitor;
    if (!monitor.start(EP_CLI_PATH, {"--com", "1=" + simulator.path(), "monitor"}))
        return 1;
    const auto first = monitor.readLine(kAnswerTimeoutMs);
    const std::string prefix = "listening on ";
    if (!first || !first->starts_with(prefix)) {
        std::fprintf(stderr, "the monitor did not start: %s\n", first ? first->c_str() : "nothing printed");
        return 1;
    }
    const std::string terminal = first->substr(prefix.size(), first->find(',') - prefix.size());
    const int through = OpenRaw(terminal);
    if (through < 0) {
        std::perror("open the monitor's terminal");
        return 1;
    }
    const std::vector<double> monitorTimes = Measure(through, &monitor);
    close(through);
    monitor.signal(SIGINT);
    if (monitor.waitForExit(kAnswerTimeoutMs) != 0)
        std::fprintf(stderr, "the monitor did not end cleanly at the interrupt\n");
    if (directTimes.empty() || monitorTimes.empty())
        return 1;

    const double directMs = ep::bench::Median(directTimes) * 1000;
    const double monitorMs = ep::bench::Median(monitorTimes) * 1000;
    std::printf("single-byte round trips, %d each, the simulator answering at once\n", kRoundTrips);
    std::printf("  direct: median %.3f ms, 99th percentile %.3f ms\n", directMs, Percentile(directTimes, 0.99) * 1000);
    std::printf("  through the monitor: median %.3f ms, 99th percentile %.3f ms, worst %.3f ms\n", monitorMs,
                Percentile(monitorTimes, 0.99) * 1000, ep::bench::Maximum(monitorTimes) * 1000);
    ep::bench::Report("  added per byte, median", (monitorMs - directMs) / 2, 1.0, "ms", "the monitor's allowance",
                      ep::bench::Target::AtMost, 1.0);
    // The tail counted against the direct median: all of the slow round trips' delay is laid on the monitor.
    ep::bench::Report("  added per byte, 99th percentile over the direct median",
                      (Percentile(monitorTimes, 0.99) * 1000 - directMs) / 2, 1.0, "ms", "the monitor's allowance",
                      ep::bench::Target::AtMost, 1.0);
    return 0;
}
