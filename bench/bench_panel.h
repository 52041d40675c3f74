#pragma once
/// The panel as the program starts it, inside a benchmark, with the window's view shown (offscreen) or,
/// to tell the logic's cost from the widgets', without a view; COM10 is a simulated processor on a
/// pseudo-terminal and COM1..COM9 are paths that do not exist. The simulator counts the frames it gets.

#include "qt_panel.h"
#include "sim/pty_server.h"

#include <array>
#include <atomic>
#include <functional>

namespace ep::bench {

using testing::View;

class BenchPanel {
  public:
    /// Needs the QApplication to exist.
    BenchPanel() = default;
    ~BenchPanel();
    BenchPanel(const BenchPanel&) = delete;
    BenchPanel& operator=(const BenchPanel&) = delete;

    /// Starts the simulator with these options, then the panel, and waits until it is online with the
    /// device's set shown; false, with the reason on stderr, when that fails.
    bool start(sim::ServerOptions options, View view = View::Shown);
    /// Starts the panel with every port a path that does not exist, so it stays offline and scans.
    void startWithoutDevice(View view);

    bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
        return m_panel.waitUntil(condition, timeoutMs);
    }
    void runFor(int milliseconds) { m_panel.runFor(milliseconds); }
    static bool SetShown() { return testing::QtPanel::SetShown(); }

    /// Whether a byte written now still reaches the device: a ping goes out and the simulator counts it.
    bool linkWorks();
    /// After the link dropped while the panel still says online: waits, with the pings running, until the
    /// watchdog has taken the panel offline and it has come online again with the device's set.
    bool recover();
    /// Measures, and measures again after a recovery while a measurement came back empty because the link
    /// dropped, three attempts in all.
    template <typename Measure> auto measureRecovering(Measure measure) -> decltype(measure()) {
        auto result = measure();
        for (int attempt = 1; attempt < kMeasureAttempts && !result; ++attempt)
            if (recover())
                result = measure();
        return result;
    }

    sim::PtyServer& simulator() { return m_simulator; }
    /// Frames of that kind the simulator has received so far.
    int framesReceived(sim::FrameKind kind) const { return m_frames[static_cast<std::size_t>(kind)]; }

  private:
    static constexpr int kMeasureAttempts = 3;

    testing::QtPanel m_panel;
    sim::PtyServer m_simulator;
    /// Counted on the simulator's I/O thread, one entry a frame kind.
    std::array<std::atomic<int>, static_cast<std::size_t>(sim::FrameKind::Broken) + 1> m_frames{};
};

} // namespace ep::bench
