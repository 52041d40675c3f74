#include "sim/tcp_listener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ep::sim {

int OpenListener(int& port, std::string& error) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    // A simulator started again at once takes its port again.
    const int reuse = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 4) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error = "TCP port " + std::to_string(port) + ": " + std::strerror(errno);
        ::close(listener);
        return -1;
    }
    port = ntohs(address.sin_port);
    return listener;
}

int AcceptConnection(int listener) {
    const int connection = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0)
        return -1;
    const int noDelay = 1;
    ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    return connection;
}

long SendToConnection(int connection, const void* bytes, unsigned long count) {
    return ::send(connection, bytes, count, MSG_NOSIGNAL);
}

} // namespace ep::sim
