#pragma once
/// A TCP server on the loopback address whose connections are never made: its queue of waiting
/// connections is full and it accepts none, so that the system drops every further attempt and the one
/// who connects waits until it gives up, as with a server behind a network that drops the packets.
/// POSIX sockets.

#include <string>
#include <vector>

namespace ep::testing {

class SilentListener {
  public:
    /// False with nothing held when the port could not be made silent.
    bool start();
    ~SilentListener();

    /// tcp:127.0.0.1:PORT
    std::string address() const;

  private:
    int m_listener = -1;
    int m_port = 0;
    std::vector<int> m_queued; ///< the connections that fill the queue
};

} // namespace ep::testing
