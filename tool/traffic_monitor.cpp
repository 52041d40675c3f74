#include "tool/traffic_monitor.h"

#include "link/com_ports.h"
#include "link/serial_port_kind.h"
#include "link/traffic_decoder.h"
#include "model/controls.h"
#include "runtime/host.h"
#include "runtime/resources.h"
#include "tool/cli_commands.h"
#include "ui/window_definition.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstdio>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace ep {
namespace {

/// How often the main thread looks for frames that a pause has ended.
constexpr int kExpiryPeriodMs = 50;

volatile std::sig_atomic_t g_interrupted = 0;

void Interrupt(int) { g_interrupted = 1; }

/// The line settings of the panel's own port, from its window definition.
SerialLineSettings PanelLineSettings() {
    RegisterSerialPortKind();
    const auto window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
    return LineSettingsOf(*window->find(controls::Port));
}

/// Bytes on their way from the reader threads to the main thread, each with its direction and the time it
/// came, in the order they came.
class TrafficQueue {
  public:
    struct Entry {
        Direction direction;
        std::uint8_t byte;
        TrafficClock::time_point time;
    };

    /// From a reader thread, before the byte is forwarded, so that a request is queued before its answer.
    void push(Direction direction, std::uint8_t byte) {
        std::lock_guard lock(m_mutex);
        m_entries.push_back({direction, byte, TrafficClock::now()});
        if (m_deliveryPosted)
            return;
        m_deliveryPosted = true;
        CurrentHost().postToUi([this] { m_deliver(take()); });
    }

    void deliverTo(std::function<void(const std::vector<Entry>&)> deliver) { m_deliver = std::move(deliver); }

    bool deliveryPosted() {
        std::lock_guard lock(m_mutex);
        return m_deliveryPosted;
    }

  private:
    std::vector<Entry> take() {
        std::lock_guard lock(m_mutex);
        m_deliveryPosted = false;
        return std::exchange(m_entries, {});
    }

    std::function<void(const std::vector<Entry>&)> m_deliver;
    std::mutex m_mutex; ///< guards the members below
    std::vector<Entry> m_entries;
    bool m_deliveryPosted = false;
};

/// What the device sends: queued, then written to the panel's terminal.
class FromDevice : public SerialReceiver {
  public:
    explicit FromDevice(TrafficQueue& queue) : m_queue(queue) {}

    void forwardTo(PseudoTerminal* terminal) {
        std::lock_guard lock(m_mutex);
        m_terminal = terminal;
    }

    void byteReceived(std::uint8_t byte) override {
        m_queue.push(Direction::ToPanel, byte);
        std::lock_guard lock(m_mutex);
        if (m_terminal != nullptr && !m_terminal->write({byte}))
            ++unforwarded;
    }
    // A break or a line error belongs to the device's line; a pseudo-terminal has no way to pass it on.
    void lineEvent(LineEventKind) override {}
    void linkLost() override { lost = true; }

    std::atomic<bool> lost = false;
    std::atomic<long long> unforwarded = 0; ///< bytes the terminal did not take: the panel is not reading

  private:
    TrafficQueue& m_queue;
    std::mutex m_mutex; ///< guards m_terminal, which the main thread takes away before it closes it
    PseudoTerminal* m_terminal = nullptr;
};

/// What the panel writes to the terminal: queued, then written to the device.
class FromPanel : public SerialReceiver {
  public:
    FromPanel(TrafficQueue& queue, SerialDevice& device, int timeoutMs)
        : m_queue(queue), m_device(device), m_timeoutMs(timeoutMs) {}

    void byteReceived(std::uint8_t byte) override {
        m_queue.push(Direction::ToDevice, byte);
        if (!m_device.write({byte}, m_timeoutMs))
            ++unforwarded;
    }
    void lineEvent(LineEventKind) override {}
    void linkLost() override { lost = true; }

    std::atomic<bool> lost = false;
    std::atomic<long long> unforwarded = 0; ///< bytes the device did not take in time

  private:
    TrafficQueue& m_queue;
    SerialDevice& m_device;
    int m_timeoutMs;
};

void Print(const std::vector<DecodedFrame>& frames) {
    for (const DecodedFrame& frame : frames)
        std::printf("%s\n", TrafficLine(frame).c_str());
    if (!frames.empty())
        std::fflush(stdout);
}

/// Tells on standard error, once for each stretch, that bytes could not be forwarded.
class UnforwardedNote {
  public:
    explicit UnforwardedNote(const char* what) : m_what(what) {}
    void check(long long count) {
        if (count == m_told)
            return;
        std::fprintf(stderr, "effectpanel-cli: %lld byte(s) %s\n", count - m_told, m_what);
        m_told = count;
    }

