#include "tool/stop_signals.h"

#include <csignal>

namespace ep {
namespace {

volatile std::sig_atomic_t g_caught = 0;

void Catch(int signal) {
    if (g_caught == 0)
        g_caught = signal;
}

} // namespace

StopSignals::StopSignals() {
    g_caught = 0;
    m_interrupt = std::signal(SIGINT, Catch);
    m_terminate = std::signal(SIGTERM, Catch);
}

StopSignals::~StopSignals() {
    std::signal(SIGINT, m_interrupt);
    std::signal(SIGTERM, m_terminate);
}

int StopSignals::caught() const { return g_caught; }

Text SignalName(int signal) { return signal == SIGINT ? "SIGINT" : "SIGTERM"; }

} // namespace ep
