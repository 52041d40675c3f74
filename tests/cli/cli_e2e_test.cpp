// effectpanel-cli as a script runs it: its own process, its exit code, its output, and the simulated
// processor's memory, on a pseudo-terminal, on TCP and behind ser2net.

#include "program_run.h"
#include "ser2net_server.h"
#include "set_texts.h"
#include "sim/design_values.h"
#include "sim/field_map.h"
#include "sim/pty_server.h"
#include "test_ports.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace ep {
namespace {

namespace fs = std::filesystem;

enum class Transport { Pty, Tcp };

class CliEndToEnd : public ::testing::TestWithParam<Transport> {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "effectpanel-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        ser2net.stop();
        simulator.stop();
        fs::remove_all(folder);
    }

    /// The device, answering as fast as the line takes it; the frames that change it are counted.
    void plugDevice(sim::ServerOptions options = {}) {
        options.baud = 0;
        if (GetParam() == Transport::Tcp)
            options.tcpPort = 0;
        auto observer = options.frameObserver;
        options.frameObserver = [this, observer](const sim::ParsedFrame& frame) {
            if (frame.kind == sim::FrameKind::SetParameter || frame.kind == sim::FrameKind::BulkParameter ||
                frame.kind == sim::FrameKind::StoreEffect || frame.kind == sim::FrameKind::RestoreDefaults)
                ++changingFrames;
            if (observer)
                observer(frame);
        };
        ASSERT_TRUE(simulator.start(options)) << simulator.error();
        device = simulator.path();
    }

    testing::ProgramResult cli(const std::vector<std::string>& words) {
        std::vector<std::string> arguments = testing::PortArguments(device);
        arguments.insert(arguments.end(), words.begin(), words.end());
        return testing::RunProgram(EP_CLI_PATH, arguments);
    }

    std::string deviceSet() const { return sim::ThreeDigitText(simulator.values()); }
    /// The device's stored set once it is the one expected, or as it is after 3 s: the store is the tool's
    /// last frame, which the device may take only after the tool has ended.
    std::string storedSet(const std::string& expected) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (sim::ThreeDigitText(simulator.storedValues()) != expected && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return sim::ThreeDigitText(simulator.storedValues());
    }
    std::string file(const std::string& name) const { return (folder / name).string(); }
    sim::PtyServer simulator;
    testing::Ser2Net ser2net;
    std::string device; ///< what COM10 is; none when empty
    fs::path folder;
    std::atomic<int> changingFrames = 0;
};

/// The six limit boxes' frames that showing the device's set sends once the tool is online.
constexpr int kLimitFrames = 6;

TEST_P(CliEndToEnd, ReadGivesTheDevicesMemory) {
    sim::ServerOptions options;
    options.changedValues = {{1, 61}, {34, 13}, {255, 5}};
    plugDevice(options);
    const auto printed = cli({"read"});
    EXPECT_EQ(printed.exitCode, 0) << printed.err;
    EXPECT_EQ(printed.out, deviceSet() + "\n");
    const auto saved = cli({"read", "-o", file("room")});
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(testing::FileContents(file("room.tonset")), deviceSet()) << "the suffix is added as the panel adds it";
}

TEST_P(CliEndToEnd, LoadSendsThePresetChecksItAndStoresIt) {
    plugDevice();
    const std::string preset = testing::WithFields(deviceSet(), {{1, 55}, {19, 8}, {112, 33}, {255, 1}});
    std::ofstream(file("evening.tonset"), std::ios::binary) << preset;
    const auto loaded = cli({"--json", "load", file("evening.tonset"), "--store"});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    const nlohmann::json result = nlohmann::json::parse(loaded.out);
    EXPECT_EQ(result.at("verified"), true);
    EXPECT_EQ(result.at("stored"), true);
    EXPECT_TRUE(result.at("differences").empty());
    EXPECT_EQ(deviceSet(), preset);
    EXPECT_EQ(storedSet(preset), preset);
    EXPECT_EQ(loaded.err, "effectpanel-cli: sending 255 setting(s)\neffectpanel-cli: sent 255 of 255 setting(s)\n")
        << "in the tool's words, no box";
}

