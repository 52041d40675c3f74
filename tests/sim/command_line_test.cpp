#include "sim/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace ep::sim {
namespace {

SimCommandLine Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "effectpanel-sim");
    return ParseSimCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(SimCommandLine, DefaultsArePacedAndFaultless) {
    const SimCommandLine line = Parse({});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.server.baud, 9600);
    EXPECT_EQ(line.server.device.dumpStart, DumpStart::ValuesOnly);
    EXPECT_FALSE(line.server.device.faults.silent);
    EXPECT_FALSE(line.server.device.faults.noise);
    EXPECT_EQ(line.server.device.faults.lateMilliseconds, 0);
    EXPECT_EQ(line.server.device.faults.dropDumpByte, 0);
    EXPECT_TRUE(line.server.linkPath.empty());
    EXPECT_FALSE(line.quiet);
}

TEST(SimCommandLine, EveryOption) {
    const SimCommandLine line =
        Parse({"--link", "/tmp/ttyEP", "--marker", "--baud=19200", "--silent", "--late", "250", "--noise",
               "--drop-dump-byte", "255", "--set", "19=7", "--set=255=0", "--quiet"});
    ASSERT_TRUE(line.error.empty()) << line.error;
    EXPECT_EQ(line.server.linkPath, "/tmp/ttyEP");
    EXPECT_EQ(line.server.device.dumpStart, DumpStart::WithMarker);
    EXPECT_EQ(line.server.baud, 19200);
    EXPECT_TRUE(line.server.device.faults.silent);
    EXPECT_EQ(line.server.device.faults.lateMilliseconds, 250);
    EXPECT_TRUE(line.server.device.faults.noise);
    EXPECT_EQ(line.server.device.faults.dropDumpByte, 255);
    const std::vector<std::pair<int, std::uint8_t>> changed{{19, 7}, {255, 0}};
    EXPECT_EQ(line.server.changedValues, changed);
    EXPECT_TRUE(line.quiet);
    EXPECT_EQ(Parse({"--unpaced"}).server.baud, 0);
    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(SimCommandLine, HelpNamesEveryOption) {
    const std::string help = SimHelpText();
    for (const char* option : {"--link", "--marker", "--baud", "--unpaced", "--silent", "--late", "--noise",
                               "--drop-dump-byte", "--set", "--quiet", "--help"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

TEST(SimCommandLine, TcpTakesAPort) {
    EXPECT_EQ(Parse({}).server.tcpPort, -1) << "a pty by default";
    EXPECT_EQ(Parse({"--tcp", "4001"}).server.tcpPort, 4001);
    EXPECT_EQ(Parse({"--tcp=0"}).server.tcpPort, 0);
}

TEST(SimCommandLine, BadArgumentsAreRefused) {
    for (const auto& arguments : std::vector<std::vector<const char*>>{{"--bogus"},
                                                                       {"--link"},
                                                                       {"--link="},
                                                                       {"--baud", "fast"},
                                                                       {"--baud", "-1"},
                                                                       {"--baud"},
                                                                       {"--late", "1.5"},
                                                                       {"--drop-dump-byte", "0"},
                                                                       {"--drop-dump-byte", "256"},
                                                                       {"--set", "19"},
                                                                       {"--set", "0=1"},
                                                                       {"--set", "256=1"},
                                                                       {"--set", "1=256"},
                                                                       {"--set", "=5"},
                                                                       {"--marker=1"},
                                                                       {"--set"},
                                                                       {"--tcp", "65536"},
                                                                       {"--tcp", "0", "--link", "/tmp/x"},
                                                                       {"extra"}})
        EXPECT_FALSE(Parse(arguments).error.empty()) << arguments.front();
}

} // namespace
} // namespace ep::sim
