#include "tool/traffic_monitor.h"

#include "link/com_ports.h"
#include "link/serial_port_kind.h"
#include "link/traffic_decoder.h"
#include "model/controls.h"
#include "runtime/host.h"
#include "runtime/resources.h"
#include "tool/cli_commands.h"
#include "tool/line_output.h"
#include "tool/stop_signals.h"
#include "tool/traffic_queue.h"
#include "ui/window_definition.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <mutex>
#include <vector>

namespace ep {
namespace {

/// How often the main thread looks for frames that a pause has ended, and for a reader of its output that
/// has made room again.
constexpr int kExpiryPeriodMs = 50;
/// What waits for a reader of the output, of either stream: a few seconds of a busy line.
constexpr std::size_t kWaitingOutputBytes = 256 * 1024;
/// The bytes that wait to be decoded when the main thread has fallen behind a flood: a fraction of a second
/// of decoding, so that a signal is not kept waiting either.
constexpr std::size_t kQueuedBytes = 64 * 1024;
/// How long the last lines have, at the end, to reach a reader that reads.
constexpr int kLastOutputMs = 500;

/// The line settings of the panel's own port, from its window definition.
SerialLineSettings PanelLineSettings() {
    RegisterSerialPortKind();
    const auto window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
    return LineSettingsOf(*window->find(controls::Port));
}

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

/// The monitor's two streams, neither of which holds it when its reader stops reading.
struct Outputs {
    LineOutput lines{OutputStream::Standard, kWaitingOutputBytes};
    LineOutput notes{OutputStream::Error, kWaitingOutputBytes};

    void print(const std::vector<DecodedFrame>& frames) {
        for (const DecodedFrame& frame : frames)
            lines.add(TrafficLine(frame));
    }
    void note(const Text& message) { notes.add("effectpanel-cli: " + message); }
    bool flush() {
        const bool linesOut = lines.flush();
        return notes.flush() && linesOut;
    }
};

/// Tells on standard error, once for each stretch, that bytes could not be forwarded.
class UnforwardedNote {
  public:
    explicit UnforwardedNote(const char* what) : m_what(what) {}
    void check(long long count, Outputs& outputs) {
        if (count == m_told)
            return;
        outputs.note(std::to_string(count - m_told) + " byte(s) " + m_what);
        m_told = count;
    }

  private:
    const char* m_what;
    long long m_told = 0;
};

int Monitor(const Text& devicePath, const Text& linkPath) {
    // From the start, so that a signal never leaves the link at --listen PATH behind.
    const StopSignals signals;
    Outputs outputs;
    TrafficQueue queue(kQueuedBytes);
    TrafficDecoder decoder;
    queue.deliverTo([&](const std::vector<TrafficQueue::Entry>& entries, long long beyondBound) {
        for (const TrafficQueue::Entry& entry : entries)
            outputs.print(decoder.feed(entry.direction, entry.byte, entry.time));
        if (beyondBound > 0)
            outputs.lines.add(std::to_string(beyondBound) +
                              " byte(s) not decoded: they came faster than they could be decoded");
        outputs.flush();
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
    const Text shown = linkPath.empty() ? terminal.terminal->path()
                                        : terminal.terminal->path() + " (" + terminal.terminal->terminalPath() + ")";
    outputs.lines.add("listening on " + shown + ", forwarding to " + devicePath);
    outputs.flush();

    UnforwardedNote toPanel("from the device found the panel's terminal full: nothing reads it");
    UnforwardedNote toDevice("from the panel did not reach the device in time");
    const Host::TimerId expiry = CurrentHost().startTimer(kExpiryPeriodMs, [&] {
        outputs.print(decoder.expire(TrafficClock::now()));
        toPanel.check(fromDevice.unforwarded, outputs);
        toDevice.check(fromPanel.unforwarded, outputs);
        outputs.flush();
    });
    CurrentHost().runUntil([&] { return signals.caught() != 0 || fromDevice.lost || fromPanel.lost; }, INT_MAX);
    CurrentHost().stopTimer(expiry);

    // The terminal first: once its reader thread has ended nothing writes to the device, and once the
    // device's has ended nothing is queued.
    fromDevice.forwardTo(nullptr);
    terminal.terminal->close();
    device.device->close();
    CurrentHost().runUntil([&queue] { return !queue.deliveryPosted(); }, kExpiryPeriodMs);
    outputs.print(decoder.finish());
    if (fromDevice.lost)
        outputs.note("the device went away");
    else if (fromPanel.lost)
        outputs.note("the panel's pseudo-terminal failed");
    const int code = fromDevice.lost || fromPanel.lost ? kExitDevice : kExitDone;
    // A reader that does not read gets no more time than this: the signal asked for an end.
    CurrentHost().runUntil([&outputs] { return outputs.flush(); }, kLastOutputMs);
    return code;
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
