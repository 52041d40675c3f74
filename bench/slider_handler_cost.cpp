// CPU time of one slider change end to end (the change handler, its frame handed to the link, the value
// box and the EffectSet field updated) with the panel online against the simulated processor, against the
// 6.25 ms that the six-byte frame takes on a 9600 bit/s line. Measured with the window's view, as the
// program runs, and without it, which is the cost of the panel's logic and link alone.
#include "bench/bench_panel.h"
#include "bench/figures.h"
#include "ui/property.h"
#include "ui/user_input.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

/// One slider of each handler family: a MIC block slider, a volume, a music page slider, a KTV slider.
const char* const kSliders[] = {"滑块条19", "Music_Vol调节", "滑块条4", "滑块条28"};
constexpr int kChanges = 2000;
constexpr int kFrameBytes = 6;

struct Costs {
    double uiThreadCpuMs = 0; ///< per change
    double processCpuMs = 0;  ///< per change
    double uiThreadWallMs = 0;
};

/// The changes, stepping each slider through its range; empty when not every frame reached the device,
/// which means the link dropped and the figures would be those of failing writes.
std::optional<Costs> MeasureChanges(ep::bench::BenchPanel& panel) {
    struct Slider {
        ep::Control* control;
        int minimum;
        int span;
    };
    std::vector<Slider> sliders;
    for (const char* name : kSliders) {
        ep::Control& slider = ep::ControlNamed(name);
        const int minimum = slider.readInt(ep::prop::slider::Minimum);
        sliders.push_back({&slider, minimum, slider.readInt(ep::prop::slider::Maximum) - minimum + 1});
    }
    const int framesBefore = panel.framesReceived(ep::sim::FrameKind::SetParameter);
    double uiCpu = 0.0;
    double uiWall = 0.0;
    const double processCpuStart = ep::bench::ProcessCpuSeconds();
    for (int change = 0; change < kChanges; ++change) {
        const Slider& slider = sliders[change % sliders.size()];
        // Strides of 7 so that consecutive changes of a slider land on other positions.
        const int position = slider.minimum + (change / static_cast<int>(sliders.size()) * 7) % slider.span;
        const double cpuBefore = ep::bench::ThreadCpuSeconds();
        const double wallBefore = ep::bench::WallSeconds();
        ep::UserScrolledSlider(*slider.control, position);
        uiWall += ep::bench::WallSeconds() - wallBefore;
        uiCpu += ep::bench::ThreadCpuSeconds() - cpuBefore;
        // As between two scroll notifications of a drag: the view repaints and the link's events run.
        QApplication::processEvents();
    }
    const double processCpu = ep::bench::ProcessCpuSeconds() - processCpuStart;
    const bool allArrived = panel.waitUntil(
        [&] { return panel.framesReceived(ep::sim::FrameKind::SetParameter) - framesBefore >= kChanges; }, 3000);
    if (!allArrived) {
        std::printf("  link dropped during the run: %d of %d frames reached the simulator\n",
                    panel.framesReceived(ep::sim::FrameKind::SetParameter) - framesBefore, kChanges);
        return std::nullopt;
    }
    return Costs{uiCpu * 1000.0 / kChanges, processCpu * 1000.0 / kChanges, uiWall * 1000.0 / kChanges};
}

bool Run(ep::bench::View view, const char* label) {
    ep::bench::BenchPanel panel;
    if (!panel.start({}, view))
        return false;
    const std::optional<Costs> costs = panel.measureRecovering([&] { return MeasureChanges(panel); });
    if (!costs)
        return false;
    const double frameLineMs = ep::bench::LineSeconds(kFrameBytes) * 1000.0;
    std::printf("slider change %s, %d changes on %zu sliders, every frame reached the simulator\n", label, kChanges,
                std::size(kSliders));
    ep::bench::Report("  UI thread CPU per change", costs->uiThreadCpuMs, frameLineMs, "ms",
                      "one six-byte frame at 9600 bit/s", ep::bench::Target::Below, 0.01);
    ep::bench::Report("  process CPU per change (all threads: link worker, simulator, repaints)", costs->processCpuMs,
                      frameLineMs, "ms", "one six-byte frame at 9600 bit/s", ep::bench::Target::Below, 0.01);
    std::printf("  UI thread wall time per change (it waits for the link's six writes): %.4g ms\n",
                costs->uiThreadWallMs);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool withView = Run(ep::bench::View::Shown, "with the window's view");
    const bool withoutView = Run(ep::bench::View::None, "without a view (logic and link only)");
    return withView && withoutView ? 0 : 1;
}
