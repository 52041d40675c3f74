// Platform file: POSIX descriptors, and the C runtime's on Windows for IsTerminal.
#include "qt/output_streams.h"

#if defined(_WIN32)

#include <cstdio>
#include <io.h>

namespace ep::qt {

bool IsTerminal(OutputStream stream) {
    return _isatty(_fileno(stream == OutputStream::Standard ? stdout : stderr)) != 0;
}

} // namespace ep::qt

#else

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <unistd.h>

namespace ep::qt {

std::size_t WriteWithoutWaiting(OutputStream stream, std::string_view text) {
    const int descriptor = stream == OutputStream::Standard ? STDOUT_FILENO : STDERR_FILENO;
    std::size_t written = 0;
    while (written < text.size()) {
        pollfd ready{descriptor, POLLOUT, 0};
        // A reader that went away is written to all the same, so that the write fails as it would have.
        if (::poll(&ready, 1, 0) != 1 || (ready.revents & (POLLOUT | POLLERR | POLLHUP)) == 0)
            break;
        // A pipe that polls writable has room for PIPE_BUF bytes; a longer write could wait for the rest.
        const std::size_t chunk = std::min<std::size_t>(text.size() - written, PIPE_BUF);
        const ssize_t count = ::write(descriptor, text.data() + written, chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        written += static_cast<std::size_t>(count);
    }
    return written;
}

bool IsTerminal(OutputStream stream) {
    return ::isatty(stream == OutputStream::Standard ? STDOUT_FILENO : STDERR_FILENO) != 0;
}

} // namespace ep::qt

#endif
