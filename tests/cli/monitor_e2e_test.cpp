// effectpanel-cli's traffic monitor and trace in their own processes against the simulated processor: what
// the monitor refuses, its end when the device goes away, and a trace that each run appends to.

#include "program_run.h"
#include "sim/pty_server.h"
#include "spawned_program.h"
#include "test_ports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace ep {
namespace {

namespace fs = std::filesystem;

constexpr int kLineTimeoutMs = 5000;

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
