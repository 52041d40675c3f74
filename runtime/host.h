#pragma once
/// The one interface through which the core reaches the platform: timers, posting to the UI thread,
/// sleeping, message boxes, file dialogs, serial devices, pseudo-terminals and child processes. The Qt host
/// implements it for the program, the test host with virtual time for the tests. It holds no program logic.

#include "runtime/value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ep {

/// The buttons and icon of a message box, as the style word of the original platform encodes them in its
/// low bits: 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel;
/// icon 0x10 error, 0x20 question, 0x30 warning, 0x40 information.
struct MessageBoxRequest {
    Text text;
    Text caption;
    int style = 0;
};

/// The button the user pressed, as InfoBox reports it.
enum class MessageBoxButton { Ok = 0, Cancel = 1, Abort = 2, Retry = 3, Ignore = 4, Yes = 5, No = 6 };

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    Text filterDisplay; ///< the filter's display text, e.g. "音响配置文件(*.tonset) "
    Text filterPattern; ///< the filter's pattern, e.g. "*.tonset"
    Text startPath;     ///< the last chosen name, or a folder to start in
    Text defaultSuffix; ///< what a typed name without a suffix gets, e.g. "tonset"; empty for nothing
};

/// Line settings that an open applies, already mapped from the SerialPort properties.
struct SerialLineSettings {
    int baudRate = 9600;
    int dataBits = 8;
    enum class Parity { None, Odd, Even, Mark, Space } parity = Parity::None;
    enum class StopBits { One, OneAndHalf, Two } stopBits = StopBits::One;
    bool parityCheck = false;
    enum class Flow { None, Hardware, Software } flow = Flow::None;
    bool rtsOn = true;
    std::optional<bool> dtrOn; ///< empty: leave DTR as the driver has it
    int timeoutMs = 1000;
};

/// Kinds of line events, numbered as the SerialPort's LineEvent reports them.
enum class LineEventKind {
    Break = 1,
    CtsOn = 2,
    DsrOn = 3,
    LineError = 4,
    Ring = 5,
    CarrierOn = 6,
    EventChar = 7,
    CtsOff = 8,
    DsrOff = 9,
    CarrierOff = 10
};

/// What an open serial device reports from its reader thread. Called on the reader thread, never on the
/// UI thread; the receiver hands the notifications over itself.
class SerialReceiver {
  public:
    virtual ~SerialReceiver() = default;
    virtual void byteReceived(std::uint8_t byte) = 0;
    virtual void lineEvent(LineEventKind kind) = 0;
    /// The device went away (hang-up, adapter pulled out): no more bytes will come and writes fail.
    virtual void linkLost() = 0;
};

/// An open serial device. Its reader thread runs from open until close() or destruction.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;
    /// Writes the bytes and returns once they have left the output queue, or false when the write failed
    /// or did not complete within the time-out. Never discards received bytes.
    virtual bool write(const Bytes& bytes, int timeoutMs) = 0;
    /// Stops the reader thread and waits for it; no receiver call happens after it returns.
    virtual void close() = 0;
};

/// A device path "tcp:HOST:PORT" names a device behind a network serial server.
bool IsNetworkDevicePath(std::string_view devicePath);

/// Why an open failed, for the one-time hint to the user; the link itself treats every failure alike.
/// Pending: a network device whose connection is still being made; a later open finds it made or failed.
enum class SerialOpenError { None, Missing, PermissionDenied, Busy, Pending, Other };

/// The most that looking up a network device's host and connecting to it take together; an open of any
/// device that has not finished by then fails.
constexpr int kDeviceOpenMs = 3000;

struct SerialOpenResult {
    std::unique_ptr<SerialDevice> device;
    SerialOpenError error = SerialOpenError::None;
    Text reason;
};

/// A pseudo-terminal that another program opens as its serial device, so that the monitor can stand
/// between the panel and the device. What that program writes comes to the receiver from the terminal's
/// reader thread, a byte at a time, as a device's bytes do; the program may close the terminal and open it
/// again as often as it likes.
class PseudoTerminal {
  public:
    virtual ~PseudoTerminal() = default;
    /// The path the other program opens: the link made for it, or the terminal's own.
    virtual Text path() const = 0;
    /// The terminal's own path (/dev/pts/N).
    virtual Text terminalPath() const = 0;
    /// Hands the bytes to the other program at once, without waiting; false when the terminal did not take
    /// them all (nobody reads it and its buffer is full). From one thread at a time.
    virtual bool write(const Bytes& bytes) = 0;
    /// Stops the reader thread and waits for it, closes the terminal and removes the link, unless something
    /// else has taken its place; no receiver call happens after it returns.
    virtual void close() = 0;
};

struct PseudoTerminalResult {
    std::unique_ptr<PseudoTerminal> terminal;
    Text error; ///< why there is none
};

