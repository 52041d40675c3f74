#pragma once
/// The SerialLink of a SerialPort control: Open, Close and a synchronous Send on the window thread; the
/// device's reader thread hands every received byte and line event over through a mutex-guarded queue,
/// and each entry becomes one event of the control on the window thread, in arrival order.

#include "runtime/host.h"
#include "ui/control.h"

#include <memory>
#include <mutex>
#include <set>
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
    /// kind has no bytes to send, or the write failed or timed out.
    int Send(const Value& item);

    bool isOpen() const { return m_device != nullptr; }

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
        std::mutex mutex; ///< guards entries
        std::vector<Notification> entries;
    };

    void queue(Notification notification);
    static void Deliver(const std::weak_ptr<NotifyQueue>& queue, Control& port);
    void reportOpenFailureOnce(const Text& devicePath, const SerialOpenResult& result);

    Control& m_port;
    std::unique_ptr<SerialDevice> m_device;
    std::shared_ptr<NotifyQueue> m_queue = std::make_shared<NotifyQueue>();
    std::set<Text> m_reportedFailures;
};

/// The link of a SerialPort control, created on first use.
SerialLink& LinkOf(Control& port);

/// The bytes an item puts on the line; empty for a kind that has none.
std::optional<Bytes> LineBytesOf(const Value& item);

} // namespace ep
