// The traffic as the monitor and the trace tell it: the window comes online through effectpanel-cli's monitor,
// which tells every frame decoded, and the window's own trace holds what it sent and received; a trace that
// is no regular file, or that cannot be written, is told.

#include "acceptance_fixture.h"
#include "file_size_limit.h"
#include "program_run.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sys/stat.h>

namespace ep::acceptance {
namespace {

constexpr int kLineTimeoutMs = 5000;

std::string Hex(const sim::ValueSet& values) {
    std::string text;
    for (const std::uint8_t value : values) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%s%02X", text.empty() ? "" : " ", value);
        text += digits;
    }
    return text;
}

class MonitorAcceptance : public Acceptance {
  protected:
    /// The simulator behind a link of its own, and the monitor in front of it at the link that the
    /// program opens as COM10.
    void SetUp() override {
        Acceptance::SetUp();
        sim::ServerOptions options;
        options.linkPath = folderPath("ttySimulator");
        ASSERT_TRUE(simulator.start(options)) << simulator.error();
        ASSERT_TRUE(monitor.start(EP_CLI_PATH, {"--com", "1=" + options.linkPath, "monitor", "--listen", panelPort()}));
        const auto first = monitor.readLine(kLineTimeoutMs);
        ASSERT_TRUE(first) << "the monitor printed nothing";
        EXPECT_TRUE(first->starts_with("listening on " + panelPort() + " (/dev/pts/")) << *first;
    }

    std::string panelPort() const { return folderPath("ttyEffectProcessor"); }

    /// The monitor's lines without their time stamps, up to the one that equals the wanted; all it printed
    /// when that did not come in time.
    std::vector<std::string> linesUntil(const std::string& wanted) {
        const std::regex stamped(R"(\d\d:\d\d:\d\d\.\d\d\d (→|←) .*)");
        std::vector<std::string> lines;
        while (const auto line = monitor.readLine(kLineTimeoutMs)) {
            EXPECT_TRUE(std::regex_match(*line, stamped)) << *line;
            lines.push_back(line->substr(std::string("00:00:00.000 ").size()));
            if (lines.back() == wanted)
                break;
        }
        return lines;
    }

    testing::SpawnedProgram monitor;
};

/// Whether the wanted lines come in this order among the lines.
bool InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
    auto at = lines.begin();
    for (const std::string& line : wanted) {
        at = std::find(at, lines.end(), line);
        if (at == lines.end())
            return false;
    }
    return true;
}

TEST_F(MonitorAcceptance, ThePanelComesOnlineThroughTheMonitorWhichTellsEachFrame) {
    const std::string dump = "← dump, 255 bytes: " + Hex(simulator.values());
    startProgram();
    expectOnlineWithTheDevicesSet();
    // MIC1's 57 Hz band from 10 to 12.
    EXPECT_EQ(program.ask("key 滑块条19 Up 2"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(22, 12));
    EXPECT_TRUE(deviceFollowsTheWindow());

    const std::string slider = "→ 80 00 BB 02 16 0C  MIC1 57HZ = +2dB";
    const std::vector<std::string> lines = linesUntil(slider);
    EXPECT_TRUE(InOrder(lines, {"→ 80 BC 88 00 00 A8  hello", "← A8  hello answer", "→ 80 BC 88 01 80 00  dump request",
                                dump, "→ 80 00 BB 02 16 0B  MIC1 57HZ = +1dB", slider}))
        << ::testing::PrintToString(lines);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.ends_with("no frame"); }),
        0);

    EXPECT_EQ(program.quit(kLineTimeoutMs), 0);
    monitor.signal(SIGINT);
    EXPECT_EQ(monitor.waitForExit(kLineTimeoutMs), 0) << "an interrupt ends the monitor as done";
    EXPECT_FALSE(std::filesystem::is_symlink(panelPort())) << "the link goes with the monitor";
}

TEST_F(Acceptance, TheTraceHoldsWhatThePanelSentAndReceived) {
    plugDevice();
    const std::string trace = folderPath("panel.trace");
    startProgram({"--trace", trace});
    expectOnlineWithTheDevicesSet();
    EXPECT_EQ(program.ask("key 滑块条19 Up 1"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(22, 11));
    EXPECT_EQ(program.quit(kLineTimeoutMs), 0);

    std::ifstream file(trace);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line.substr(std::string("00:00:00.000 ").size()));
    EXPECT_TRUE(
        InOrder(lines, {"→ 80 BC 88 00 00 A8  hello", "← A8  hello answer", "→ 80 BC 88 01 80 00  dump request",
                        "← dump, 255 bytes: " + Hex(sim::DesignValues()), "→ 80 00 BB 02 16 0B  MIC1 57HZ = +1dB"}))
        << ::testing::PrintToString(lines);
}

TEST_F(Acceptance, ATraceThatIsNoRegularFileIsRefusedBeforeTheWindowOpens) {
    const std::string fifo = folderPath("panel.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& trace : {fifo, std::string("/dev/full")}) {
        const testing::ProgramResult result = testing::RunProgram(EP_PROGRAM_PATH, {"--trace", trace}, kLineTimeoutMs);
        EXPECT_EQ(result.exitCode, 2) << trace;
        EXPECT_EQ(result.err, "effectpanel: cannot open the trace file " + trace +
                                  ": it is no regular file (a FIFO, a device or a folder)\n");
    }
}

TEST_F(Acceptance, ATraceThatCannotBeWrittenEndsTheProgramWithExitCode1) {
    plugDevice();
    const std::string trace = folderPath("full.trace");
    // Room for nothing more in the trace, though for the program's other files.
    constexpr std::size_t kFull = 1 << 20;
    std::ofstream(trace) << std::string(kFull, 'x');
    {
        const testing::FileSizeLimit limit(kFull);
        ASSERT_TRUE(limit.set());
        startProgram({"--trace", trace});
    }
    expectOnlineWithTheDevicesSet();
    EXPECT_EQ(program.quit(kLineTimeoutMs), 1);
    EXPECT_EQ(std::filesystem::file_size(trace), kFull);
}

} // namespace
} // namespace ep::acceptance
