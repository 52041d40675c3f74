#include "qt/core_host.h"

#include "qt/child_process.h"
#include "qt/network_devices.h"
#include "qt/output_streams.h"
#include "qt/pseudo_terminal.h"
#include "qt/serial_device.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace ep::qt {
namespace {

/// Wakes the waiting event loop so that a time-out is noticed when nothing else happens.
constexpr int kWakePeriodMs = 10;

} // namespace

CoreHost::CoreHost() : m_networkDevices(std::make_unique<NetworkDevices>()) {
    m_clock.start();
    SetCurrentHost(this);
}

CoreHost::~CoreHost() {
    m_networkDevices.reset();
    m_timers.clear();
    SetCurrentHost(nullptr);
}

Host::TimerId CoreHost::startTimer(int periodMs, std::function<void()> tick) {
    const TimerId id = m_nextTimer++;
    auto timer = std::make_unique<QTimer>();
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(periodMs);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), std::move(tick));
    timer->start();
    m_timers[id] = std::move(timer);
    return id;
}

void CoreHost::stopTimer(TimerId timer) {
    const auto found = m_timers.find(timer);
    if (found == m_timers.end())
        return;
    // The timer may be the one whose tick is running now: let Qt delete it when the tick returns.
    found->second->stop();
    found->second.release()->deleteLater();
    m_timers.erase(found);
}

void CoreHost::postToUi(std::function<void()> callable) {
    QMetaObject::invokeMethod(this, std::move(callable), Qt::QueuedConnection);
}

std::int64_t CoreHost::nowMs() const { return m_clock.elapsed(); }

void CoreHost::sleep(int milliseconds) { QThread::msleep(static_cast<unsigned long>(std::max(milliseconds, 0))); }

bool CoreHost::runUntil(const std::function<bool()>& condition, int timeoutMs) {
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

SerialOpenResult CoreHost::openSerial(const Text& devicePath, const SerialLineSettings& settings,
                                      SerialReceiver& receiver) {
    if (IsNetworkDevicePath(devicePath))
        return m_networkDevices->open(devicePath, receiver);
    return OpenSerialDevice(devicePath, settings, receiver);
}

PseudoTerminalResult CoreHost::openPseudoTerminal(const Text& linkPath, SerialReceiver& receiver) {
    return OpenPseudoTerminal(linkPath, receiver);
}

Host::ProcessId CoreHost::startProcess(const ProcessRequest& request,
                                       std::function<void(const ProcessOutcome&)> ended) {
    return m_children.start(request, std::move(ended));
}

void CoreHost::stopProcess(ProcessId process, int graceMs) { m_children.stop(process, graceMs); }

int CoreHost::childProcessRoom() const { return ChildProcesses::room(); }

std::size_t CoreHost::writeWithoutWaiting(OutputStream stream, std::string_view text) {
#if defined(_WIN32)
    return Host::writeWithoutWaiting(stream, text);
#else
    return WriteWithoutWaiting(stream, text);
#endif
}

bool CoreHost::isTerminal(OutputStream stream) const { return IsTerminal(stream); }

} // namespace ep::qt
