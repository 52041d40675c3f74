#include "qt/serial_device.h"

#include "qt/serial_platform.h"
#include "qt/serial_worker.h"

namespace ep::qt {
namespace {

/// What a write waits beyond its own time-out for the device's thread to take it up.
constexpr int kHandOverMs = 500;

} // namespace

bool ThreadedDevice::write(const Bytes& bytes, int timeoutMs) {
    if (!m_thread)
        return false;
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    return m_thread
        ->call<bool>([data, timeoutMs](DeviceWorker& worker) { return worker.write(data, timeoutMs); },
                     timeoutMs + kHandOverMs)
        .value_or(false);
}

void ThreadedDevice::close() { m_thread.reset(); }

SerialOpenResult OpenSerialDevice(const Text& devicePath, const SerialLineSettings& settings,
                                  SerialReceiver& receiver) {
    // The scan tries every absent port each second while offline: no reader thread for those.
    if (DeviceNodeMissing(devicePath))
        return {nullptr, SerialOpenError::Missing, "No such file or directory"};
    auto thread = std::make_unique<DeviceThread>(new SerialWorker(receiver, settings));
    std::optional<SerialOpenResult> opened = thread->call<SerialOpenResult>(
        [devicePath](DeviceWorker& worker) { return worker.open(devicePath); }, kDeviceOpenMs);
    if (!opened)
        return {nullptr, SerialOpenError::Other, "the device did not open within its time"};
    if (opened->error == SerialOpenError::None)
        opened->device = std::make_unique<ThreadedDevice>(std::move(thread));
    return std::move(*opened);
}

} // namespace ep::qt
