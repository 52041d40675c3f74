#pragma once
/// Serial devices for the test host: each path can be present or not; what the panel writes is recorded,
/// and the test injects what the device sends (delivered as the reader thread would: queued, then posted).

#include "test_host.h"

#include <map>
#include <memory>

namespace ep::testing {

class FakeSerialBus {
  public:
    struct Port {
        bool present = true;
        bool open = false;
        Bytes written;
        SerialReceiver* receiver = nullptr;
        SerialLineSettings settings;
        int opens = 0;
        /// The device stopped reading: every write waits its time-out, then fails.
        bool stalled = false;
        /// Called for every write with its bytes, e.g. to let a simulated device answer.
        std::function<void(const Bytes&)> onWrite;
    };

    explicit FakeSerialBus(TestHost& host);

    Port& add(const Text& path);
    Port& port(const Text& path) { return *m_ports.at(path); }
    /// The device sends these bytes now.
    void inject(const Text& path, const Bytes& bytes);
    /// The device went away while open.
    void hangUp(const Text& path);

  private:
    TestHost& m_host;
    std::map<Text, std::shared_ptr<Port>> m_ports;
};

} // namespace ep::testing