TEST_P(CliEndToEnd, LoadChangedSendsOnlyTheSettingsThatDifferInTheSendAllsOrderAndChecksThem) {
    std::mutex mutex;
    std::vector<int> bulkFields;
    sim::ServerOptions options;
    options.frameObserver = [&](const sim::ParsedFrame& frame) {
        if (frame.kind != sim::FrameKind::BulkParameter)
            return;
        std::lock_guard lock(mutex);
        bulkFields.push_back(sim::FieldOf({frame.channel, frame.address}).value_or(0));
    };
    plugDevice(options);
    const std::string preset = testing::WithFields(deviceSet(), {{200, 9}, {3, 66}, {34, 13}, {255, 1}});
    std::ofstream(file("evening.tonset"), std::ios::binary) << preset;
    const auto loaded = cli({"--json", "load", file("evening.tonset"), "--changed"});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    const nlohmann::json result = nlohmann::json::parse(loaded.out);
    EXPECT_EQ(result.at("sent"), 4);
    EXPECT_EQ(result.at("verified"), true);
    EXPECT_EQ(deviceSet(), preset);
    std::lock_guard lock(mutex);
    EXPECT_EQ(bulkFields, (std::vector<int>{3, 34, 200, 255}));
    EXPECT_NE(loaded.err.find("sent 4 of 4 setting(s)"), std::string::npos) << loaded.err;
}

