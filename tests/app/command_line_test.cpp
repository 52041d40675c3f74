#include "app/command_line.h"

#include "temp_path.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <vector>

namespace ep {
namespace {

CommandLine Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "effectpanel");
    return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, ComMappingsAndFlags) {
    const CommandLine line =
        Parse({"--com", "5=/dev/ttyUSB0", "--com=10=/dev/pts/7", "--simulate", "--trace", "panel.trace"});
    EXPECT_TRUE(line.error.empty()) << line.error;
    EXPECT_TRUE(line.simulate);
    EXPECT_EQ(line.traceFile, "panel.trace");
    EXPECT_EQ(Parse({"--trace=a b.trace"}).traceFile, "a b.trace");
    EXPECT_EQ(line.comDevices.at(5), "/dev/ttyUSB0");
    EXPECT_EQ(line.comDevices.at(10), "/dev/pts/7");
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"--version"}).version);
    EXPECT_EQ(Parse({"-platform", "offscreen", "k01.tonset"}).presetFile, "k01.tonset");
}

TEST(CommandLine, ToolkitOptionsAreLeftAloneWithTheirValues) {
    for (const auto& arguments : std::vector<std::vector<const char*>>{{"-platform", "offscreen"},
                                                                       {"-qwindowtitle", "--not-ours"},
                                                                       {"-style", "Fusion"},
                                                                       {"-style=Fusion"},
                                                                       {"-qmljsdebugger=port:3768"},
                                                                       {"-reverse"},
                                                                       {"-nograb"},
                                                                       {"-"}}) {
        const CommandLine line = Parse(arguments);
        EXPECT_TRUE(line.error.empty()) << arguments.front() << ": " << line.error;
    }
    EXPECT_TRUE(Parse({"-platform", "offscreen", "--simulate"}).simulate);
}

TEST(CommandLine, BadArgumentsAreRefused) {
    for (const auto& arguments : std::vector<std::vector<const char*>>{{"--com"},
                                                                       {"--com", "0=/dev/ttyS0"},
                                                                       {"--com", "11=/dev/ttyS0"},
                                                                       {"--com", "x=/dev/a"},
                                                                       {"--com", "3="},
                                                                       {"--com", "3"},
                                                                       {"--trace"},
                                                                       {"--bogus"},
                                                                       {"-x"},
                                                                       {"-simulate"},
                                                                       {"-platform"},
                                                                       {"-platform=offscreen"},
                                                                       {"-reverse=1"},
                                                                       {"a.tonset", "b.tonset"}})
        EXPECT_FALSE(Parse(arguments).error.empty()) << arguments.back();
}

TEST(CommandLine, AComPathThatExistsMustBeACharacterDevice) {
    const auto folder = testing::UniqueTempPath("effectpanel-com-");
    std::filesystem::create_directories(folder / "directory");
    std::ofstream(folder / "file") << "not a port";
    struct Case {
        std::string device;
        bool taken;
    };
    std::vector<Case> cases = {
        {(folder / "not-plugged-in-yet").string(), true},
        {"tcp:192.168.1.20:4001", true},
        {"tcp:[::1]:4001", true},
        {"tcp:192.168.1.20", false},
        {"tcp::4001", false},
        {"tcp:host:65536", false},
        {(folder / "file").string(), false},
        {(folder / "directory").string(), false},
    };
#if !defined(_WIN32)
    // Only POSIX systems have devices and FIFOs in the file system.
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    cases.push_back({"/dev/null", true});
    cases.push_back({(folder / "fifo").string(), false});
#endif
    for (const auto& c : cases) {
        const std::string mapping = "3=" + c.device;
        const CommandLine line = Parse({"--com", mapping.c_str()});
        EXPECT_EQ(line.error.empty(), c.taken) << c.device << ": " << line.error;
        EXPECT_EQ(line.comDevices.contains(3), c.taken) << c.device;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace ep
