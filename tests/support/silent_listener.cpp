#include "silent_listener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ep::testing {
namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

/// True when a connection attempt was taken into the queue at once.
bool Queued(int port, std::vector<int>& queued) {
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (client < 0)
        return false;
    queued.push_back(client);
    const sockaddr_in address = Loopback(port);
    if (::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    // A handshake on the loopback address completes at once unless the queue is full.
    pollfd connecting{client, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    return ::poll(&connecting, 1, 200) == 1 && ::getsockopt(client, SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
           error == 0;
}

} // namespace

bool SilentListener::start() {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 0) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return false;
    m_port = ntohs(address.sin_port);
    // Fill the queue until an attempt is no longer taken.
    for (int attempt = 0; attempt < 8; ++attempt)
        if (!Queued(m_port, m_queued))
            return true;
    return false;
}

SilentListener::~SilentListener() {
    for (const int client : m_queued)
        ::close(client);
    if (m_listener >= 0)
        ::close(m_listener);
}

std::string SilentListener::address() const { return "tcp:127.0.0.1:" + std::to_string(m_port); }

} // namespace ep::testing
