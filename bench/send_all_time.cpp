// Wall time of the send-all sequence online (255 BulkParameter frames, 10 ms apart), against the time it
// takes on a 9600 bit/s line: 255 pauses of 10 ms and the line time of 1530 bytes. A pseudo-terminal has no
// line speed, so there the sequence spends no line time; it is also set against the pauses alone.
#include "bench/bench_panel.h"
#include "bench/figures.h"
#include "link/connection.h"
#include "link/send_all.h"
#include "model/blocks.h"
#include "ui/property.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kRuns = 3;
constexpr int kFrameBytes = 6;
constexpr double kFramePauseMs = 10.0;
constexpr int kArrivalTimeoutMs = 3000;
/// Between runs, so that each starts from an idle link.
constexpr int kPauseMs = 500;

/// Stops the ping and watchdog timers while it lives and restarts them after, as the effect-file load
/// does around the send-all sequence.
class PingsPaused {
  public:
    PingsPaused() {
        ep::ControlNamed("时钟1").write(ep::prop::timer::Period, 0);
        ep::ControlNamed("时钟2").write(ep::prop::timer::Period, 0);
    }
    ~PingsPaused() {
        ep::ControlNamed("时钟1").write(ep::prop::timer::Period, ep::kPingPeriodMs);
        ep::ControlNamed("时钟2").write(ep::prop::timer::Period, ep::kWatchdogPeriodMs);
    }
    PingsPaused(const PingsPaused&) = delete;
    PingsPaused& operator=(const PingsPaused&) = delete;
};

/// One send-all sequence, with no ping or watchdog during the 255 frames, as the effect-file load around
/// it has; empty when not every frame reached the device, as after a drop of the link.
std::optional<double> TimeSendAll(ep::bench::BenchPanel& panel) {
    const int framesBefore = panel.framesReceived(ep::sim::FrameKind::BulkParameter);
    const auto framesArrived = [&] { return panel.framesReceived(ep::sim::FrameKind::BulkParameter) - framesBefore; };
    double seconds = 0.0;
    {
        const PingsPaused pingsPaused;
        const double start = ep::bench::WallSeconds();
        ep::SendAll();
        seconds = ep::bench::WallSeconds() - start;
    }
    if (!panel.waitUntil([&] { return framesArrived() == ep::EffectSetFieldCount; }, kArrivalTimeoutMs)) {
        std::printf("  link dropped: %d of %d frames reached the simulator\n", framesArrived(),
                    ep::EffectSetFieldCount);
        return std::nullopt;
    }
    return seconds * 1000.0;
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
        const std::optional<double> time = panel.measureRecovering([&] { return TimeSendAll(panel); });
        if (!time)
            return 1;
        times.push_back(*time);
        panel.runFor(kPauseMs);
    }
    const double pausesMs = ep::EffectSetFieldCount * kFramePauseMs;
    const double lineMs = pausesMs + ep::bench::LineSeconds(ep::EffectSetFieldCount * kFrameBytes) * 1000.0;
    const double median = ep::bench::Median(times);
    std::printf("send-all: %d runs on a pseudo-terminal, all 255 frames arrived each time; fastest %.0f ms, slowest "
                "%.0f ms\n",
                kRuns, *std::min_element(times.begin(), times.end()), ep::bench::Maximum(times));
    ep::bench::Report("  send-all sequence, median", median, lineMs, "ms", "255 x 10 ms + 1530 bytes at 9600 bit/s",
                      ep::bench::Target::AtMost, 1.03);
    std::printf("  against the pauses alone (%.0f ms, the floor on a line without speed): ratio %.4g; overhead "
                "%.3g ms per frame\n",
                pausesMs, median / pausesMs, (median - pausesMs) / ep::EffectSetFieldCount);
    return 0;
}
