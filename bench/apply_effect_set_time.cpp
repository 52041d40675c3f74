// Wall time of showing a whole EffectSet in the window (ApplyEffectSet), with sets that differ in every
// field and in the blocks they select, against the 5 ms it may take. Online, as after a dump, the limit
// boxes' handlers that run inside it send their frames; offline, as after loading a file, nothing is sent.
// Measured with the window's view, as the program runs, and without it.
#include "bench/bench_panel.h"
#include "bench/figures.h"
#include "link/device_link.h"
#include "model/blocks.h"
#include "model/parameters.h"
#include "sets/apply_effect_set.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <random>
#include <vector>

namespace {

constexpr int kRuns = 1000;
constexpr int kDifferentSets = 16;
/// Selector indexes 0..7 reach every mode of every block (the KTV blocks have the most).
constexpr int kHighestSelectorIndex = 7;
constexpr double kLimitMs = 5.0;
constexpr int kFrameBytes = 6;

/// A set whose every field holds a value its parameter can take, drawn at random.
ep::Text RandomSet(std::mt19937& random) {
    ep::Text set(ep::EffectSetFieldCount * 3, '0');
    for (const ep::ParameterRow& row : ep::ParameterRows()) {
        std::uniform_int_distribution<int> position(row.minimum, row.maximum);
        for (int index = 0; index <= kHighestSelectorIndex; ++index)
            if (const auto location = ep::LocateField(row, index))
                set.replace(location->position - 1, 3,
                            ep::ThreeDigitText(ep::DeviceValueOfPosition(row, position(random))));
    }
    return set;
}

enum class Link { Online, Offline };

struct Runs {
    std::vector<double> milliseconds;
    double framesPerRun = 0.0; ///< sent by the limit boxes' handlers inside
};

/// The runs; empty when the link dropped meanwhile, which would leave failing writes measured.
std::optional<Runs> TimeRuns(ep::bench::BenchPanel& panel, const std::vector<ep::Text>& sets, Link link) {
    const int framesBefore = panel.framesReceived(ep::sim::FrameKind::SetParameter);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        ep::SetEffectSetText(sets[run % sets.size()]);
        const double before = ep::bench::WallSeconds();
        ep::ApplyEffectSet();
        times.push_back((ep::bench::WallSeconds() - before) * 1000.0);
        QApplication::processEvents();
    }
    if (link == Link::Online && !panel.linkWorks()) {
        std::printf("  link dropped during the runs\n");
        return std::nullopt;
    }
    const int frames = panel.framesReceived(ep::sim::FrameKind::SetParameter) - framesBefore;
    return Runs{times, static_cast<double>(frames) / kRuns};
}

bool Run(ep::bench::View view, Link link, const char* label) {
    ep::bench::BenchPanel panel;
    if (link == Link::Offline)
        panel.startWithoutDevice(view);
    else if (!panel.start({}, view))
        return false;
    std::mt19937 random(20240611);
    std::vector<ep::Text> sets;
    for (int i = 0; i < kDifferentSets; ++i)
        sets.push_back(RandomSet(random));

    const std::optional<Runs> measured = panel.measureRecovering([&] { return TimeRuns(panel, sets, link); });
    if (!measured)
        return false;
    const std::vector<double>& times = measured->milliseconds;
    double sum = 0.0;
    for (const double time : times)
        sum += time;
    std::printf("ApplyEffectSet %s, %d runs over %d different full sets\n", label, kRuns, kDifferentSets);
    if (link == Link::Online)
        std::printf("  frames sent inside, per run: %.2f (%.3g ms of line time at 9600 bit/s, none on a pty)\n",
                    measured->framesPerRun, ep::bench::LineSeconds(measured->framesPerRun * kFrameBytes) * 1000.0);
    ep::bench::Report("  mean wall time", sum / kRuns, kLimitMs, "ms", "the time a whole set may take to show",
                      ep::bench::Target::Below, 1.0);
    ep::bench::Report("  median wall time", ep::bench::Median(times), kLimitMs, "ms",
                      "the time a whole set may take to show", ep::bench::Target::Below, 1.0);
    ep::bench::Report("  worst wall time", ep::bench::Maximum(times), kLimitMs, "ms",
                      "the time a whole set may take to show", ep::bench::Target::Below, 1.0);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bool measured = Run(ep::bench::View::Shown, Link::Online, "online with the window's view (after a dump)");
    measured = Run(ep::bench::View::None, Link::Online, "online without a view") && measured;
    measured = Run(ep::bench::View::Shown, Link::Offline, "offline with the window's view (a file loaded offline)") &&
               measured;
    measured = Run(ep::bench::View::None, Link::Offline, "offline without a view") && measured;
    return measured ? 0 : 1;
}
