// effectpanel-cli's traffic monitor and trace in their own processes against the simulated processor: what
// the monitor refuses, its end when the device goes away, its memory and its end on a signal when nothing
// reads its output, and a trace that each run appends to.

#include "program_run.h"
#include "sim/pty_server.h"
#include "spawned_program.h"
#include "test_ports.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace ep {
namespace {

namespace fs = std::filesystem;

constexpr int kLineTimeoutMs = 5000;

/// A device on TCP that sends echo bytes (68) as fast as they are taken, each a line of the monitor's
/// output, until it is destroyed.
class FloodingDevice {
  public:
    FloodingDevice() {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            listen(m_listener, 1) == 0 && getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { flood(); });
    }
    ~FloodingDevice() {
        m_stop = true;
        shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        close(m_listener);
    }

    std::string address() const { return "tcp:127.0.0.1:" + std::to_string(m_port); }

  private:
    void flood() {
        const int connection = accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        const std::vector<char> block(4096, 0x68);
        while (!m_stop) {
            pollfd writable{connection, POLLOUT, 0};
            if (poll(&writable, 1, 50) == 1 && send(connection, block.data(), block.size(), MSG_NOSIGNAL) < 0)
                break;
        }
        close(connection);
    }

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

/// Reads the panel's side of the monitor's terminal as a panel would, counting the bytes, until destroyed.
class TerminalReader {
  public:
    explicit TerminalReader(const std::string& path)
        : m_terminal(open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC)), m_thread([this] { read(); }) {}
    ~TerminalReader() {
        m_stop = true;
        m_thread.join();
        close(m_terminal);
    }

    long long received() const { return m_received; }

  private:
    void read() {
        char block[4096];
        while (!m_stop) {
            pollfd readable{m_terminal, POLLIN, 0};
            if (poll(&readable, 1, 50) != 1)
                continue;
            const ssize_t count = ::read(m_terminal, block, sizeof block);
            if (count <= 0)
                break;
            m_received += count;
        }
    }

    int m_terminal;
    std::atomic<long long> m_received = 0;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

/// Waits until the condition holds; false when it did not within the time.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class MonitorEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "effectpanel-monitor-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        sim::ServerOptions options;
        options.baud = 0;
        ASSERT_TRUE(simulator.start(options)) << simulator.error();
    }
    void TearDown() override {
        simulator.stop();
        fs::remove_all(folder);
    }

    sim::PtyServer simulator;
    fs::path folder;
};

TEST_F(MonitorEndToEnd, WhatTheMonitorCannotDoIsRefusedAsBadUsage) {
    const std::string device = "1=" + simulator.path();
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"monitor"},
                                               {"--com", device, "--com", "2=/nonexistent/tty", "monitor"},
                                               {"--com", device, "monitor", "--listen"},
                                               {"--com", device, "--json", "monitor"},
                                               {"--com", device, "--trace", (folder / "trace").string(), "monitor"}}) {
        const testing::ProgramResult result = testing::RunProgram(EP_CLI_PATH, arguments);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(arguments) << result.err;
    }
}

TEST_F(MonitorEndToEnd, TheMonitorEndsWhenTheDeviceGoesAway) {
    testing::SpawnedProgram monitor;
    ASSERT_TRUE(monitor.start(EP_CLI_PATH, {"--com", "1=" + simulator.path(), "monitor"}));
    const auto first = monitor.readLine(kLineTimeoutMs);
    ASSERT_TRUE(first) << "the monitor printed nothing";
    EXPECT_TRUE(first->starts_with("listening on /dev/pts/")) << *first;
    simulator.hangUp();
    EXPECT_EQ(monitor.waitForExit(kLineTimeoutMs), 1);
}

TEST_F(MonitorEndToEnd, AFloodThatNobodyReadsKeepsTheMemoryBoundedAndASignalStillEndsIt) {
    FloodingDevice device;
    testing::SpawnedProgram monitor;
    ASSERT_TRUE(monitor.start(EP_CLI_PATH, {"--com", "1=" + device.address(), "monitor"}));
    const auto first = monitor.readLine(kLineTimeoutMs);
    ASSERT_TRUE(first && first->starts_with("listening on /dev/pts/")) << first.value_or("nothing");
    const std::size_t start = std::string("listening on ").size();
    const std::string terminal = first->substr(start, first->find(',') - start);
    TerminalReader panel(terminal);

    // Its output is not read from here on: the pipe is full after some 2000 lines. Each byte the monitor
    // forwards to the panel is one more line.
    constexpr long long kMegabyte = 1024 * 1024;
    ASSERT_TRUE(WaitFor([&panel] { return panel.received() >= kMegabyte / 4; }, 30000));
    const long peakBefore = monitor.peakResidentKilobytes();
    ASSERT_TRUE(WaitFor([&panel] { return panel.received() >= 3 * kMegabyte / 2; }, 60000));
    EXPECT_LT(monitor.peakResidentKilobytes() - peakBefore, 10 * 1024)
        << "1.25 million lines unread, and the memory grew with them";

    // Read again, it tells how many lines it dropped.
    const std::string dropped = " line(s) dropped: nothing read the output";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::optional<std::string> line;
    while ((line = monitor.readLine(kLineTimeoutMs)) && !line->ends_with(dropped) &&
           std::chrono::steady_clock::now() < deadline) {
    }
    EXPECT_TRUE(line && line->ends_with(dropped)) << "last line read: " << line.value_or("none");

    const long long now = panel.received();
    ASSERT_TRUE(WaitFor([&] { return panel.received() >= now + kMegabyte / 4; }, 30000)) << "its output full again";
    monitor.signal(SIGTERM);
    EXPECT_EQ(monitor.waitForExit(kLineTimeoutMs), 0);
}

TEST_F(MonitorEndToEnd, EachRunAppendsItsTrafficToTheTrace) {
    const std::string trace = (folder / "cli.trace").string();
    std::vector<std::string> arguments = testing::PortArguments(simulator.path());
    arguments.insert(arguments.end(), {"--trace", trace, "set", "MIC2 57HZ=+3dB"});
    for (int run = 0; run < 2; ++run) {
        const testing::ProgramResult result = testing::RunProgram(EP_CLI_PATH, arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }
    std::ifstream file(trace);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line.substr(std::string("00:00:00.000 ").size()));
    const auto count = [&lines](const std::string& wanted) { return std::count(lines.begin(), lines.end(), wanted); };
    EXPECT_EQ(count("→ 80 BC 88 00 00 A8  hello"), 2);
    EXPECT_EQ(count("→ 80 01 BB 02 16 0D  MIC2 57HZ = +3dB"), 2);
    EXPECT_EQ(count("→ 80 BC 88 01 80 00  dump request"), 4) << "one to come online, one to check the set";
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("← dump, 255 bytes: "); }),
              4);
}

} // namespace
} // namespace ep
