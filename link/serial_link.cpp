#include "link/serial_link.h"

#include "link/com_ports.h"
#include "link/serial_port_kind.h"
#include "link/traffic_trace.h"
#include "runtime/conversions.h"
#include "ui/property.h"
#include "ui/window.h"

namespace ep {

SerialLink::SerialLink(Control& port) : m_port(port) {}

SerialLink::~SerialLink() { Close(); }

int SerialLink::Open() {
    Close();
    m_lastOpenError = SerialOpenError::Missing;
    const std::int32_t number = m_port.readInt(serialprop::PortNumber);
    if (number < 1)
        return 0;
    const Text devicePath = ComDevicePath(number);
    if (devicePath.empty())
        return 0;
    SerialOpenResult result = CurrentHost().openSerial(devicePath, LineSettingsOf(m_port), *this);
    m_lastOpenError = result.error;
    if (!result.device) {
        m_lastOpenFailures[devicePath] = {result.error, result.reason};
        noteOpenFailure(devicePath, result);
        return 0;
    }
    m_lastOpenFailures.erase(devicePath);
    m_openFailures.erase(devicePath);
    m_wentAway = false;
    m_device = std::move(result.device);
    // Reopening a device that is not reading changes nothing about it.
    if (devicePath != m_devicePath)
        m_notReading = false;
    m_devicePath = devicePath;
    return 1;
}

void SerialLink::noteOpenFailure(const Text& devicePath, const SerialOpenResult& result) {
    // Only the failures a user can fix are worth a word (the status label's help gives it).
    if (result.error == SerialOpenError::PermissionDenied)
        m_openFailures[devicePath] = "无法打开 " + devicePath + "（" + result.reason +
                                     "）：没有使用串口的权限。请把自己加入 dialout 组（sudo adduser $USER "
                                     "dialout），然后重新登录。";
    else if (result.error == SerialOpenError::Busy)
        m_openFailures[devicePath] =
            "无法打开 " + devicePath + "（" + result.reason + "）：该端口正被另一个程序占用，请先关闭那个程序。";
}

std::vector<Text> SerialLink::openFailures() const {
    std::vector<Text> failures;
    for (const auto& [path, failure] : m_openFailures)
        failures.push_back(failure);
    return failures;
}

void SerialLink::Close() {
    if (m_device) {
        m_device->close();
        m_device.reset();
    }
    DiscardReceived();
}

std::size_t SerialLink::DiscardReceived() {
    std::lock_guard lock(m_queue->mutex);
    const std::size_t dropped = m_queue->entries.size() + m_queue->batchLeft;
    m_queue->entries.clear();
    m_queue->batchLeft = 0;
    m_queue->dropping = false;
    ++m_queue->discards;
    return dropped;
}

std::optional<Bytes> LineBytesOf(const Value& item) {
    // Procedure pointers and arrays are not items of the line.
    if (item.kind() == ValueKind::ProcPointer || item.kind() == ValueKind::Array)
        return std::nullopt;
    return ToByteString(item);
}

int SerialLink::Send(const Value& item) {
    if (!m_device)
        return 0;
    const auto bytes = LineBytesOf(item);
    if (!bytes)
        return 0;
    if (bytes->empty())
        return 1;
    const long long timeout = m_port.readInt(serialprop::Timeout);
    const long long total = timeout * static_cast<long long>(bytes->size()) + timeout;
    // A device that did not take the last item would hold the window for each item's time-out; a short
    // try still finds out when it reads again.
    const int allowedMs = m_notReading ? kNotReadingTryMs : static_cast<int>(std::min<long long>(total, INT32_MAX));
    m_notReading = !m_device->write(*bytes, allowedMs);
    if (m_notReading)
        return 0;
    TraceSent(*bytes);
    return 1;
}

void SerialLink::byteReceived(std::uint8_t byte) { queue({true, byte}); }

void SerialLink::lineEvent(LineEventKind kind) { queue({false, static_cast<int>(kind)}); }

// Only noted: the device's writes fail from now on, and the watchdog takes the panel offline.
void SerialLink::linkLost() { m_wentAway = true; }

void SerialLink::queue(Notification notification) {
    std::lock_guard lock(m_queue->mutex);
    NotifyQueue& queue = *m_queue;
    if (notification.isByte && queue.entries.size() >= kNotifyQueueBound) {
        // The window thread is that far behind: lose the byte, and say so once for the whole stretch.
        if (!queue.dropping)
            queue.entries.push_back({false, static_cast<int>(LineEventKind::LineError)});
        queue.dropping = true;
    } else {
        queue.entries.push_back(notification);
        queue.dropping = queue.dropping && !notification.isByte;
    }
    if (!queue.deliveryPosted)
        PostDelivery(m_queue, m_port);
}

void SerialLink::PostDelivery(const std::shared_ptr<NotifyQueue>& queue, Control& port) {
    queue->deliveryPosted = true;
    std::weak_ptr<NotifyQueue> weakQueue = queue;
    Control* target = &port;
    CurrentHost().postToUi([weakQueue, target] { Deliver(weakQueue, *target); });
}

void SerialLink::Deliver(const std::weak_ptr<NotifyQueue>& weakQueue, Control& port) {
    std::vector<Notification> batch;
    int discards = 0;
    {
        const auto queue = weakQueue.lock();
        if (!queue)
            return;
        std::lock_guard lock(queue->mutex);
        const auto end =
            queue->entries.begin() + static_cast<std::ptrdiff_t>(std::min(queue->entries.size(), kDeliveryBatch));
        batch.assign(queue->entries.begin(), end);
        queue->entries.erase(queue->entries.begin(), end);
        discards = queue->discards;
    }
    for (std::size_t index = 0; index < batch.size(); ++index) {
        const Notification& entry = batch[index];
        // A handler may end the program; the port's link is gone with its window then.
        const auto queue = weakQueue.lock();
        if (!queue)
            return;
        if (queue->discards != discards)
            break;
        queue->batchLeft = batch.size() - index - 1;
        if (entry.isByte) {
            TraceReceived(static_cast<std::uint8_t>(entry.parameter & 0xFF));
            port.raise(event::DataArrived, {entry.parameter & 0xFF});
        } else
            port.raise(event::LineEvent, {entry.parameter});
    }
    const auto queue = weakQueue.lock();
    if (!queue)
        return;
    std::lock_guard lock(queue->mutex);
    // What is left waits behind the window's events that came meanwhile (input, paint, timers).
    if (queue->entries.empty())
        queue->deliveryPosted = false;
    else
        PostDelivery(queue, port);
}

SerialLink& LinkOf(Control& port) {
    if (auto* link = dynamic_cast<SerialLink*>(port.extension()))
        return *link;
    port.setExtension(std::make_unique<SerialLink>(port));
    return *static_cast<SerialLink*>(port.extension());
}

} // namespace ep
