// effectpanel-cli's traffic monitor and trace in their own processes against the simulated processor: what
// the monitor refuses, what it does with what lies at its link's path, its end when the device goes away,
// its memory and its end on a signal when nothing reads its output, and a trace that each run appends to,
// that must be a regular file and that fails to be written.

#include "file_size_limit.h"
#include "program_run.h"
#include "set_texts.h"
#include "sim/pty_server.h"
#include "spawned_program.h"
#include "test_ports.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
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

/// What lies at the path, to tell whether it changed: its kind and its target or contents.
std::string WhatLiesAt(const fs::path& path) {
    const fs::file_status status = fs::symlink_status(path);
    switch (status.type()) {
    case fs::file_type::symlink:
        return "link to " + fs::read_symlink(path).string();
    case fs::file_type::regular:
        return "file holding " + testing::FileContents(path);
    case fs::file_type::directory:
        return "folder";
    case fs::file_type::fifo:
        return "FIFO";
    default:
        return "nothing";
    }
}

TEST_F(MonitorEndToEnd, SomebodysFileAtTheListenPathIsRefusedAndLeftAsItIs) {
    const fs::path listen = folder / "ttyPanel";
    std::ofstream(folder / "mine") << "mine";
    const std::function<void()> plant[] = {
        [&] { std::ofstream(listen) << "mine"; },
        [&] { fs::create_directory(listen); },
        [&] { fs::create_symlink(folder / "mine", listen); },
        [&] { fs::create_symlink(folder / "none", listen); },
        [&] { ASSERT_EQ(mkfifo(listen.c_str(), 0600), 0); },
    };
    for (const auto& planted : plant) {
        planted();
        const std::string before = WhatLiesAt(listen);
        const testing::ProgramResult result = testing::RunProgram(
            EP_CLI_PATH, {"--com", "1=" + simulator.path(), "monitor", "--listen", listen.string()}, kLineTimeoutMs);
        EXPECT_EQ(result.exitCode, 1) << before;
        EXPECT_NE(result.err.find(listen.string() + " exists and is no link to a pseudo-terminal that a monitor left"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(WhatLiesAt(listen), before);
        fs::remove_all(listen);
    }
    EXPECT_EQ(testing::FileContents(folder / "mine"), "mine");
}

TEST_F(MonitorEndToEnd, AnOldMonitorsLinkIsReplacedAndOnlyTheLinkItMadeGoesAtTheEnd) {
    const fs::path listen = folder / "ttyPanel";
    // As a monitor that was killed leaves it.
    fs::create_symlink("/dev/pts/999999", listen);
    const auto startMonitor = [&](testing::SpawnedProgram& monitor) {
        ASSERT_TRUE(
            monitor.start(EP_CLI_PATH, {"--com", "1=" + simulator.path(), "monitor", "--listen", listen.string()}));
        const auto first = monitor.readLine(kLineTimeoutMs);
        ASSERT_TRUE(first) << "the monitor printed nothing";
        EXPECT_EQ(*first, "listening on " + listen.string() + " (" + fs::read_symlink(listen).string() +
                              "), forwarding to " + simulator.path());
        EXPECT_TRUE(fs::read_symlink(listen).string().starts_with("/dev/pts/"));
    };
    {
        testing::SpawnedProgram monitor;
        startMonitor(monitor);
        monitor.signal(SIGINT);
        EXPECT_EQ(monitor.waitForExit(kLineTimeoutMs), 0);
        EXPECT_EQ(WhatLiesAt(listen), "nothing");
    }
    {
        testing::SpawnedProgram monitor;
        startMonitor(monitor);
        // The user puts a link of their own in its place meanwhile.
        fs::remove(listen);
        fs::create_symlink(folder / "mine", listen);
        monitor.signal(SIGINT);
        EXPECT_EQ(monitor.waitForExit(kLineTimeoutMs), 0);
        EXPECT_EQ(WhatLiesAt(listen), "link to " + (folder / "mine").string());
    }
}

TEST_F(MonitorEndToEnd, ATraceThatIsNoRegularFileIsRefusedBeforeAnyDeviceIsTouched) {
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "folder");
    for (const std::string& trace :
         {(folder / "fifo").string(), (folder / "folder").string(), std::string("/dev/full")}) {
        std::vector<std::string> arguments = testing::PortArguments(simulator.path());
        arguments.insert(arguments.end(), {"--trace", trace, "get", "Key"});
        const testing::ProgramResult result = testing::RunProgram(EP_CLI_PATH, arguments, kLineTimeoutMs);
        EXPECT_EQ(result.exitCode, 2) << trace;
        EXPECT_EQ(result.err, "effectpanel-cli: cannot open the trace file " + trace +
                                  ": it is no regular file (a FIFO, a device or a folder)\n");
    }
    EXPECT_EQ(simulator.counters().bytesReceived, 0u);
}

TEST_F(MonitorEndToEnd, ATraceThatCannotBeWrittenIsToldOnceAndEndsTheRunWith2) {
    const fs::path trace = folder / "full.trace";
    // Room for nothing more in the trace, though for the tool's other files.
    constexpr std::size_t kFull = 1 << 20;
    std::ofstream(trace) << std::string(kFull, 'x');
    std::vector<std::string> arguments = testing::PortArguments(simulator.path());
    arguments.insert(arguments.end(), {"--json", "--trace", trace.string(), "set", "Key=#2"});
    testing::ProgramResult result;
    {
        const testing::FileSizeLimit limit(kFull);
        ASSERT_TRUE(limit.set());
        result = testing::RunProgram(EP_CLI_PATH, arguments);
    }
    EXPECT_EQ(result.exitCode, 2) << result.err;
    const std::string failure = "writing the trace file " + trace.string() + " failed: ";
    const std::string told = "effectpanel-cli: " + failure;
    const auto at = result.err.find(told);
    EXPECT_NE(at, std::string::npos) << result.err;
    EXPECT_EQ(result.err.find(failure, at + told.size()), std::string::npos) << "told once: " << result.err;
    const nlohmann::json report = nlohmann::json::parse(result.out);
    EXPECT_EQ(report.at("exitCode"), 2);
    EXPECT_TRUE(report.at("traceError").get<std::string>().starts_with(failure)) << report;
    EXPECT_EQ(simulator.values()[18], 7) << "the command itself was done";
    EXPECT_EQ(fs::file_size(trace), kFull);
}

} // namespace
} // namespace ep