  private:
    const char* m_what;
    long long m_told = 0;
};

int Monitor(const Text& devicePath, const Text& linkPath) {
    TrafficQueue queue;
    TrafficDecoder decoder;
    queue.deliverTo([&decoder](const std::vector<TrafficQueue::Entry>& entries) {
        for (const TrafficQueue::Entry& entry : entries)
            Print(decoder.feed(entry.direction, entry.byte, entry.time));
    });
    const SerialLineSettings settings = PanelLineSettings();
    FromDevice fromDevice(queue);
    SerialOpenResult device = OpenSerialWhenConnected(CurrentHost(), devicePath, settings, fromDevice);
    if (!device.device) {
        std::fprintf(stderr, "effectpanel-cli: cannot open %s: %s\n", devicePath.c_str(), device.reason.c_str());
        return kExitDevice;
    }
    FromPanel fromPanel(queue, *device.device, settings.timeoutMs);
    PseudoTerminalResult terminal = CurrentHost().openPseudoTerminal(linkPath, fromPanel);
    if (!terminal.terminal) {
        device.device->close();
        std::fprintf(stderr, "effectpanel-cli: cannot offer a pseudo-terminal: %s\n", terminal.error.c_str());
        return kExitDevice;
    }
    fromDevice.forwardTo(terminal.terminal.get());
    // Before the line that says the monitor is there: an interrupt from then on ends it with its clean-up.
    g_interrupted = 0;
    const auto oldInterrupt = std::signal(SIGINT, Interrupt);
    const auto oldTerminate = std::signal(SIGTERM, Interrupt);
    const Text shown = linkPath.empty() ? terminal.terminal->path()
                                        : terminal.terminal->path() + " (" + terminal.terminal->terminalPath() + ")";
    std::printf("listening on %s, forwarding to %s\n", shown.c_str(), devicePath.c_str());
    std::fflush(stdout);

    UnforwardedNote toPanel("from the device found the panel's terminal full: nothing reads it");
    UnforwardedNote toDevice("from the panel did not reach the device in time");
    const Host::TimerId expiry = CurrentHost().startTimer(kExpiryPeriodMs, [&] {
        Print(decoder.expire(TrafficClock::now()));
        toPanel.check(fromDevice.unforwarded);
        toDevice.check(fromPanel.unforwarded);
    });
    CurrentHost().runUntil([&] { return g_interrupted != 0 || fromDevice.lost || fromPanel.lost; }, INT_MAX);
    CurrentHost().stopTimer(expiry);
    std::signal(SIGINT, oldInterrupt);
    std::signal(SIGTERM, oldTerminate);

    // The terminal first: once its reader thread has ended nothing writes to the device, and once the
    // device's has ended nothing is queued.
    fromDevice.forwardTo(nullptr);
    terminal.terminal->close();
    device.device->close();
    CurrentHost().runUntil([&queue] { return !queue.deliveryPosted(); }, kExpiryPeriodMs);
    Print(decoder.finish());
    if (fromDevice.lost) {
        std::fprintf(stderr, "effectpanel-cli: the device went away\n");
        return kExitDevice;
    }
    if (fromPanel.lost) {
        std::fprintf(stderr, "effectpanel-cli: the panel's pseudo-terminal failed\n");
        return kExitDevice;
    }
    return kExitDone;
}

} // namespace

int RunMonitorCommand(const CliOptions& options) {
    const auto usage = [](const Text& message) {
        std::fprintf(stderr, "effectpanel-cli: %s\n", message.c_str());
        return kExitUsage;
    };
    Text linkPath;
    const auto& words = options.arguments;
    if (words.size() == 2 && words[0] == "--listen")
        linkPath = words[1];
    else if (!words.empty())
        return usage("monitor takes --listen PATH or nothing");
    if (options.comDevices.size() != 1)
        return usage("monitor needs the device it stands in front of, as one --com N=DEVICE");
    if (options.json)
        return usage("monitor prints its lines as they come; --json is for the other commands");
    return Monitor(ComDevicePath(options.comDevices.begin()->first), linkPath);
}

} // namespace ep
