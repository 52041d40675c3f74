#include "sim/pty_server.h"

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
    if (m_thread.joinable() || m_masterFd >= 0) {
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
    if (!openTerminal()) {
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
    // The wake pipe lives as long as the server, so other threads never write to a closed descriptor.
    if (m_wakeRead < 0) {
        std::array<int, 2> pipe{};
        if (::pipe2(pipe.data(), O_NONBLOCK | O_CLOEXEC) != 0) {
            fail(SystemError("pipe2"));
            return false;
        }
        m_wakeRead = pipe[0];
        m_wakeWrite = pipe[1];
    }
    std::lock_guard lock(m_mutex);
    m_path = name.data();
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
        int timeout = IdlePollMilliseconds;
        if (const std::optional<Clock::time_point> due = queue.nextDue(); due && !outputBlocked)
            timeout = MillisecondsUntil(*due, Clock::now());
        if (flooding && !outputBlocked)
            timeout = 0;
        std::array<pollfd, 2> watched{{
            {m_masterFd, static_cast<short>((deaf ? 0 : POLLIN) | (outputBlocked ? POLLOUT : 0)), 0},
            {m_wakeRead, POLLIN, 0},
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
        const short events = watched[0].revents;
        if (events & POLLOUT)
            outputBlocked = false;
        if (events & POLLIN) {
            const ssize_t count = ::read(m_masterFd, buffer.data(), buffer.size());
            if (count < 0 && errno != EAGAIN && errno != EINTR) {
                fail(SystemError("read"));
                break;
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
            // Our own slave descriptor keeps the pty up, so this means the pty itself is gone.
            fail("the pseudo-terminal went away");
            break;
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

bool PtyServer::writeDue(AnswerQueue& queue, bool& outputBlocked) {
    const std::vector<std::uint8_t> due = queue.due(Clock::now());
    if (due.empty())
        return true;
    const ssize_t written = ::write(m_masterFd, due.data(), due.size());
    if (written < 0) {
        if (errno == EAGAIN || errno == EINTR) {
            outputBlocked = errno == EAGAIN;
            return true;
        }
        fail(SystemError("write"));
        return false;
    }
    queue.consume(static_cast<std::size_t>(written));
    m_bytesWritten += static_cast<std::uint64_t>(written);
    outputBlocked = static_cast<std::size_t>(written) < due.size();
    return true;
}

bool PtyServer::writeFlood(bool& outputBlocked) {
    constexpr std::size_t FloodBlock = 4096;
    Bytes block;
    {
        std::lock_guard lock(m_mutex);
        block = m_device.floodBytes(FloodBlock);
    }
    const ssize_t written = ::write(m_masterFd, block.data(), block.size());
    if (written < 0) {
        if (errno == EAGAIN || errno == EINTR) {
            outputBlocked = errno == EAGAIN;
            return true;
        }
        fail(SystemError("write"));
        return false;
    }
    m_bytesWritten += static_cast<std::uint64_t>(written);
    outputBlocked = static_cast<std::size_t>(written) < block.size();
    return true;
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
