#include "qt/pseudo_terminal.h"

#if !defined(_WIN32)
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>
#endif

namespace ep::qt {

#if defined(_WIN32)

PseudoTerminalResult OpenPseudoTerminal(const Text&, SerialReceiver&) {
    return {nullptr, "Windows has no pseudo-terminals"};
}

#else

namespace {

Text SystemError(const Text& what) { return what + ": " + std::strerror(errno); }

/// What the symbolic link names; empty when it is none, or names something longer than a terminal's path.
Text LinkTarget(const Text& linkPath) {
    std::array<char, 128> target{};
    const ssize_t length = ::readlink(linkPath.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
        return {};
    return Text(target.data(), static_cast<std::size_t>(length));
}

class PosixPseudoTerminal : public PseudoTerminal {
  public:
    explicit PosixPseudoTerminal(SerialReceiver& receiver) : m_receiver(receiver) {}
    ~PosixPseudoTerminal() override { close(); }

    /// Opens the terminal, makes the link and starts the reader thread; the reason when that failed.
    Text open(const Text& linkPath) {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0)
            return SystemError("posix_openpt");
        std::array<char, 128> name{};
        if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name.data(), name.size()))
            return SystemError("grantpt/unlockpt/ptsname");
        m_terminalPath = name.data();
        m_slave = ::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_slave < 0)
            return SystemError("open " + m_terminalPath);
        // Raw from the start: no echo and no line editing, also while nobody has the terminal open.
        termios settings{};
        if (::tcgetattr(m_slave, &settings) != 0)
            return SystemError("tcgetattr");
        ::cfmakeraw(&settings);
        if (::tcsetattr(m_slave, TCSANOW, &settings) != 0)
            return SystemError("tcsetattr");
        // A write to a terminal that nobody reads must not hold the device's reader thread.
        const int flags = ::fcntl(m_master, F_GETFL);
        if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
            return SystemError("fcntl");
        if (::pipe2(m_wake.data(), O_CLOEXEC | O_NONBLOCK) != 0)
            return SystemError("pipe2");
        if (!linkPath.empty()) {
            if (Text problem = makeLink(linkPath); !problem.empty())
                return problem;
        }
        m_thread = std::thread([this] { run(); });
        return {};
    }

    Text path() const override { return m_linkPath.empty() ? m_terminalPath : m_linkPath; }
    Text terminalPath() const override { return m_terminalPath; }

    bool write(const Bytes& bytes) override {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t count = ::write(m_master, bytes.data() + written, bytes.size() - written);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                return false;
            written += static_cast<std::size_t>(count);
        }
        return true;
    }

    void close() override {
        if (m_thread.joinable()) {
            const char wake = 1;
            static_cast<void>(::write(m_wake[1], &wake, 1));
            m_thread.join();
        }
        if (!m_linkPath.empty() && isOurLink())
            ::unlink(m_linkPath.c_str());
        m_linkPath.clear();
        for (int* descriptor : {&m_master, &m_slave, &m_wake[0], &m_wake[1]}) {
            if (*descriptor >= 0)
                ::close(*descriptor);
            *descriptor = -1;
        }
    }

  private:
    /// What a monitor leaves at the path when it ends without its clean-up (killed, a crash): a symbolic
    /// link of this user to a terminal of the same family as ours (/dev/pts/ and a number). Anything else
    /// there is somebody's file, to be left alone.
    bool isOldMonitorLink(const Text& linkPath, const struct stat& status) const {
        if (!S_ISLNK(status.st_mode) || status.st_uid != ::geteuid())
            return false;
        const Text family = m_terminalPath.substr(0, m_terminalPath.find_last_not_of("0123456789") + 1);
        const Text target = LinkTarget(linkPath);
        return target.size() > family.size() && target.starts_with(family) &&
               target.find_first_not_of("0123456789", family.size()) == Text::npos;
    }

    Text makeLink(const Text& linkPath) {
        struct stat status {};
        if (::lstat(linkPath.c_str(), &status) == 0) {
            if (!isOldMonitorLink(linkPath, status))
                return linkPath + " exists and is no link to a pseudo-terminal that a monitor left; it is left "
                                  "as it is";
            ::unlink(linkPath.c_str());
        }
        if (::symlink(m_terminalPath.c_str(), linkPath.c_str()) != 0)
            return SystemError("symlink " + linkPath);
        if (::lstat(linkPath.c_str(), &status) != 0)
            return SystemError("lstat " + linkPath);
        m_linkPath = linkPath;
        m_link = {status.st_dev, status.st_ino};
        return {};
    }

    /// Whether the path still holds the link this terminal made, not one that replaced it meanwhile: the
    /// same inode (which a new file may reuse at once) and the same target.
    bool isOurLink() const {
        struct stat status {};
        if (::lstat(m_linkPath.c_str(), &status) != 0 || !S_ISLNK(status.st_mode) ||
            std::pair(status.st_dev, status.st_ino) != m_link)
            return false;
        return LinkTarget(m_linkPath) == m_terminalPath;
    }

    void run() {
        std::array<pollfd, 2> watched{{{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}}};
        for (;;) {
            if (::poll(watched.data(), watched.size(), -1) < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (watched[1].revents != 0)
                return;
            std::array<std::uint8_t, 256> block{};
            const ssize_t count = ::read(m_master, block.data(), block.size());
            if (count < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (count <= 0)
                break;
            for (ssize_t at = 0; at < count; ++at)
                m_receiver.byteReceived(block[static_cast<std::size_t>(at)]);
        }
        m_receiver.linkLost();
    }

    SerialReceiver& m_receiver;
    int m_master = -1;
    int m_slave = -1; ///< held open so that the master never sees a hang-up when the other side closes
    std::array<int, 2> m_wake{-1, -1};
    Text m_terminalPath;
    Text m_linkPath;
    std::pair<dev_t, ino_t> m_link{}; ///< the file system and inode of the link made at m_linkPath
    std::thread m_thread;
};

} // namespace

PseudoTerminalResult OpenPseudoTerminal(const Text& linkPath, SerialReceiver& receiver) {
    auto terminal = std::make_unique<PosixPseudoTerminal>(receiver);
    if (Text problem = terminal->open(linkPath); !problem.empty())
        return {nullptr, problem};
    return {std::move(terminal), {}};
}

#endif

} // namespace ep::qt
