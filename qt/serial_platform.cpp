#include "qt/serial_platform.h"

#include <cerrno>

// Platform-specific: TIOCOUTQ and poll on Linux and other Unix systems; Windows completes a write only
// when the bytes are sent and reports a removed device through the port's own errors.
#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
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

SerialOpenError RefusedOpenError(const std::string& path) {
#if defined(Q_OS_UNIX)
    // Without blocking on the carrier; an exclusive device refuses before its driver is reached.
    const int descriptor = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor >= 0) {
        // The system lets us in, so what Qt found was another program's lock file.
        ::close(descriptor);
        return SerialOpenError::Busy;
    }
    switch (errno) {
    case EBUSY:
        return SerialOpenError::Busy;
    case EACCES:
    case EPERM:
        return SerialOpenError::PermissionDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return SerialOpenError::Missing;
    default:
        return SerialOpenError::Other;
    }
#else
    // Windows refuses a port that another program has open as access denied.
    (void)path;
    return SerialOpenError::Busy;
#endif
}

} // namespace ep::qt
