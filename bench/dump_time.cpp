// Time from the read-device request to the device's set shown in the window (the dump collected and
// ApplyEffectSet done), with the simulated processor answering at the pace of a 9600 bit/s line, against
// the line time of 256 bytes: a device that sends a start marker before its 255 values. The simulator
// sends the 255 values alone, so the line itself takes 255/256 of the limit.
#include "bench/bench_panel.h"
#include "bench/figures.h"
#include "link/device_link.h"
#include "sim/design_values.h"
#include "ui/user_input.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr int kDumpBytes = 256;
constexpr int kDumpTimeoutMs = 5000;
/// Between runs, so that each starts from an idle link.
constexpr int kPauseMs = 300;

/// One read-device request to the set shown; empty when the dump did not complete, as after a drop.
std::optional<double> TimeDump(ep::bench::BenchPanel& panel) {
    panel.runFor(kPauseMs);
    const double start = ep::bench::WallSeconds();
    ep::UserClickedButton(ep::ControlNamed("按钮2"));
    if (!panel.waitUntil(ep::bench::BenchPanel::SetShown, kDumpTimeoutMs)) {
        std::printf("  the dump did not complete within %d ms: the link dropped\n", kDumpTimeoutMs);
        return std::nullopt;
    }
    return (ep::bench::WallSeconds() - start) * 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ep::bench::BenchPanel panel;
    if (!panel.start({}))
        return 1;
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        // The device's volumes change between runs, as if turned on the device, so every dump differs.
        for (int field = 1; field <= 3; ++field)
            panel.simulator().setValue(field, static_cast<std::uint8_t>((run * 11 + field * 17) % 81));
        const std::optional<double> time = panel.measureRecovering([&] { return TimeDump(panel); });
        if (!time)
            return 1;
        times.push_back(*time);
        if (ep::EffectSetText() != ep::sim::ThreeDigitText(panel.simulator().values())) {
            std::fprintf(stderr, "the set shown differs from the device's\n");
            return 1;
        }
    }
    const double lineMs = ep::bench::LineSeconds(kDumpBytes) * 1000.0;
    std::printf("dump: %d runs, each set shown equal to the device's; fastest %.1f ms, slowest %.1f ms\n", kRuns,
                *std::min_element(times.begin(), times.end()), ep::bench::Maximum(times));
    ep::bench::Report("  read-device request to set shown, median", ep::bench::Median(times), lineMs, "ms",
                      "256 bytes at 9600 bit/s", ep::bench::Target::AtMost, 1.10);
    return 0;
}