/// A program to run to its end in a process of its own, with nothing on its standard input.
struct ProcessRequest {
    Text program;
    std::vector<Text> arguments;
    /// Killed when it has not ended this long after it started running (after its program was loaded).
    int killAfterMs = 0;
};

/// How a child process ended, and what it printed.
struct ProcessOutcome {
    /// Killed: at its bound; Stopped: ended by a stop that its parent asked for.
    enum class End { Exited, Crashed, Killed, Stopped, NotStarted };
    End end = End::NotStarted;
    int exitCode = -1; ///< when it exited
    Text standardOutput{};
    Text standardError{}; ///< for a process that did not start, why
    int elapsedMs = 0;    ///< from the start to the end
};

/// The process's own output streams.
enum class OutputStream { Standard, Error };

class Host {
  public:
    virtual ~Host() = default;

    using TimerId = int;
    /// Starts a periodic timer; the first tick comes one period after the call. Ticks that fall due while
    /// the UI thread is busy merge into one.
    virtual TimerId startTimer(int periodMs, std::function<void()> tick) = 0;
    virtual void stopTimer(TimerId timer) = 0;

    /// Runs the callable on the UI thread, after what is running there now. Safe from any thread.
    virtual void postToUi(std::function<void()> callable) = 0;

    /// Blocks the calling thread; the UI does not process messages meanwhile.
    virtual void sleep(int milliseconds) = 0;

    /// Milliseconds on a clock that only goes forward, from a start of the host's choosing.
    virtual std::int64_t nowMs() const = 0;

    /// Runs the UI thread's messages (timers, posted callables, what the devices send) until the
    /// condition holds, checked after each; true when it held within the time. For what drives the panel
    /// from outside its own events, such as a command-line tool.
    virtual bool runUntil(const std::function<bool()>& condition, int timeoutMs) = 0;

    /// A modal box; timers and posted callables keep running nested inside it.
    virtual MessageBoxButton showMessageBox(const MessageBoxRequest& request) = 0;

    /// A modal open or save dialog; empty when the user cancelled.
    virtual std::optional<Text> showFileDialog(const FileDialogRequest& request) = 0;

    /// Opens the serial device at the platform path with the settings and starts its reader thread. Never
    /// holds the caller longer than kDeviceOpenMs; a network device is not waited for at all beyond a short
    /// look, and reported Pending while its connection goes on in the background.
    virtual SerialOpenResult openSerial(const Text& devicePath, const SerialLineSettings& settings,
                                        SerialReceiver& receiver) = 0;

    /// Offers a new pseudo-terminal and starts its reader thread, with a symbolic link to it at linkPath
    /// unless that is empty. Of what lies at linkPath only the link to a pseudo-terminal that an earlier
    /// monitor left is replaced; anything else is refused and left as it is. A host of a platform without
    /// pseudo-terminals says that it has none.
    virtual PseudoTerminalResult openPseudoTerminal(const Text& linkPath, SerialReceiver& receiver);

    using ProcessId = int;
    /// Starts the program as a child process; ended runs on the UI thread, from the message loop and
    /// never inside this call, once the process has ended or failed to start.
    virtual ProcessId startProcess(const ProcessRequest& request, std::function<void(const ProcessOutcome&)> ended) = 0;
    /// Asks a child process that has not ended yet to end (SIGTERM on POSIX) and kills it when it has not
    /// ended graceMs later; its ended runs as for any end. A process that has ended is left alone.
    virtual void stopProcess(ProcessId process, int graceMs) = 0;
    /// How many child processes may run at once before the process runs out of the descriptors that each
    /// of them holds while it runs, counting those it has open now; at least one. The base knows of no
    /// such bound.
    virtual int childProcessRoom() const;

    /// Writes as much of the text to the stream as it takes at once, never waiting for a reader that does
    /// not read; the number of bytes written. From the UI thread. The base writes it all, waiting as the
    /// stream does, on a platform that cannot tell whether a stream would wait.
    virtual std::size_t writeWithoutWaiting(OutputStream stream, std::string_view text);

    /// Whether the stream goes to a terminal, where a line may count up in place. The base cannot tell and
    /// says no.
    virtual bool isTerminal(OutputStream stream) const;
};

/// Opens the device as openSerial does, running the UI thread's messages while a network device's
/// connection is pending, for a caller that has nothing else to do meanwhile; at most kDeviceOpenMs and a
/// little more.
SerialOpenResult OpenSerialWhenConnected(Host& host, const Text& devicePath, const SerialLineSettings& settings,
                                         SerialReceiver& receiver);

/// The host of this process, set once at start-up by the program (or by a test).
Host& CurrentHost();
void SetCurrentHost(Host* host);
/// False before the host is set and after it has gone.
bool HasCurrentHost();

} // namespace ep
