#include "qt/network_devices.h"

#include "qt/serial_device.h"

#include <QTimer>

namespace ep::qt {
namespace {

/// What an open waits for a new connection: a server on the local network answers well within it.
constexpr int kQuickLookMs = 50;

/// After a look that found the connection still being made, the next looks within this time are left out:
/// servers that never answer, on every port, would together hold the window.
constexpr int kNoLookAfterFruitlessMs = 1000;

/// How long a closed connection is kept for the next open.
constexpr int kKeptMs = 2000;

} // namespace

/// A connection handed to the panel; its close keeps it when it is still sound.
class NetworkDevices::Device : public ThreadedDevice {
  public:
    Device(std::unique_ptr<DeviceThread> thread, TcpWorker* worker, std::weak_ptr<NetworkDevices*> devices,
           Text devicePath)
        : ThreadedDevice(std::move(thread)), m_worker(worker), m_devices(std::move(devices)),
          m_devicePath(std::move(devicePath)) {}
    ~Device() override { close(); }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    void close() override {
        TcpWorker* worker = std::exchange(m_worker, nullptr);
        if (worker == nullptr)
            return;
        worker->attach(nullptr);
        std::unique_ptr<DeviceThread> thread = takeThread();
        const auto devices = m_devices.lock();
        if (devices && worker->status().state == TcpWorker::State::Connected)
            (*devices)->keep(m_devicePath, {std::move(thread), worker});
    }

  private:
    TcpWorker* m_worker;
    std::weak_ptr<NetworkDevices*> m_devices;
    Text m_devicePath;
};

NetworkDevices::NetworkDevices() : m_self(std::make_shared<NetworkDevices*>(this)) { m_clock.start(); }

NetworkDevices::~NetworkDevices() {
    m_self.reset();
    m_waiting.clear();
}

NetworkDevices::Connection NetworkDevices::start(const Text& devicePath) {
    auto* worker = new TcpWorker;
    Connection connection{std::make_unique<DeviceThread>(worker), worker};
    connection.thread->post([devicePath](DeviceWorker& started) { started.open(devicePath); });
    return connection;
}

SerialOpenResult NetworkDevices::open(const Text& devicePath, SerialReceiver& receiver) {
    auto found = m_waiting.find(devicePath);
    if (found != m_waiting.end() && found->second.keptAs != 0 &&
        found->second.worker->status().state == TcpWorker::State::Failed) {
        // A kept connection that the server has closed since: a new one.
        m_waiting.erase(found);
        found = m_waiting.end();
    }
    if (found == m_waiting.end()) {
        found = m_waiting.emplace(devicePath, start(devicePath)).first;
        // A server that let the last connection run out of time gets no wait: it would hold the window on
        // every attempt.
        const bool lookedInVain = m_fruitlessLookMs && m_clock.elapsed() - *m_fruitlessLookMs < kNoLookAfterFruitlessMs;
        if (!m_slow.contains(devicePath) && !lookedInVain && !found->second.worker->waitWhileConnecting(kQuickLookMs))
            m_fruitlessLookMs = m_clock.elapsed();
    }
    const TcpWorker::Status status = found->second.worker->status();
    switch (status.state) {
    case TcpWorker::State::Connecting:
        return {nullptr, SerialOpenError::Pending, "connecting to " + devicePath};
    case TcpWorker::State::Connected: {
        Connection connection = std::move(found->second);
        m_waiting.erase(found);
        m_slow.erase(devicePath);
        connection.worker->attach(&receiver);
        return {std::make_unique<Device>(std::move(connection.thread), connection.worker, m_self, devicePath),
                SerialOpenError::None,
                {}};
    }
    case TcpWorker::State::Failed:
        break;
    }
    m_waiting.erase(found);
    if (status.timedOut)
        m_slow.insert(devicePath);
    else
        m_slow.erase(devicePath);
    return {nullptr, status.error, status.reason};
}

void NetworkDevices::keep(const Text& devicePath, Connection connection) {
    if (m_waiting.contains(devicePath))
        return;
    connection.keptAs = ++m_keepings;
    const int keptAs = connection.keptAs;
    m_waiting.emplace(devicePath, std::move(connection));
    QTimer::singleShot(kKeptMs, this, [this, devicePath, keptAs] {
        const auto found = m_waiting.find(devicePath);
        if (found != m_waiting.end() && found->second.keptAs == keptAs)
            m_waiting.erase(found);
    });
}

} // namespace ep::qt