TEST_P(CliEndToEnd, SetAndGetGoByName) {
    plugDevice();
    const auto set = cli({"set", "MIC2 1KHZ=+3dB", "key=#2", "eff1_rev1_time=2.5S", "FBX=OFF"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(simulator.values()[33], 13);
    EXPECT_EQ(simulator.values()[18], 7);
    EXPECT_EQ(simulator.values()[111], 25);
    EXPECT_EQ(simulator.values()[16], 0);
    const auto got = cli({"--json", "get", "MIC2 1KHZ", "19", "EFF1 Rev1 Time"});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    const nlohmann::json parameters = nlohmann::json::parse(got.out).at("parameters");
    ASSERT_EQ(parameters.size(), 3u);
    EXPECT_EQ(parameters[0].at("text"), "+3dB");
    EXPECT_EQ(parameters[1].at("name"), "Key");
    EXPECT_EQ(parameters[1].at("text"), "#2");
    EXPECT_EQ(parameters[2].at("field"), 112);
    EXPECT_EQ(parameters[2].at("text"), "2.5S");
    const auto all = cli({"get"});
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 255) << "every setting when none is named";
    const auto raw = cli({"set", "--raw", "Music_Vol=75"});
    EXPECT_EQ(raw.exitCode, 0) << raw.err;
    EXPECT_EQ(simulator.values()[2], 75);
}

TEST_P(CliEndToEnd, StoreKeepsAndRestoreBringsBackTheFactorySet) {
    plugDevice();
    ASSERT_EQ(cli({"set", "Music_Vol=44"}).exitCode, 0);
    const std::string set = deviceSet();
    const auto stored = cli({"store"});
    EXPECT_EQ(stored.exitCode, 0) << stored.err;
    EXPECT_EQ(storedSet(deviceSet()), deviceSet());
    EXPECT_EQ(simulator.storedValues()[2], 44);
    const auto restored = cli({"restore"});
    EXPECT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_EQ(simulator.values(), sim::DesignValues());
}

TEST_P(CliEndToEnd, ScanNamesThePortWhereTheDeviceAnswered) {
    plugDevice();
    const auto scanned = cli({"--json", "scan"});
    ASSERT_EQ(scanned.exitCode, 0) << scanned.err;
    const nlohmann::json ports = nlohmann::json::parse(scanned.out).at("ports");
    ASSERT_EQ(ports.size(), 10u);
    EXPECT_EQ(ports[9].at("device"), device);
    EXPECT_EQ(ports[9].at("answered"), true);
    EXPECT_EQ(ports[0].at("opened"), false);
}

INSTANTIATE_TEST_SUITE_P(OnAPtyAndOnTcp, CliEndToEnd, ::testing::Values(Transport::Pty, Transport::Tcp),
                         [](const auto& info) { return info.param == Transport::Pty ? "Pty" : "Tcp"; });

class CliEndToEndOnAPty : public CliEndToEnd {};

TEST_P(CliEndToEndOnAPty, ALoadThatTheDeviceDoesNotKeepFailsNamingTheSetting) {
    sim::ServerOptions options;
    // A knob turned on the device just as the last setting of the preset arrived.
    options.frameObserver = [this](const sim::ParsedFrame& frame) {
        if (frame.kind == sim::FrameKind::BulkParameter && frame.address == 66 && frame.channel == 5)
            simulator.setValue(34, 2);
    };
    plugDevice(options);
    std::ofstream(file("preset.tonset"), std::ios::binary) << testing::WithFields(deviceSet(), {{34, 13}});
    const auto loaded = cli({"load", file("preset.tonset")});
    EXPECT_EQ(loaded.exitCode, 1);
    EXPECT_NE(loaded.err.find("MIC2 1KHZ: +3dB → -8dB"), std::string::npos) << loaded.err;
}

TEST_P(CliEndToEndOnAPty, APresetThatWouldLoseOrInventSettingsIsRefusedUnlessForced) {
    sim::ServerOptions options;
    // Music_Vol Max, KTV_MODE and MIC2 1KHZ, set by another device's tool.
    options.changedValues = {{9, 90}, {13, 250}, {34, 99}};
    plugDevice(options);
    const std::string held = deviceSet();
    const auto backedUp = cli({"read", "-o", file("backup")});
    ASSERT_EQ(backedUp.exitCode, 0) << backedUp.err;
    EXPECT_EQ(testing::FileContents(file("backup.tonset")), held) << "the backup holds what the device holds";
    const auto got = cli({"--json", "get", "Music_Vol Max"});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_EQ(nlohmann::json::parse(got.out).at("parameters")[0].at("value"), 90);
    EXPECT_EQ(cli({"diff", "device", file("backup.tonset")}).exitCode, 0);
    EXPECT_EQ(changingFrames, 0) << "reading changes nothing it reads";
    EXPECT_EQ(deviceSet(), held);
    std::ofstream(file("empty.tonset"), std::ios::binary) << "";
    const struct {
        std::string file;
        std::vector<std::string> said;
    } refusals[] = {
        {file("backup.tonset"),
         {"holds 3 setting(s) outside their parameters' ranges", "Music_Vol Max: 90 (",
          "KTV_MODE: 250 (0 … 7, KTV1 … EFF4)", "MIC2 1KHZ: 99 (0 … 20, -10dB … +10dB)", "--force"}},
        {file("empty.tonset"), {"is empty", "restore"}},
    };
    for (const auto& refusal : refusals) {
        const auto refused = cli({"load", refusal.file});
        EXPECT_EQ(refused.exitCode, 2) << refused.err;
        for (const std::string& said : refusal.said)
            EXPECT_NE(refused.err.find(said), std::string::npos) << refused.err;
    }
    EXPECT_EQ(changingFrames, 0) << "nothing sent";

    ASSERT_EQ(cli({"restore"}).exitCode, 0);
    ASSERT_NE(deviceSet(), held);

    const auto forced = cli({"load", file("backup.tonset"), "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(deviceSet(), held) << "a forced load puts the file into the device as it is";
}

TEST_P(CliEndToEndOnAPty, APresetWithTheLineBreakAnEditorLeavesLoads) {
    plugDevice();
    const std::string preset = testing::WithFields(deviceSet(), {{34, 13}});
    std::ofstream(file("edited.tonset"), std::ios::binary) << preset << "\r\n";
    const auto loaded = cli({"load", file("edited.tonset")});
    EXPECT_EQ(loaded.exitCode, 0) << loaded.err;
    EXPECT_EQ(deviceSet(), preset);
}

TEST_P(CliEndToEndOnAPty, SetTakesAValueAsPeopleTypeIt) {
    plugDevice();
    const auto set = cli({"set", "MIC2 1KHZ=3", "EFF1 Rev1 Time=2.5", "FBX=on", "Lock=1"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(simulator.values()[33], 13);
    EXPECT_EQ(simulator.values()[111], 25);
    EXPECT_EQ(simulator.values()[16], 1);
    EXPECT_EQ(simulator.values()[20], 1);
    const auto refused = cli({"set", "FBX=maybe"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("'maybe' is no value of FBX, which takes OFF (0), ON (1)"), std::string::npos)
        << refused.err;
}

TEST_P(CliEndToEndOnAPty, BadUsageIsRefusedWithOneLineAndNothingSent) {
    plugDevice();
    std::ofstream(file("short.tonset"), std::ios::binary) << "038030";
    const struct {
        std::vector<std::string> words;
        const char* said;
    } cases[] = {
        {{"set", "MIC9 1KHZ=+3dB"}, "no setting is named 'MIC9 1KHZ'"},
        {{"set", "MIC2 1KHZ=+11dB"},
         "'+11dB' is no value of MIC2 1KHZ, which takes -10dB … +10dB, typed as +10dB or 10dB or +10 or 10"},
        {{"set", "--raw", "Key=256"}, "'256' is no field value 0..255"},
        {{"set", "Key"}, "set takes NAME=VALUE"},
        {{"get", "Volume"}, "no setting is named 'Volume'"},
        {{"load", file("missing.tonset")}, "无法读取效果文件"},
        {{"load", file("short.tonset")}, "文件中有 6 个数字，效果文件应有 765 个"},
        {{"read", "--everything"}, "read takes -o FILE or nothing"},
        {{"dance"}, "unknown command 'dance'"},
    };
    for (const auto& c : cases) {
        const auto refused = cli(c.words);
        EXPECT_EQ(refused.exitCode, 2) << c.said;
        EXPECT_NE(refused.err.find(c.said), std::string::npos) << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    }
    EXPECT_EQ(changingFrames, 0) << "none of them reached the device";
    EXPECT_EQ(simulator.counters().bytesReceived, 0u) << "none of them even said hello";
}

TEST_P(CliEndToEndOnAPty, WithoutADeviceTheToolSaysSoAndAPresetCanStillBeEdited) {
    const auto unanswered = cli({"--timeout", "2", "read"});
    EXPECT_EQ(unanswered.exitCode, 1);
    EXPECT_NE(unanswered.err.find("no processor answered"), std::string::npos) << unanswered.err;

    const std::string preset = testing::WithFields(sim::ThreeDigitText(sim::DesignValues()), {{3, 33}});
    std::ofstream(file("office.tonset"), std::ios::binary) << preset;
    const auto edited = cli({"set", "--file", file("office.tonset"), "MIC2 1KHZ=-2dB", "Lock=ON"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(testing::FileContents(file("office.tonset")), testing::WithFields(preset, {{34, 8}, {21, 1}}));
    std::ofstream(file("empty.tonset"), std::ios::binary) << "";
    ASSERT_EQ(cli({"set", "--file", file("empty.tonset"), "Key=b5"}).exitCode, 0);
    EXPECT_EQ(testing::FileContents(file("empty.tonset")),
              testing::WithFields(sim::ThreeDigitText(sim::DesignValues()), {{19, 0}}))
        << "an empty preset stands for the default set";
}

TEST_P(CliEndToEndOnAPty, JsonTellsOfNamesThatAreNotUtf8WithTheirBytesReplaced) {
    // An overlong form of NUL and a byte that starts no character, which JSON cannot hold as they are.
    const std::string preset = file("house-\xC0\x80-\xFF.tonset");
    std::ofstream(preset, std::ios::binary) << sim::ThreeDigitText(sim::DesignValues());
    const auto edited = cli({"--json", "set", "--file", preset, "Key=b5"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(nlohmann::json::parse(edited.out).at("file"), file("house-\uFFFD\uFFFD-\uFFFD.tonset"));
    EXPECT_EQ(testing::FileContents(preset), testing::WithFields(sim::ThreeDigitText(sim::DesignValues()), {{19, 0}}));

    const auto unanswered =
        testing::RunProgram(EP_CLI_PATH, {"--json", "--timeout", "1", "--device", file("tty-\xFF"), "read"});
    EXPECT_EQ(unanswered.exitCode, 1) << unanswered.err;
    EXPECT_EQ(nlohmann::json::parse(unanswered.out).at("error"),
              "no processor answered on " + file("tty-\uFFFD") + ": " + file("tty-\uFFFD") + " does not exist");
}

TEST_P(CliEndToEndOnAPty, ReadAndLoadWorkThroughSer2net) {
    plugDevice();
    ASSERT_TRUE(ser2net.start(simulator.path(), testing::FreeTcpPort())) << "ser2net did not come up";
    device = ser2net.address();
    const auto read = cli({"read"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, deviceSet() + "\n");
    const std::string preset = testing::WithFields(deviceSet(), {{2, 66}, {200, 9}});
    std::ofstream(file("network.tonset"), std::ios::binary) << preset;
    const auto loaded = cli({"load", file("network.tonset"), "--store"});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    EXPECT_EQ(deviceSet(), preset);
    EXPECT_EQ(storedSet(preset), preset);
}

INSTANTIATE_TEST_SUITE_P(, CliEndToEndOnAPty, ::testing::Values(Transport::Pty), [](const auto&) { return "Pty"; });

} // namespace
} // namespace ep
