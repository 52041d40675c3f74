#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace ep {
namespace {

CommandLine Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "effectpanel");
    return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, ComMappingsAndFlags) {
    const CommandLine line = Parse({"--com", "5=/dev/ttyUSB0", "--com=10=/dev/pts/7", "--simulate"});
    EXPECT_TRUE(line.error.empty()) << line.error;
    EXPECT_TRUE(line.simulate);
    EXPECT_EQ(line.comDevices.at(5), "/dev/ttyUSB0");
    EXPECT_EQ(line.comDevices.at(10), "/dev/pts/7");
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"--version"}).version);
}

TEST(CommandLine, PlatformOptionsAreLeftAlone) {
    EXPECT_TRUE(Parse({"-platform", "offscreen"}).error.empty());
}

TEST(CommandLine, BadArgumentsAreRefused) {
    for (const auto& arguments : std::vector<std::vector<const char*>>{
             {"--com"}, {"--com", "0=/dev/ttyS0"}, {"--com", "11=/dev/ttyS0"}, {"--com", "x=/dev/a"},
             {"--com", "3="}, {"--com", "3"}, {"--bogus"}})
        EXPECT_FALSE(Parse(arguments).error.empty()) << arguments.back();
}

} // namespace
} // namespace ep
