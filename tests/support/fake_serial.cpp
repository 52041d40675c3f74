#include "fake_serial.h"

namespace ep::testing {
namespace {

class FakeDevice : public SerialDevice {
  public:
    FakeDevice(std::shared_ptr<FakeSerialBus::Port> port, TestHost& host) : m_port(std::move(port)), m_host(host) {}
    ~FakeDevice() override { close(); }

    bool write(const Bytes& bytes, int timeoutMs) override {
        if (!m_port->open || !m_port->present)
            return false;
        if (m_port->stalled) {
            m_host.sleep(timeoutMs);
            return false;
        }
        m_port->written.insert(m_port->written.end(), bytes.begin(), bytes.end());
        if (m_port->onWrite)
            m_port->onWrite(bytes);
        return true;
    }

    void close() override {
        m_port->open = false;
        m_port->receiver = nullptr;
    }

  private:
    std::shared_ptr<FakeSerialBus::Port> m_port;
    TestHost& m_host;
};

} // namespace

FakeSerialBus::FakeSerialBus(TestHost& host) : m_host(host) {
    host.serialOpener = [this](const Text& path, const SerialLineSettings& settings,
                               SerialReceiver& receiver) -> SerialOpenResult {
        const auto found = m_ports.find(path);
        if (found == m_ports.end() || !found->second->present)
            return {nullptr, SerialOpenError::Missing, "No such file or directory"};
        Port& port = *found->second;
        if (port.open)
            return {nullptr, SerialOpenError::Busy, "Device or resource busy"};
        port.open = true;
        port.receiver = &receiver;
        port.settings = settings;
        ++port.opens;
        return {std::make_unique<FakeDevice>(found->second, m_host), SerialOpenError::None, {}};
    };
}

FakeSerialBus::Port& FakeSerialBus::add(const Text& path) {
    auto& port = m_ports[path];
    port = std::make_shared<Port>();
    return *port;
}

void FakeSerialBus::inject(const Text& path, const Bytes& bytes) {
    Port& port = *m_ports.at(path);
    for (const std::uint8_t byte : bytes)
        if (port.receiver != nullptr)
            port.receiver->byteReceived(byte);
}

void FakeSerialBus::hangUp(const Text& path) {
    Port& port = *m_ports.at(path);
    port.present = false;
    if (port.receiver != nullptr)
        port.receiver->linkLost();
}

} // namespace ep::testing
