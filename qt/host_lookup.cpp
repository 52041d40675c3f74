// Platform file: the system's resolver, getaddrinfo, as POSIX and Windows both offer it. On Windows the
// network module has started the socket library before any lookup, as a socket exists by then.
#include "qt/host_lookup.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include <algorithm>
#include <mutex>
#include <thread>

namespace ep::qt {

struct HostLookup::State {
    mutable std::mutex mutex; ///< guards result
    std::optional<Result> result;
};

namespace {

HostLookup::Result Resolve(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int error = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (error != 0)
        return {{}, "the name " + host + " is not known (" + gai_strerror(error) + ")"};
    HostLookup::Result result;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        const QHostAddress address(entry->ai_addr);
        if (!address.isNull() &&
            std::find(result.addresses.begin(), result.addresses.end(), address) == result.addresses.end())
            result.addresses.push_back(address);
    }
    freeaddrinfo(found);
    if (result.addresses.empty())
        result.failure = "the name " + host + " has no address";
    return result;
}

} // namespace

HostLookup::HostLookup(const QString& host) : m_state(std::make_shared<State>()) {
    if (QHostAddress address; address.setAddress(host)) {
        m_state->result = Result{{address}, {}};
        return;
    }
    std::thread([state = m_state, name = host.toStdString()] {
        Result result = Resolve(name);
        std::lock_guard lock(state->mutex);
        state->result = std::move(result);
    }).detach();
}

std::optional<HostLookup::Result> HostLookup::result() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->result;
}

} // namespace ep::qt
