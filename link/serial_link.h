#pragma once
/// The SerialLink of a SerialPort control: Open, Close and a synchronous Send on the window thread; the
/// device's reader thread hands every received byte and line event over through a mutex-guarded queue,
/// and each entry becomes one event of the control on the window thread, in arrival order. The queue is
/// bounded: bytes that find it full are dropped and reported as one line error, as an overrun is. What it
/// sends and what it hands to the window go to the trace when one is started (traffic_trace.h).
///
/// A device that does not take a write within its time-out is taken as not reading: from then on each
/// item gets only a short try, so that such a device holds the window once for the time-out and never
/// again, also across reopening it, until it takes an item again.

#include "runtime/host.h"
#include "ui/control.h"

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace ep {

class SerialLink : public ControlExtension, public SerialReceiver {
  public:
    explicit SerialLink(Control& port);
    ~SerialLink() override;

    /// Closes first; 1 when the port of PortNumber is open with the current properties, else 0.
    int Open();
    /// Safe when closed: stops the reader thread, waits for it and discards undelivered notifications.
    void Close();
    /// Writes the item's bytes and returns when they are on the line: 1 on success, 0 when closed, the
    /// kind has no bytes to send, or the write failed or timed out (for a device that is not reading,
    /// after the short try).
    int Send(const Value& item);

    /// Drops what has been received and not yet handed to the window, the rest of a delivery under way
    /// included: none of it can be the answer to a request that is sent after this. How many notifications
    /// it dropped.
    std::size_t DiscardReceived();

    bool isOpen() const { return m_device != nullptr; }
    /// Why the last Open failed; None after one that succeeded.
    SerialOpenError lastOpenError() const { return m_lastOpenError; }

    struct OpenFailure {
        SerialOpenError error = SerialOpenError::None;
        Text reason{};
    };
    /// Why each device that did not open at its last Open failed, by device path; a device leaves the
    /// list when it opens.
    const std::map<Text, OpenFailure>& lastOpenFailures() const { return m_lastOpenFailures; }
    /// The path of the open device, or of the last one that opened.
    const Text& devicePath() const { return m_devicePath; }
    /// The device that opened last went away (hang-up, adapter pulled out, connection closed) since.
    bool deviceWentAway() const { return m_wentAway; }

    /// Why the ports that a user could make usable did not open (no permission, held by another program),
    /// one sentence each with the fix; a port leaves the list when it opens.
    std::vector<Text> openFailures() const;

    void byteReceived(std::uint8_t byte) override;
    void lineEvent(LineEventKind kind) override;
    void linkLost() override;

  private:
    struct Notification {
        bool isByte;
        int parameter;
    };
    /// The queue outlives the link only as long as a posted delivery still refers to it.
    struct NotifyQueue {
        std::mutex mutex; ///< guards the members below
        std::deque<Notification> entries;
        bool deliveryPosted = false;   ///< a delivery is on its way to the window thread
        bool dropping = false;         ///< bytes are being dropped since the last one that was queued
        std::atomic<int> discards = 0; ///< counts DiscardReceived, so that a delivery under way stops
        std::size_t batchLeft = 0; ///< of the delivery under way, after the entry being delivered; window thread only
    };

    void queue(Notification notification);
    /// Posts the one delivery of the queue; the caller holds its mutex.
    static void PostDelivery(const std::shared_ptr<NotifyQueue>& queue, Control& port);
    static void Deliver(const std::weak_ptr<NotifyQueue>& queue, Control& port);
    void noteOpenFailure(const Text& devicePath, const SerialOpenResult& result);

    Control& m_port;
    std::unique_ptr<SerialDevice> m_device;
    Text m_devicePath;         ///< of the open device, or of the last one
    bool m_notReading = false; ///< the device of m_devicePath did not take the last item in its time-out
    SerialOpenError m_lastOpenError = SerialOpenError::None;
    std::shared_ptr<NotifyQueue> m_queue = std::make_shared<NotifyQueue>();
    std::map<Text, Text> m_openFailures; ///< by device path
    std::map<Text, OpenFailure> m_lastOpenFailures;
    std::atomic<bool> m_wentAway = false; ///< set by the reader thread
};

/// Notifications the reader thread may hold for the window thread: about four seconds of a 9600 bit/s
/// line, more than a device sends while the window thread is busy; what is older than that is noise that
/// only delays what the device says now.
constexpr std::size_t kNotifyQueueBound = 4 * 1024;

/// The time a device that is not reading gets for each item: a few items' time on the line.
constexpr int kNotReadingTryMs = 50;

/// Notifications one delivery hands to the window before it lets the window's other events run.
constexpr std::size_t kDeliveryBatch = 256;

/// The link of a SerialPort control, created on first use.
SerialLink& LinkOf(Control& port);

/// The bytes an item puts on the line; empty for a kind that has none.
std::optional<Bytes> LineBytesOf(const Value& item);

} // namespace ep
