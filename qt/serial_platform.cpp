#include "qt/serial_platform.h"

#include <cerrno>

// Platform-specific: TIOCOUTQ and poll on Linux and other Unix systems; Windows completes a write only
// when the bytes are sent and reports a removed device through the port's own errors.
#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace ep::qt {

std::optional<int> PendingOutputBytes(QSerialPort& port) {
#if defined(Q_OS_UNIX) && defined(TIOCOUTQ)
    int pending = 0;
    if (ioctl(port.handle(), TIOCOUTQ, &pending) != 0)
        return std::nullopt;
    return pending;
#else
    (void)port;
    return std::nullopt;
#endif
}

bool DeviceStillThere(QSerialPort& port) {
#if defined(Q_OS_UNIX)
    pollfd poller{port.handle(), POLLIN, 0};
    if (poll(&poller, 1, 0) < 0)
        return false;
    return (poller.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
#else
    (void)port;
    return true;
#endif
}

void ForgetLastSystemError() { errno = 0; }

bool DeviceNodeMissing(const std::string& path) {
#if defined(Q_OS_UNIX)
    struct stat status {};
    return ::stat(path.c_str(), &status) != 0 && errno == ENOENT;
#else
    (void)path;
    return false;
#endif
}

} // namespace ep::qt
