#pragma once
/// Serves the simulated processor on a pseudo-terminal, so the panel opens it like a serial port, or on a
/// TCP port as a network serial server does. Owns the pty or socket and one I/O thread; every public call
/// is thread-safe. It does not interpret bytes itself: that is
/// the SimulatedDevice's job.

#include "sim/answer_queue.h"
#include "sim/device_options.h"
#include "sim/simulated_device.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ep::sim {

struct ServerOptions {
    DeviceOptions device;
    int baud = 9600; ///< pace of the answers; 0 sends them unpaced
    /// When not empty, a symbolic link to the pty is made here (an old link there is replaced).
    std::string linkPath;
    /// 0 or more: serve on this TCP port of the loopback address (0: a free one) instead of a pty, one
    /// connection at a time, as a network serial server does.
    int tcpPort = -1;
    /// (field, value) pairs set before serving, to start from other values than the factory ones.
    std::vector<std::pair<int, std::uint8_t>> changedValues;
    /// Called on the I/O thread for every frame received, broken ones included.
    std::function<void(const ParsedFrame&)> frameObserver;
};

class PtyServer {
  public:
    PtyServer() = default;
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    /// Opens the pty and starts serving; false with error() set when that fails.
    bool start(const ServerOptions& options);
    /// Ends serving, closes the pty and removes the link. Safe to call more than once.
    void stop();
    /// Simulates the device going away: the I/O thread ends, the pty is closed, so the panel's side
    /// reports a hang-up, and the link goes as a device node goes with its device. The values, log and
    /// counters stay readable.
    void hangUp();

    /// True while the I/O thread serves the pty.
    bool serving() const { return m_serving; }
    /// The slave side's path (/dev/pts/N), the one the panel opens; "tcp:127.0.0.1:PORT" in TCP mode.
    std::string path() const;
    /// The reason of the last failure, empty when there was none.
    std::string error() const;

    ValueSet values() const;
    ValueSet storedValues() const;
    /// Changes field 1..255 as a knob on the device would; the panel sees it at its next dump.
    bool setValue(int field, std::uint8_t value);
    /// Sends 0x88, the device's request to return the key to neutral.
    void requestKeyReset();
    /// Sends the whole dump now, unasked and whatever the faults: a device that answers a request late.
    void sendDump();
    void setFaults(const FaultOptions& faults);
    std::vector<ParsedFrame> frameLog() const;
    DeviceCounters counters() const;
    /// Bytes written to the pty so far.
    std::uint64_t bytesWritten() const { return m_bytesWritten; }

  private:
    bool openTerminal();
    bool openListener(int port);
    bool openWakePipe();
    /// The descriptor the line's bytes go through: the pty's master, or the connection; -1 for none.
    int lineDescriptor() const;
    /// The line reported its end; false when serving must end with it.
    bool lineEnded();
    /// Writes to the line; the count written, or empty when serving must end.
    std::optional<std::size_t> writeLine(const std::uint8_t* bytes, std::size_t count, bool& outputBlocked);
    bool makeLink(const std::string& linkPath);
    void run();
    bool writeDue(AnswerQueue& queue, bool& outputBlocked);
    bool writeFlood(bool& outputBlocked);
    void wake();
    void endThread();
    void removeLink();
    void closeTerminal();
    void fail(const std::string& what);

    mutable std::mutex m_mutex; ///< guards m_device, m_pendingAnswers, m_error, m_path, m_linkPath
    SimulatedDevice m_device;
    std::vector<Bytes> m_pendingAnswers; ///< requested from other threads, sent by the I/O thread
    std::string m_error;
    std::string m_path;
    std::string m_linkPath;

    std::function<void(const ParsedFrame&)> m_frameObserver;
    std::chrono::nanoseconds m_byteDuration{0};
    int m_masterFd = -1;
    int m_slaveFd = -1;      ///< kept open so the master never reports a hang-up when the panel closes its side
    int m_listenFd = -1;     ///< the TCP listener, in TCP mode
    int m_connectionFd = -1; ///< the panel's connection, in TCP mode
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::thread m_thread;
    std::atomic<bool> m_stopRequested = false;
    std::atomic<bool> m_serving = false;
    std::atomic<std::uint64_t> m_bytesWritten = 0;
};

} // namespace ep::sim
