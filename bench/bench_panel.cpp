#include "bench/bench_panel.h"

#include "app/program_globals.h"
#include "app/program_main.h"
#include "link/com_ports.h"
#include "link/connection.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/effect_set_fields.h"
#include "link/link_globals.h"
#include "link/serial_port_kind.h"
#include "params/block_display.h"
#include "sets/apply_effect_set.h"
#include "ui/window_definition.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <string>

namespace ep::bench {
namespace {

constexpr int kSimulatorComPort = 10;
/// Wakes the waiting event loop so that a time-out is noticed when nothing else happens.
constexpr int kWakePeriodMs = 10;
constexpr int kProbeTimeoutMs = 1000;
/// The connect attempts come every second; the dump after the hello takes a quarter of a second.
constexpr int kOnlineTimeoutMs = 15000;

Text MissingPortPath(int number) { return "/nonexistent/effectpanel-com" + std::to_string(number); }

} // namespace

BenchPanel::~BenchPanel() {
    m_view.reset();
    m_window.reset();
    m_simulator.stop();
    ReleaseGlobals();
}

bool BenchPanel::start(sim::ServerOptions options, View view) {
    options.frameObserver = [this](const sim::ParsedFrame& frame) { ++m_frames[static_cast<std::size_t>(frame.kind)]; };
    if (!m_simulator.start(options)) {
        std::fprintf(stderr, "cannot start the simulated processor: %s\n", m_simulator.error().c_str());
        return false;
    }
    for (int number = 1; number < kSimulatorComPort; ++number)
        MapComPort(number, MissingPortPath(number));
    MapComPort(kSimulatorComPort, m_simulator.path());
    startPanel(view);
    if (!waitUntil(SetShown, kOnlineTimeoutMs)) {
        std::fprintf(stderr, "the panel did not come online with the simulator's set\n");
        return false;
    }
    return true;
}

void BenchPanel::startWithoutDevice(View view) {
    for (int number = 1; number <= kSimulatorComPort; ++number)
        MapComPort(number, MissingPortPath(number));
    startPanel(view);
}

void BenchPanel::startPanel(View view) {
    RegisterSerialPortKind();
    SetApplyEffectSetRoutine(ApplyEffectSet);
    SetBlockDisplayRoutines({ShowMusicEqPage, ShowMicBlock, ShowKtvBlock});
    InitialiseGlobals();
    m_window = LoadStartWindow(ProgramHandlers());
    if (view == View::Shown) {
        m_view = std::make_unique<qt::MainWindowView>(*m_window);
        m_view->showCentred();
    }
}

bool BenchPanel::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QTimer wake;
    wake.start(kWakePeriodMs);
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void BenchPanel::runFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    waitUntil([&clock, milliseconds] { return clock.elapsed() >= milliseconds; }, milliseconds + kWakePeriodMs);
}

bool BenchPanel::SetShown() {
    return IsOnline() && DumpActive == 0 && EffectSetText().size() == static_cast<std::size_t>(3 * kFieldCount);
}

bool BenchPanel::linkWorks() {
    const int pingsBefore = framesReceived(sim::FrameKind::Ping);
    SendPingByte();
    return waitUntil([&] { return framesReceived(sim::FrameKind::Ping) > pingsBefore; }, kProbeTimeoutMs);
}

bool BenchPanel::recover() {
    return waitUntil([] { return !IsOnline(); }, kWatchdogPeriodMs + kPingPeriodMs + kProbeTimeoutMs) &&
           waitUntil(SetShown, kOnlineTimeoutMs);
}

} // namespace ep::bench
