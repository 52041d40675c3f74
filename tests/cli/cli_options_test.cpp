#include "tool/cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace ep {
namespace {

CliOptions Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "effectpanel-cli");
    return ParseCliOptions(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CliOptions, GlobalOptionsStandAnywhereAndTheRestIsTheCommands) {
    const CliOptions options = Parse({"--com", "3=tcp:10.0.0.5:4001", "load", "evening.tonset", "--json", "--store",
                                      "--timeout=4", "--trace", "k01.trace"});
    ASSERT_TRUE(options.error.empty()) << options.error;
    EXPECT_EQ(options.comDevices.at(3), "tcp:10.0.0.5:4001");
    EXPECT_TRUE(options.json);
    EXPECT_EQ(options.timeoutSeconds, 4);
    EXPECT_EQ(options.traceFile, "k01.trace");
    EXPECT_EQ(options.command, "load");
    EXPECT_EQ(options.arguments, (std::vector<Text>{"evening.tonset", "--store"}));
    EXPECT_EQ(PresetToLoad(options), "evening.tonset");
    EXPECT_EQ(PresetToLoad(Parse({"read", "-o", "x"})), "") << "only a load opens a preset";
}

TEST(CliOptions, TheRoomsOptionsNameTheFileTheRoomsAndHowManyAtOnce) {
    const CliOptions options = Parse({"load", "--rooms", "venue.json", "--only=K01,包厢2", "--jobs", "4", "--changed"});
    ASSERT_TRUE(options.error.empty()) << options.error;
    EXPECT_EQ(options.roomsFile, "venue.json");
    EXPECT_EQ(options.onlyRooms, (std::vector<Text>{"K01", "包厢2"}));
    EXPECT_EQ(options.jobs, 4);
    EXPECT_EQ(options.arguments, (std::vector<Text>{"--changed"}));
    EXPECT_EQ(Parse({"--device", "tcp:10.0.0.5:4001", "read"}).device, "tcp:10.0.0.5:4001");
}

TEST(CliOptions, BadArgumentsAreRefused) {
    for (const auto& arguments :
         std::vector<std::vector<const char*>>{{},
                                               {"--timeout", "0", "read"},
                                               {"--timeout", "x", "read"},
                                               {"--com", "11=/dev/ttyS0", "read"},
                                               {"--com", "1=tcp:host", "read"},
                                               {"-x", "read"},
                                               {"read", "--timeout"},
                                               {"--device", "tcp:host", "read"},
                                               {"--device", "/dev/ttyS0", "--com", "1=/dev/ttyS1", "read"},
                                               {"--rooms", "venue.json", "--device", "/dev/ttyS0", "read"},
                                               {"--rooms", "venue.json", "--com", "1=/dev/ttyS1", "read"},
                                               {"--rooms=", "read"},
                                               {"--only", "K01", "read"},
                                               {"--jobs", "2", "read"},
                                               {"--rooms", "venue.json", "--only", "K01,,K02", "read"},
                                               {"--rooms", "venue.json", "--jobs", "0", "read"},
                                               {"read", "--trace"}})
        EXPECT_FALSE(Parse(arguments).error.empty()) << (arguments.empty() ? "nothing" : arguments.front());
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"--version"}).version);
}

} // namespace
} // namespace ep
