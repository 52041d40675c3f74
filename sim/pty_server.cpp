#include "sim/pty_server.h"

#include "sim/tcp_listener.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace ep::sim {
namespace {

// The I/O thread wakes at least this often even with nothing to do, as a safety net for the stop flag.
constexpr int IdlePollMilliseconds = 200;

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

void CloseDescriptor(int& descriptor) {
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
}

int MillisecondsUntil(Clock::time_point due, Clock::time_point now) {
    if (due <= now)
        return 0;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
    return static_cast<int>(std::min<long long>(wait, IdlePollMilliseconds));
}

} // namespace

PtyServer::~PtyServer() {
    stop();
    CloseDescriptor(m_wakeRead);
    CloseDescriptor(m_wakeWrite);
}

bool PtyServer::start(const ServerOptions& options) {
    if (m_thread.joinable() || m_masterFd >= 0 || m_listenFd >= 0) {
        fail("already started");
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_device = SimulatedDevice(options.device);
        for (const auto& [field, value] : options.changedValues) {
            if (!m_device.model().setValue(field, value)) {
                m_error = "field " + std::to_string(field) + " is outside 1..255";
                return false;
            }
        }
        m_pendingAnswers.clear();
        m_error.clear();
    }
    m_frameObserver = options.frameObserver;
    m_byteDuration = ByteDuration(options.baud);
    if (!(options.tcpPort >= 0 ? openListener(options.tcpPort) : openTerminal())) {
        closeTerminal();
        return false;
    }
    if (!options.linkPath.empty() && !makeLink(options.linkPath)) {
        closeTerminal();
        return false;
    }
    m_stopRequested = false;
    m_serving = true;
    m_thread = std::thread([this] { run(); });
    return true;
}

bool PtyServer::openTerminal() {
    m_masterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_masterFd < 0) {
        fail(SystemError("posix_openpt"));
        return false;
    }
    if (::grantpt(m_masterFd) != 0 || ::unlockpt(m_masterFd) != 0) {
        fail(SystemError("grantpt/unlockpt"));
        return false;
    }
    std::array<char, 128> name{};
    if (::ptsname_r(m_masterFd, name.data(), name.size()) != 0) {
        fail(SystemError("ptsname"));
        return false;
    }
    // Raw before anyone else opens it: no echo, no line editing, no translation of 0x0D or 0x7F.
    m_slaveFd = ::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveFd < 0) {
        fail(SystemError(std::string("open ") + name.data()));
        return false;
    }
    termios settings{};
    if (::tcgetattr(m_slaveFd, &settings) != 0) {
        fail(SystemError("tcgetattr"));
        return false;
    }
    ::cfmakeraw(&settings);
    if (::tcsetattr(m_slaveFd, TCSANOW, &settings) != 0) {
        fail(SystemError("tcsetattr"));
        return false;
    }
    const int flags = ::fcntl(m_masterFd, F_GETFL);
    if (flags < 0 || ::fcntl(m_masterFd, F_SETFL, flags | O_NONBLOCK) != 0 ||
        ::fcntl(m_masterFd, F_SETFD, FD_CLOEXEC) != 0) {
        fail(SystemError("fcntl"));
        return false;
    }
    if (!openWakePipe())
        return false;
    std::lock_guard lock(m_mutex);
    m_path = name.data();
    return true;
}

bool PtyServer::openWakePipe() {
    // The wake pipe lives as long as the server, so other threads never write to a closed descriptor.
    if (m_wakeRead >= 0)
        return true;
    std::array<int, 2> pipe{};
    if (::pipe2(pipe.data(), O_NONBLOCK | O_CLOEXEC) != 0) {
        fail(SystemError("pipe2"));
        return false;
    }
    m_wakeRead = pipe[0];
    m_wakeWrite = pipe[1];
    return true;
}

bool PtyServer::openListener(int port) {
    std::string error;
    m_listenFd = OpenListener(port, error);
    if (m_listenFd < 0) {
        fail(error);
        return false;
    }
    if (!openWakePipe())
        return false;
    std::lock_guard lock(m_mutex);
    m_path = "tcp:127.0.0.1:" + std::to_string(port);
    return true;
}

