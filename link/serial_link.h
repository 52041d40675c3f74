#pragma once
/// The SerialLink of a SerialPort control: Open, Close and a synchronous Send on the window thread; the
/// device's reader thread hands every received byte and line event over through a mutex-guarded queue,
/// and each entry becomes one event of the control on the window thread, in arrival order. The queue is
/// bounded: bytes that find it full are dropped and reported as one line error, as an overrun is. What it
/// sends and what it hands to the window go to the trace when one is started (traffic_trace.h).

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
    /// kind has no bytes to send, or the write failed or timed out. After a failed write the device is
    /// taken as not reading: further items fail at once, without waiting their time-out, until the
    /// device sends a byte or the port is opened again.
    int Send(const Value& item);

    bool isOpen() const { return m_device != nullptr; }

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
        bool deliveryPosted = false; ///< a delivery is on its way to the window thread
        bool dropping = false;       ///< bytes are being dropped since the last one that was queued
    };

    void queue(Notification notification);
    /// Posts the one delivery of the queue; the caller holds its mutex.
    static void PostDelivery(const std::shared_ptr<NotifyQueue>& queue, Control& port);
    static void Deliver(const std::weak_ptr<NotifyQueue>& queue, Control& port);
    void noteOpenFailure(const Text& devicePath, const SerialOpenResult& result);

    Control& m_port;
    std::unique_ptr<SerialDevice> m_device;
    std::shared_ptr<NotifyQueue> m_queue = std::make_shared<NotifyQueue>();
    std::atomic<bool> m_writeFailed = false; ///< set on the window thread, cleared by the reader thread too
    std::map<Text, Text> m_openFailures;     ///< by device path
};

/// Notifications the reader thread may hold for the window thread: 34 s of a 9600 bit/s line, far more
/// than a device sends while the window thread is busy, and little memory.
constexpr std::size_t kNotifyQueueBound = 32 * 1024;

/// Notifications one delivery hands to the window before it lets the window's other events run.
constexpr std::size_t kDeliveryBatch = 256;

/// The link of a SerialPort control, created on first use.
SerialLink& LinkOf(Control& port);

/// The bytes an item puts on the line; empty for a kind that has none.
std::optional<Bytes> LineBytesOf(const Value& item);

} // namespace ep
