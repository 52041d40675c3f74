#pragma once
/// What the Qt host needs of QtCore alone: QTimer timers, queued calls to the UI thread, sleeping, running
/// the event loop until a condition holds, serial devices (QSerialPort, or a TCP connection to a network
/// serial server), pseudo-terminals, child processes (QProcess) and output that does not wait for its
/// reader. Message boxes and file dialogs are the business of the host that derives.

#include "qt/child_process.h"
#include "runtime/host.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>
#include <memory>

class QTimer;

namespace ep::qt {

class NetworkDevices;

class CoreHost : public QObject, public Host {
  public:
    /// Becomes the current host.
    CoreHost();
    ~CoreHost() override;

    TimerId startTimer(int periodMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void postToUi(std::function<void()> callable) override;
    void sleep(int milliseconds) override;
    std::int64_t nowMs() const override;
    bool runUntil(const std::function<bool()>& condition, int timeoutMs) override;
    SerialOpenResult openSerial(const Text& devicePath, const SerialLineSettings& settings,
                                SerialReceiver& receiver) override;
    PseudoTerminalResult openPseudoTerminal(const Text& linkPath, SerialReceiver& receiver) override;
    ProcessId startProcess(const ProcessRequest& request, std::function<void(const ProcessOutcome&)> ended) override;
    void stopProcess(ProcessId process, int graceMs) override;
    int childProcessRoom() const override;
    std::size_t writeWithoutWaiting(OutputStream stream, std::string_view text) override;
    bool isTerminal(OutputStream stream) const override;

  private:
    QElapsedTimer m_clock;
    TimerId m_nextTimer = 1;
    std::map<TimerId, std::unique_ptr<QTimer>> m_timers;
    std::unique_ptr<NetworkDevices> m_networkDevices;
    ChildProcesses m_children{*this};
};

} // namespace ep::qt