bool PtyServer::makeLink(const std::string& linkPath) {
    struct stat existing {};
    if (::lstat(linkPath.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            fail(linkPath + " exists and is not a symbolic link");
            return false;
        }
        if (::unlink(linkPath.c_str()) != 0) {
            fail(SystemError("unlink " + linkPath));
            return false;
        }
    }
    if (::symlink(path().c_str(), linkPath.c_str()) != 0) {
        fail(SystemError("symlink " + linkPath));
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_linkPath = linkPath;
    return true;
}

void PtyServer::stop() {
    endThread();
    closeTerminal();
    removeLink();
}

void PtyServer::hangUp() {
    endThread();
    closeTerminal();
    // The pty's number is free for the next pty opened on this machine, perhaps another program's: a link
    // left behind would lead the panel to that one.
    removeLink();
}

void PtyServer::removeLink() {
    std::lock_guard lock(m_mutex);
    if (!m_linkPath.empty()) {
        // Only remove the link if it is still ours: another run may have replaced it meanwhile.
        std::array<char, 256> target{};
        const ssize_t length = ::readlink(m_linkPath.c_str(), target.data(), target.size() - 1);
        if (length > 0 && std::string(target.data(), static_cast<std::size_t>(length)) == m_path)
            ::unlink(m_linkPath.c_str());
        m_linkPath.clear();
    }
}

void PtyServer::endThread() {
    m_stopRequested = true;
    wake();
    if (m_thread.joinable())
        m_thread.join();
    m_serving = false;
}

void PtyServer::closeTerminal() {
    CloseDescriptor(m_masterFd);
    CloseDescriptor(m_slaveFd);
    CloseDescriptor(m_connectionFd);
    CloseDescriptor(m_listenFd);
}

void PtyServer::wake() {
    if (m_wakeWrite < 0)
        return;
    const std::uint8_t signal = 1;
    // A full pipe already guarantees a wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(m_wakeWrite, &signal, 1);
}

void PtyServer::fail(const std::string& what) {
    std::lock_guard lock(m_mutex);
    m_error = what;
}

void PtyServer::run() {
    AnswerQueue queue(m_byteDuration);
    bool outputBlocked = false;
    std::array<std::uint8_t, 512> buffer{};
    while (!m_stopRequested) {
        bool flooding = false;
        bool deaf = false;
        {
            std::lock_guard lock(m_mutex);
            flooding = m_device.faults().flood;
            deaf = m_device.faults().deaf;
        }
        const int line = lineDescriptor();
        int timeout = IdlePollMilliseconds;
        if (const std::optional<Clock::time_point> due = queue.nextDue(); due && !outputBlocked)
            timeout = MillisecondsUntil(*due, Clock::now());
        if (flooding && !outputBlocked && line >= 0)
            timeout = 0;
        // A negative descriptor is passed over by poll: no connection yet, or no listener on a pty.
        std::array<pollfd, 3> watched{{
            {line, static_cast<short>((deaf ? 0 : POLLIN) | (outputBlocked ? POLLOUT : 0)), 0},
            {m_wakeRead, POLLIN, 0},
            {line < 0 ? m_listenFd : -1, POLLIN, 0},
        }};
        if (::poll(watched.data(), watched.size(), timeout) < 0) {
            if (errno == EINTR)
                continue;
            fail(SystemError("poll"));
            break;
        }
        if (watched[1].revents & POLLIN)
            while (::read(m_wakeRead, buffer.data(), buffer.size()) > 0) {
            }
        if (m_stopRequested)
            break;
        if (watched[2].revents & POLLIN) {
            m_connectionFd = AcceptConnection(m_listenFd);
            queue = AnswerQueue(m_byteDuration);
            outputBlocked = false;
        }
        const short events = watched[0].revents;
        if (events & POLLOUT)
            outputBlocked = false;
        if (events & POLLIN) {
            const ssize_t count = ::read(line, buffer.data(), buffer.size());
            if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) {
                if (!lineEnded())
                    break;
                continue;
            }
            if (count > 0) {
                Reception reception;
                int late = 0;
                {
                    std::lock_guard lock(m_mutex);
                    reception = m_device.receive({buffer.data(), static_cast<std::size_t>(count)});
                    late = m_device.faults().lateMilliseconds;
                }
                if (m_frameObserver)
                    for (const ParsedFrame& frame : reception.frames)
                        m_frameObserver(frame);
                const Clock::time_point earliest = Clock::now() + std::chrono::milliseconds(late);
                for (const Bytes& answer : reception.answers)
                    queue.add(answer, earliest);
            }
        } else if (events & (POLLHUP | POLLERR | POLLNVAL)) {
            if (!lineEnded())
                break;
            continue;
        }
        {
            std::lock_guard lock(m_mutex);
            const int late = m_device.faults().lateMilliseconds;
            for (const Bytes& answer : m_pendingAnswers)
                queue.add(answer, Clock::now() + std::chrono::milliseconds(late));
            m_pendingAnswers.clear();
        }
        if (!outputBlocked && !writeDue(queue, outputBlocked))
            break;
        if (flooding && !outputBlocked && !writeFlood(outputBlocked))
            break;
    }
    m_serving = false;
}

