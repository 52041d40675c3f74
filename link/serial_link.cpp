#include "link/serial_link.h"

#include "link/com_ports.h"
#include "link/serial_port_kind.h"
#include "runtime/conversions.h"
#include "ui/property.h"
#include "ui/window.h"

#include <cstdio>

namespace ep {

SerialLink::SerialLink(Control& port) : m_port(port) {}

SerialLink::~SerialLink() { Close(); }

int SerialLink::Open() {
    Close();
    const std::int32_t number = m_port.readInt(serialprop::PortNumber);
    if (number < 1)
        return 0;
    const Text devicePath = ComDevicePath(number);
    if (devicePath.empty())
        return 0;
    SerialOpenResult result = CurrentHost().openSerial(devicePath, LineSettingsOf(m_port), *this);
    if (!result.device) {
        reportOpenFailureOnce(devicePath, result);
        return 0;
    }
    m_device = std::move(result.device);
    return 1;
}

void SerialLink::reportOpenFailureOnce(const Text& devicePath, const SerialOpenResult& result) {
    // Only the failures a user can fix are worth a word, and only once: the scan retries every second.
    if (result.error != SerialOpenError::PermissionDenied && result.error != SerialOpenError::Busy)
        return;
    if (!m_reportedFailures.insert(devicePath).second)
        return;
    if (result.error == SerialOpenError::PermissionDenied)
        std::fprintf(stderr,
                     "effectpanel: cannot open %s: %s. Add yourself to the dialout group "
                     "(sudo adduser $USER dialout) and log in again.\n",
                     devicePath.c_str(), result.reason.c_str());
    else
        std::fprintf(stderr, "effectpanel: cannot open %s: %s (the port is in use by another program).\n",
                     devicePath.c_str(), result.reason.c_str());
}

void SerialLink::Close() {
    if (m_device) {
        m_device->close();
        m_device.reset();
    }
    std::lock_guard lock(m_queue->mutex);
    m_queue->entries.clear();
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
    return m_device->write(*bytes, static_cast<int>(std::min<long long>(total, INT32_MAX))) ? 1 : 0;
}

void SerialLink::byteReceived(std::uint8_t byte) { queue({true, byte}); }

void SerialLink::lineEvent(LineEventKind kind) { queue({false, static_cast<int>(kind)}); }

// Nothing to do here: the device's writes fail from now on, and the watchdog takes the panel offline.
void SerialLink::linkLost() {}

void SerialLink::queue(Notification notification) {
    std::lock_guard lock(m_queue->mutex);
    m_queue->entries.push_back(notification);
    std::weak_ptr<NotifyQueue> weakQueue = m_queue;
    Control* port = &m_port;
    CurrentHost().postToUi([weakQueue, port] { Deliver(weakQueue, *port); });
}

void SerialLink::Deliver(const std::weak_ptr<NotifyQueue>& weakQueue, Control& port) {
    std::vector<Notification> entries;
    {
        const auto queue = weakQueue.lock();
        if (!queue)
            return;
        std::lock_guard lock(queue->mutex);
        entries.swap(queue->entries);
    }
    for (const Notification& entry : entries) {
        // A handler may end the program; the port's link is gone with its window then.
        if (weakQueue.expired())
            return;
        if (entry.isByte)
            port.raise(event::DataArrived, {entry.parameter & 0xFF});
        else
            port.raise(event::LineEvent, {entry.parameter});
    }
}

SerialLink& LinkOf(Control& port) {
    if (auto* link = dynamic_cast<SerialLink*>(port.extension()))
        return *link;
    port.setExtension(std::make_unique<SerialLink>(port));
    return *static_cast<SerialLink*>(port.extension());
}

} // namespace ep
