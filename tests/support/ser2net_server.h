#pragma once
/// Debian's ser2net, run by a test in front of a serial device: raw TCP on the loopback address, at a
/// port of its own, until it is stopped.

#include <string>
#include <sys/types.h>

namespace ep::testing {

class Ser2Net {
  public:
    Ser2Net() = default;
    ~Ser2Net() { stop(); }
    Ser2Net(const Ser2Net&) = delete;
    Ser2Net& operator=(const Ser2Net&) = delete;

    /// Serves the device at the port and waits until the port takes connections; false when ser2net is
    /// missing or did not come up.
    bool start(const std::string& device, int port);
    /// Ends it, and with it every connection.
    void stop();

    /// The device path for the panel: "tcp:127.0.0.1:PORT".
    std::string address() const { return "tcp:127.0.0.1:" + std::to_string(m_port); }

  private:
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_folder;
};

} // namespace ep::testing
