#include "sim/pty_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace ep::sim {
namespace {

using namespace std::chrono_literals;

const Bytes Hello{0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8};
const Bytes DumpRequest{0x80, 0xBC, 0x88, 0x01, 0x80, 0x00};
const Bytes Ping{0x68};

enum class LineSetup { Raw, AsFound };

/// The panel's end of the pty, opened the way a serial-port client opens a device.
class PanelSide {
  public:
    explicit PanelSide(const std::string& path, LineSetup setup = LineSetup::Raw) {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd >= 0 && setup == LineSetup::Raw) {
            termios settings{};
            ::tcgetattr(m_fd, &settings);
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    /// The panel's end of a TCP connection.
    static PanelSide Connected(int port) {
        PanelSide side;
        side.m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        if (::connect(side.m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            side.close();
        return side;
    }
    PanelSide(PanelSide&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    ~PanelSide() { close(); }
    void close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool isOpen() const { return m_fd >= 0; }

    bool send(const Bytes& bytes) {
        return ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    /// Reads until `count` bytes came or `timeout` passed.
    Bytes read(std::size_t count, std::chrono::milliseconds timeout = 3000ms) {
        Bytes received;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (received.size() < count) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left <= 0ms)
                break;
            pollfd watched{m_fd, POLLIN, 0};
            if (::poll(&watched, 1, static_cast<int>(left.count())) <= 0 || !(watched.revents & POLLIN))
                break;
            std::uint8_t buffer[512];
            const ssize_t got = ::read(m_fd, buffer, std::min(sizeof buffer, count - received.size()));
            if (got <= 0)
                break;
            received.insert(received.end(), buffer, buffer + got);
        }
        return received;
    }

    /// Whether the line reports a hang-up (or an error) within `timeout`.
    bool hungUp(std::chrono::milliseconds timeout) {
        pollfd watched{m_fd, POLLIN, 0};
        if (::poll(&watched, 1, static_cast<int>(timeout.count())) <= 0)
            return false;
        if (watched.revents & (POLLHUP | POLLERR))
            return true;
        std::uint8_t byte = 0;
        return ::read(m_fd, &byte, 1) <= 0;
    }

  private:
    PanelSide() = default;
    int m_fd = -1;
};

ServerOptions Unpaced() {
    ServerOptions options;
    options.baud = 0;
    return options;
}

Bytes DesignDump() { return {DesignValues().begin(), DesignValues().end()}; }

class PtyServerTest : public ::testing::Test {
  protected:
    void TearDown() override { server.stop(); }
    PtyServer server;
};

TEST_F(PtyServerTest, AnswersHelloAndDumpsOverThePty) {
    ASSERT_TRUE(server.start(Unpaced())) << server.error();
    EXPECT_TRUE(server.serving());
    PanelSide panel(server.path());
    ASSERT_TRUE(panel.isOpen()) << server.path();
    ASSERT_TRUE(panel.send(Hello));
    EXPECT_EQ(panel.read(1), Bytes{0xA8});
    ASSERT_TRUE(panel.send(DumpRequest));
    EXPECT_EQ(panel.read(255), DesignDump());
    EXPECT_TRUE(panel.read(1, 50ms).empty());
    EXPECT_EQ(server.bytesWritten(), 256u);
}

TEST_F(PtyServerTest, OnTcpItServesOneConnectionAfterAnotherUntilItHangsUp) {
    ServerOptions options = Unpaced();
    options.tcpPort = 0;
    ASSERT_TRUE(server.start(options)) << server.error();
    ASSERT_TRUE(server.path().starts_with("tcp:127.0.0.1:")) << server.path();
    const int port = std::stoi(server.path().substr(std::string("tcp:127.0.0.1:").size()));
    {
        PanelSide first = PanelSide::Connected(port);
        ASSERT_TRUE(first.isOpen());
        ASSERT_TRUE(first.send(Hello));
        EXPECT_EQ(first.read(1), Bytes{0xA8});
    }
    PanelSide second = PanelSide::Connected(port);
    ASSERT_TRUE(second.isOpen()) << "the next panel is taken when the first has gone";
    ASSERT_TRUE(second.send(DumpRequest));
    EXPECT_EQ(second.read(255), DesignDump());
    server.hangUp();
    EXPECT_TRUE(second.hungUp(1000ms));
    EXPECT_FALSE(PanelSide::Connected(port).isOpen()) << "a device that is gone takes no connection";
}

TEST_F(PtyServerTest, FramesFromThePanelChangeTheValues) {
    ServerOptions options = Unpaced();
    options.changedValues = {{2, 44}};
    options.device.dumpStart = DumpStart::WithMarker;
    ASSERT_TRUE(server.start(options)) << server.error();
    PanelSide panel(server.path());
    ASSERT_TRUE(panel.send(Bytes{0x80, 0x00, 0xBB, 0x02, 0x13, 0x07, 0x00, 0x00, 0x00, 0x68}));
    ASSERT_EQ(panel.read(1), Ping);
    EXPECT_EQ(server.values()[19 - 1], 7);
    EXPECT_EQ(server.values()[2 - 1], 44);
    const std::vector<ParsedFrame> log = server.frameLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, FrameKind::SetParameter);
    EXPECT_EQ(log[0].valueLength, 4);

    ASSERT_TRUE(server.setValue(255, 2));
    ASSERT_TRUE(panel.send(DumpRequest));
    const Bytes dump = panel.read(256);
    ASSERT_EQ(dump.size(), 256u);
    EXPECT_EQ(dump[0], 0x63);
    EXPECT_EQ(dump[2], 44);
    EXPECT_EQ(dump[19], 7);
    EXPECT_EQ(dump[255], 2);
}

TEST_F(PtyServerTest, TheLineIsRawBeforeThePanelSetsItUp) {
    ASSERT_TRUE(server.start(Unpaced())) << server.error();
    PanelSide panel(server.path(), LineSetup::AsFound);
    // A carriage return, an interrupt and an end-of-file character would be translated or held by a
    // cooked line, and an echoing one would send the request back.
    ASSERT_TRUE(panel.send(Bytes{0x80, 0x00, 0xBB, 0x02, 0x01, 0x0D, 0x80, 0x00, 0xBB, 0x02, 0x02, 0x03, 0x80, 0x00,
                                 0xBB, 0x02, 0x03, 0x04, 0x68}));
    EXPECT_EQ(panel.read(1), Ping);
    EXPECT_TRUE(panel.read(1, 50ms).empty());
    EXPECT_EQ(server.values()[0], 0x0D);
    EXPECT_EQ(server.values()[1], 0x03);
    EXPECT_EQ(server.values()[2], 0x04);
}

TEST_F(PtyServerTest, ThePanelMayCloseAndReopenThePort) {
    ASSERT_TRUE(server.start(Unpaced())) << server.error();
    for (int attempt = 0; attempt < 3; ++attempt) {
        PanelSide panel(server.path());
        ASSERT_TRUE(panel.send(Hello)) << attempt;
        EXPECT_EQ(panel.read(1), Bytes{0xA8}) << attempt;
    }
    EXPECT_TRUE(server.serving()) << server.error();
    EXPECT_EQ(server.counters().framesUnderstood, 3u);
}

TEST_F(PtyServerTest, KeyResetOnRequest) {
    ASSERT_TRUE(server.start(Unpaced())) << server.error();
    PanelSide panel(server.path());
    server.requestKeyReset();
    EXPECT_EQ(panel.read(1), Bytes{0x88});
}

TEST_F(PtyServerTest, FaultsCanBeChangedWhileServing) {
    ASSERT_TRUE(server.start(Unpaced())) << server.error();
    PanelSide panel(server.path());
    server.setFaults({.silent = true});
    ASSERT_TRUE(panel.send(Ping));
    EXPECT_TRUE(panel.read(1, 100ms).empty());
    server.setFaults({.lateMilliseconds = 80});
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(panel.send(Ping));
    EXPECT_EQ(panel.read(1), Ping);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 80ms);
}

TEST_F(PtyServerTest, AnswersArePacedLikeTheSerialLine) {
    ServerOptions options;
    options.baud = 19200; // 256 bytes take about 133 ms
    ASSERT_TRUE(server.start(options)) << server.error();
    PanelSide panel(server.path());
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(panel.send(DumpRequest));
    EXPECT_EQ(panel.read(255).size(), 255u);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 255 * ByteDuration(19200));
}

TEST_F(PtyServerTest, HangUpLooksLikeTheDeviceWentAway) {
    ASSERT_TRUE(server.start(Unpaced())) << server.error();
    PanelSide panel(server.path());
    ASSERT_TRUE(panel.send(Bytes{0x80, 0x00, 0xBB, 0x02, 0x01, 0x21, 0x68}));
    ASSERT_EQ(panel.read(1), Ping);
    server.hangUp();
    EXPECT_FALSE(server.serving());
    EXPECT_TRUE(panel.hungUp(2000ms));
    EXPECT_EQ(server.values()[0], 0x21);
}

TEST_F(PtyServerTest, LinkPointsAtThePtyAndGoesAwayOnStop) {
    char folder[] = "/tmp/ep_sim_testXXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string link = std::string(folder) + "/ttyEP";
    ASSERT_EQ(::symlink("/nonexistent", link.c_str()), 0); // a stale link from an earlier run
    ServerOptions options = Unpaced();
    options.linkPath = link;
    ASSERT_TRUE(server.start(options)) << server.error();
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), server.path());
    {
        PanelSide panel(link);
        ASSERT_TRUE(panel.send(Hello));
        EXPECT_EQ(panel.read(1), Bytes{0xA8});
    }
    server.stop();
    EXPECT_NE(::access(link.c_str(), F_OK), 0);
    EXPECT_EQ(::rmdir(folder), 0);
}

