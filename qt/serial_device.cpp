#include "qt/serial_device.h"

#include "qt/serial_platform.h"
#include "qt/serial_worker.h"
#include "qt/tcp_worker.h"

#include <QThread>

namespace ep::qt {
namespace {

class QtSerialDevice : public SerialDevice {
  public:
    explicit QtSerialDevice(DeviceWorker* worker) : m_worker(worker) {
        m_worker->moveToThread(&m_thread);
        m_thread.start();
    }

    ~QtSerialDevice() override { close(); }

    SerialOpenResult open(const Text& devicePath) {
        SerialOpenResult result;
        QMetaObject::invokeMethod(
            m_worker, [&] { result = m_worker->open(devicePath); }, Qt::BlockingQueuedConnection);
        return result;
    }

    bool write(const Bytes& bytes, int timeoutMs) override {
        if (m_worker == nullptr)
            return false;
        const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        bool written = false;
        QMetaObject::invokeMethod(
            m_worker, [&] { written = m_worker->write(data, timeoutMs); }, Qt::BlockingQueuedConnection);
        return written;
    }

    void close() override {
        if (m_worker == nullptr)
            return;
        QMetaObject::invokeMethod(
            m_worker, [this] { m_worker->close(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
        delete m_worker;
        m_worker = nullptr;
    }

  private:
    QThread m_thread;
    DeviceWorker* m_worker;
};

} // namespace

SerialOpenResult OpenSerialDevice(const Text& devicePath, const SerialLineSettings& settings,
                                  SerialReceiver& receiver) {
    const bool network = IsNetworkDevice(devicePath);
    // The scan tries every absent port each second while offline: no reader thread for those.
    if (!network && DeviceNodeMissing(devicePath))
        return {nullptr, SerialOpenError::Missing, "No such file or directory"};
    auto device = std::make_unique<QtSerialDevice>(network ? static_cast<DeviceWorker*>(new TcpWorker(receiver))
                                                           : new SerialWorker(receiver, settings));
    SerialOpenResult result = device->open(devicePath);
    if (result.error == SerialOpenError::None)
        result.device = std::move(device);
    return result;
}

} // namespace ep::qt
