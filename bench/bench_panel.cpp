#include "bench/bench_panel.h"

#include "link/connection.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "test_ports.h"

#include <cstdio>

namespace ep::bench {
namespace {

constexpr int kProbeTimeoutMs = 1000;
/// The connect attempts come every second; the dump after the hello takes a quarter of a second.
constexpr int kOnlineTimeoutMs = 15000;

} // namespace

BenchPanel::~BenchPanel() {
    m_panel.stop();
    m_simulator.stop();
}

bool BenchPanel::start(sim::ServerOptions options, View view) {
    options.frameObserver = [this](const sim::ParsedFrame& frame) { ++m_frames[static_cast<std::size_t>(frame.kind)]; };
    if (!m_simulator.start(options)) {
        std::fprintf(stderr, "cannot start the simulated processor: %s\n", m_simulator.error().c_str());
        return false;
    }
    testing::MapTestPorts(m_simulator.path());
    m_panel.start(view);
    if (!waitUntil(SetShown, kOnlineTimeoutMs)) {
        std::fprintf(stderr, "the panel did not come online with the simulator's set\n");
        return false;
    }
    return true;
}

void BenchPanel::startWithoutDevice(View view) {
    testing::MapTestPorts({});
    m_panel.start(view);
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