TEST_F(PtyServerTest, TheLinkGoesWithTheDeviceOnAHangUp) {
    char folder[] = "/tmp/ep_sim_testXXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string link = std::string(folder) + "/ttyEP";
    ServerOptions options = Unpaced();
    options.linkPath = link;
    ASSERT_TRUE(server.start(options)) << server.error();
    ASSERT_EQ(::access(link.c_str(), F_OK), 0);
    server.hangUp();
    EXPECT_NE(::access(link.c_str(), F_OK), 0) << "a freed pty number must not stay reachable through the link";
    EXPECT_EQ(::rmdir(folder), 0);
}

TEST_F(PtyServerTest, RefusesToReplaceAFileWithTheLink) {
    char folder[] = "/tmp/ep_sim_testXXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/plain";
    const int descriptor = ::open(file.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(descriptor, 0);
    ::close(descriptor);
    ServerOptions options = Unpaced();
    options.linkPath = file;
    EXPECT_FALSE(server.start(options));
    EXPECT_FALSE(server.error().empty());
    EXPECT_FALSE(server.serving());
    ::unlink(file.c_str());
    ::rmdir(folder);
}

TEST_F(PtyServerTest, RefusesAFieldOutsideTheMemory) {
    ServerOptions options = Unpaced();
    options.changedValues = {{256, 1}};
    EXPECT_FALSE(server.start(options));
    EXPECT_NE(server.error().find("256"), std::string::npos);
}

} // namespace
} // namespace ep::sim