int PtyServer::lineDescriptor() const { return m_listenFd >= 0 ? m_connectionFd : m_masterFd; }

bool PtyServer::lineEnded() {
    // Our own slave descriptor keeps a pty up, so on a pty this means the pty itself is gone; a
    // connection that ends is a panel that closed the port, and the next one is awaited.
    if (m_listenFd < 0) {
        fail("the pseudo-terminal went away");
        return false;
    }
    CloseDescriptor(m_connectionFd);
    return true;
}

std::optional<std::size_t> PtyServer::writeLine(const std::uint8_t* bytes, std::size_t count, bool& outputBlocked) {
    const int line = lineDescriptor();
    // With no connection the bytes go nowhere, as on a line that nobody listens to.
    if (line < 0)
        return count;
    const ssize_t written = m_listenFd >= 0 ? SendToConnection(line, bytes, count) : ::write(line, bytes, count);
    if (written < 0) {
        if (errno == EAGAIN || errno == EINTR) {
            outputBlocked = errno == EAGAIN;
            return 0;
        }
        if (m_listenFd >= 0 && lineEnded())
            return count;
        fail(SystemError("write"));
        return std::nullopt;
    }
    m_bytesWritten += static_cast<std::uint64_t>(written);
    outputBlocked = static_cast<std::size_t>(written) < count;
    return static_cast<std::size_t>(written);
}

bool PtyServer::writeDue(AnswerQueue& queue, bool& outputBlocked) {
    const std::vector<std::uint8_t> due = queue.due(Clock::now());
    if (due.empty())
        return true;
    const std::optional<std::size_t> written = writeLine(due.data(), due.size(), outputBlocked);
    if (written)
        queue.consume(*written);
    return written.has_value();
}

bool PtyServer::writeFlood(bool& outputBlocked) {
    constexpr std::size_t FloodBlock = 4096;
    Bytes block;
    {
        std::lock_guard lock(m_mutex);
        block = m_device.floodBytes(FloodBlock);
    }
    return writeLine(block.data(), block.size(), outputBlocked).has_value();
}

std::string PtyServer::path() const {
    std::lock_guard lock(m_mutex);
    return m_path;
}

std::string PtyServer::error() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

ValueSet PtyServer::values() const {
    std::lock_guard lock(m_mutex);
    return m_device.model().values();
}

ValueSet PtyServer::storedValues() const {
    std::lock_guard lock(m_mutex);
    return m_device.model().storedValues();
}

bool PtyServer::setValue(int field, std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    return m_device.model().setValue(field, value);
}

void PtyServer::requestKeyReset() {
    {
        std::lock_guard lock(m_mutex);
        Bytes request = m_device.keyResetRequest();
        if (!request.empty())
            m_pendingAnswers.push_back(std::move(request));
    }
    wake();
}

void PtyServer::sendDump() {
    {
        std::lock_guard lock(m_mutex);
        m_pendingAnswers.push_back(m_device.wholeDump());
    }
    wake();
}

void PtyServer::setFaults(const FaultOptions& faults) {
    {
        std::lock_guard lock(m_mutex);
        m_device.setFaults(faults);
    }
    wake();
}

std::vector<ParsedFrame> PtyServer::frameLog() const {
    std::lock_guard lock(m_mutex);
    return m_device.frameLog();
}

DeviceCounters PtyServer::counters() const {
    std::lock_guard lock(m_mutex);
    return m_device.counters();
}

} // namespace ep::sim
