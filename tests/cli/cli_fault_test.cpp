// effectpanel-cli against devices and networks that would keep it waiting: a device that floods the line
// with bytes of every value, servers that never complete a connection, a name server that never answers.
// The tool ends within its time-out and a second, with exit status 1, and never with values it could not
// trust.

#include "program_run.h"
#include "silent_listener.h"
#include "sim/design_values.h"
#include "sim/pty_server.h"
#include "spawned_program.h"
#include "test_ports.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <thread>

namespace ep {
namespace {

constexpr int kTimeoutSeconds = 3;
/// What the tool may take beyond its time-out.
constexpr double kEndingSeconds = 1.0;

std::vector<std::string> With(std::vector<std::string> first, const std::vector<std::string>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

void ExpectEndedInTime(const testing::ProgramResult& run, double timeoutSeconds = kTimeoutSeconds) {
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_LT(run.seconds, timeoutSeconds + kEndingSeconds) << run.err;
    EXPECT_EQ(run.out, "") << "no values it could not trust";
}

enum class Line { Pty, Tcp };

class CliFlood : public ::testing::TestWithParam<Line> {
  protected:
    void TearDown() override { simulator.stop(); }
    sim::PtyServer simulator;
};

TEST_P(CliFlood, AReadOfAFloodingDeviceEndsInTimeWithoutValues) {
    sim::ServerOptions options;
    options.device.faults.flood = true;
    if (GetParam() == Line::Tcp)
        options.tcpPort = 0;
    ASSERT_TRUE(simulator.start(options)) << simulator.error();
    const auto run = testing::RunProgram(EP_CLI_PATH, With(testing::PortArguments(simulator.path()),
                                                           {"--timeout", std::to_string(kTimeoutSeconds), "read"}));
    std::printf("read of a flooding device: exit %d after %.1f s\n", run.exitCode, run.seconds);
    ExpectEndedInTime(run);
    EXPECT_EQ(sim::ThreeDigitText(simulator.values()), sim::ThreeDigitText(sim::DesignValues()))
        << "nothing was written to the device";
}

INSTANTIATE_TEST_SUITE_P(OnAPtyAndOnTcp, CliFlood, ::testing::Values(Line::Pty, Line::Tcp),
                         [](const auto& info) { return info.param == Line::Pty ? "Pty" : "Tcp"; });

TEST(CliUnreachable, ServersThatNeverCompleteTheConnectionHoldTheToolNoLongerThanItsTimeOut) {
    std::vector<std::unique_ptr<testing::SilentListener>> servers;
    std::vector<std::string> everyPort;
    for (int number = 1; number <= 10; ++number) {
        servers.push_back(std::make_unique<testing::SilentListener>());
        ASSERT_TRUE(servers.back()->start());
        everyPort.insert(everyPort.end(), {"--com", std::to_string(number) + "=" + servers.back()->address()});
    }
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        double timeoutSeconds;
    } cases[] = {
        {"read, one such device", {"--device", servers.front()->address(), "--timeout", "3", "read"}, 3},
        {"read, ten such ports", With(everyPort, {"--timeout", "1", "read"}), 1},
        {"scan, ten such ports", With(everyPort, {"--timeout", "3", "scan"}), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto run = testing::RunProgram(EP_CLI_PATH, c.arguments);
        std::printf("%s: exit %d after %.1f s\n", c.what, run.exitCode, run.seconds);
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_LT(run.seconds, c.timeoutSeconds + kEndingSeconds) << run.err;
    }
}

TEST(CliUnreachable, ANameServerThatNeverAnswersHoldsTheToolNoLongerThanItsTimeOut) {
    const auto run =
        testing::RunProgram(EP_SILENT_NAME_SERVER_PATH, {EP_CLI_PATH, "--device", "tcp:room1.venue.example:4001",
                                                         "--timeout", std::to_string(kTimeoutSeconds), "read"});
    if (run.exitCode == 125)
        GTEST_SKIP() << "no namespaces here to run a silent name server in: " << run.err;
    std::printf("read through a name server that never answers: exit %d after %.1f s\n", run.exitCode, run.seconds);
    ExpectEndedInTime(run);
}

/// A device that answers the hello and goes away while it sends its settings.
class CliGoneMidRead : public ::testing::Test {
  protected:
    void TearDown() override {
        if (m_hanger.joinable())
            m_hanger.join();
        simulator.stop();
    }
    void startDeviceThatGoesAway() {
        sim::ServerOptions options;
        options.device.faults.dumpValues = 100;
        options.frameObserver = [this](const sim::ParsedFrame& frame) {
            if (frame.kind == sim::FrameKind::DumpRequest && !m_hanger.joinable())
                m_hanger = std::thread([this] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    simulator.hangUp();
                });
        };
        ASSERT_TRUE(simulator.start(options)) << simulator.error();
    }
    sim::PtyServer simulator;

  private:
    std::thread m_hanger;
};

TEST_F(CliGoneMidRead, TheToolSaysTheDeviceWentAway) {
    ASSERT_NO_FATAL_FAILURE(startDeviceThatGoesAway());
    const auto run = testing::RunProgram(EP_CLI_PATH, {"--device", simulator.path(), "--timeout", "3", "read"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("went away while its settings were read"), std::string::npos) << run.err;
}

TEST(CliNoAnswer, EachDeviceThatDidNotAnswerIsToldWhyAndAFailedOpenEndsTheWaitAtOnce) {
    sim::PtyServer silent;
    sim::ServerOptions options;
    options.device.faults.silent = true;
    ASSERT_TRUE(silent.start(options)) << silent.error();
    const std::string refused = "tcp:127.0.0.1:" + std::to_string(testing::FreeTcpPort());
    const struct {
        std::string device;
        std::string told;
        double mostSeconds;
    } cases[] = {
        {"/nonexistent/ttyUSB7", "/nonexistent/ttyUSB7 does not exist", 1},
        {refused, "cannot connect to " + refused + ": Connection refused", 1},
        {silent.path(), silent.path() + " opened, but no processor answered its hello", kTimeoutSeconds + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        const auto run = testing::RunProgram(
            EP_CLI_PATH, {"--device", c.device, "--timeout", std::to_string(kTimeoutSeconds), "read"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("no processor answered on " + c.device + ": " + c.told), std::string::npos) << run.err;
        EXPECT_LT(run.seconds, c.mostSeconds);
    }
}

TEST(CliNoAnswer, APortThatAnotherProgramHoldsIsToldSoAtOnce) {
    sim::PtyServer device;
    ASSERT_TRUE(device.start({})) << device.error();
    testing::SpawnedProgram holder;
    ASSERT_TRUE(holder.start(EP_CLI_PATH, {"--com", "1=" + device.path(), "monitor"}));
    ASSERT_TRUE(holder.readLine(5000)) << "the monitor holds the port";
    const auto run = testing::RunProgram(EP_CLI_PATH, {"--device", device.path(), "--timeout", "3", "read"});
    holder.signal(SIGTERM);
    holder.waitForExit(5000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(device.path() + " is held by another program"), std::string::npos) << run.err;
    EXPECT_LT(run.seconds, 1);
}

} // namespace
} // namespace ep
