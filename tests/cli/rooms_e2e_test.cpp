// effectpanel-cli in a venue: five simulated rooms, on pseudo-terminals and on TCP, each answering as fast
// as its line takes it, and the tool run with --rooms as an installer runs it.

#include "program_run.h"
#include "set_texts.h"
#include "silent_listener.h"
#include "sim/design_values.h"
#include "sim/pty_server.h"
#include "spawned_program.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace ep {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRooms = 5;

/// One room's simulated processor, with when the first and the last frame of the tool reached it.
struct SimulatedRoom {
    std::string name;
    sim::PtyServer simulator;
    std::mutex mutex;
    Clock::time_point firstFrame{};
    Clock::time_point lastFrame{};

    std::string set() const { return sim::ThreeDigitText(simulator.values()); }
    std::pair<Clock::time_point, Clock::time_point> frames() {
        std::lock_guard lock(mutex);
        return {firstFrame, lastFrame};
    }
};

class Venue : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "effectpanel-venue-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        for (auto& room : rooms)
            room->simulator.stop();
        fs::remove_all(folder);
    }

    /// Five rooms, the second and the fourth on TCP, each starting from values of its own; options
    /// changes a room's before it starts serving. The rooms file names them in order.
    void openVenue(const std::function<void(int room, sim::ServerOptions&)>& options = {}) {
        const char* names[kRooms] = {"K01", "K02", "VIP/3", "包厢4", "K05"};
        nlohmann::json file = nlohmann::json::array();
        for (int index = 0; index < kRooms; ++index) {
            auto& room = *rooms.emplace_back(std::make_unique<SimulatedRoom>());
            room.name = names[index];
            sim::ServerOptions server;
            server.baud = 0;
            if (index % 2 == 1)
                server.tcpPort = 0;
            server.changedValues = {{3, static_cast<std::uint8_t>(40 + index)},
                                    {200, static_cast<std::uint8_t>(index)}};
            if (options)
                options(index, server);
            const auto observer = server.frameObserver;
            server.frameObserver = [&room, observer](const sim::ParsedFrame& frame) {
                {
                    std::lock_guard lock(room.mutex);
                    if (room.firstFrame == Clock::time_point{})
                        room.firstFrame = Clock::now();
                    room.lastFrame = Clock::now();
                }
                if (observer)
                    observer(frame);
            };
            ASSERT_TRUE(room.simulator.start(server)) << room.simulator.error();
            file.push_back({{"name", room.name}, {"device", room.simulator.path()}});
        }
        std::ofstream(roomsFile()) << file.dump(2);
    }

    std::string roomsFile() const { return (folder / "rooms.json").string(); }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    testing::ProgramResult cli(std::vector<std::string> words) {
        words.insert(words.begin(), {"--rooms", roomsFile(), "--timeout", "3"});
        return testing::RunProgram(EP_CLI_PATH, words);
    }

    /// The rooms' results of a --json run, in order.
    static std::vector<std::string> Results(const nlohmann::json& report) {
        std::vector<std::string> results;
        for (const auto& room : report.at("rooms"))
            results.push_back(room.at("result"));
        return results;
    }

    std::vector<std::unique_ptr<SimulatedRoom>> rooms;
    fs::path folder;
};

TEST_F(Venue, ABackupWritesOneFileForEachRoomThatHoldsItsMemory) {
    openVenue();
    const auto backup = cli({"read", "-o", path("backup")});
    ASSERT_EQ(backup.exitCode, 0) << backup.err;
    const char* files[kRooms] = {"K01.tonset", "K02.tonset", "VIP_3.tonset", "包厢4.tonset", "K05.tonset"};
    for (int index = 0; index < kRooms; ++index)
        EXPECT_EQ(testing::FileContents(folder / "backup" / files[index]),
                  rooms[static_cast<std::size_t>(index)]->set())
            << files[index];
    EXPECT_NE(backup.out.find("包厢4  "), std::string::npos) << backup.out;
    EXPECT_NE(backup.out.find("5 rooms: 5 done"), std::string::npos) << backup.out;
}

TEST_F(Venue, ABackupIntoAHostileFolderWritesNothingOutsideItAndStillBacksUpTheOtherRooms) {
    openVenue();
    const fs::path backup = folder / "backup";
    fs::create_directory(backup);
    std::ofstream(path("victim")) << "mine";
    const struct {
        const char* file;
        std::function<void(const fs::path&)> plant;
        std::string reason;
    } names[kRooms] = {
        {"K01.tonset", [this](const fs::path& at) { fs::create_symlink(path("victim"), at); }, "是符号链接"},
        {"K02.tonset", [this](const fs::path& at) { fs::create_symlink(path("planted"), at); }, "是符号链接"},
        {"VIP_3.tonset", [](const fs::path& at) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); }, "不是普通文件"},
        {"包厢4.tonset",
         [](const fs::path& at) {
             std::ofstream(at) << "old";
             fs::permissions(at, fs::perms::owner_read);
         },
         "文件是只读的"},
        {"K05.tonset", [](const fs::path&) {}, ""},
    };
    for (const auto& name : names)
        name.plant(backup / name.file);
    const auto run = cli({"--json", "read", "-o", backup.string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(Results(report),
              (std::vector<std::string>{"refused file", "refused file", "refused file", "refused file", "done"}));
    for (std::size_t index = 0; index + 1 < kRooms; ++index)
        EXPECT_NE(report.at("rooms")[index].value("error", "").find(names[index].reason), std::string::npos)
            << report.at("rooms")[index];
    EXPECT_EQ(testing::FileContents(path("victim")), "mine");
    EXPECT_FALSE(fs::exists(fs::symlink_status(path("planted"))));
    EXPECT_TRUE(fs::is_symlink(backup / "K01.tonset"));
    EXPECT_TRUE(fs::is_fifo(backup / "VIP_3.tonset"));
    EXPECT_EQ(testing::FileContents(backup / "包厢4.tonset"), "old");
    EXPECT_EQ(testing::FileContents(backup / "K05.tonset"), rooms[4]->set());
    EXPECT_EQ(std::distance(fs::directory_iterator(backup), fs::directory_iterator()), kRooms);
}

TEST_F(Venue, APushNamesTheSilentRoomAndTheOneThatDidNotKeepItAndTheOthersHoldThePreset) {
    openVenue([this](int room, sim::ServerOptions& options) {
        if (room == 1)
            options.device.faults.silent = true;
        // A knob turned in the fourth room just as the last setting of the preset arrived.
        if (room == 3)
            options.frameObserver = [this](const sim::ParsedFrame& frame) {
                if (frame.kind == sim::FrameKind::BulkParameter && frame.address == 66 && frame.channel == 5)
                    rooms[3]->simulator.setValue(34, 2);
            };
    });
    const std::string preset = testing::WithFields(sim::ThreeDigitText(sim::DesignValues()), {{34, 13}, {19, 7}});
    std::ofstream(path("house.tonset"), std::ios::binary) << preset;
    const auto pushed = cli({"--json", "load", path("house.tonset")});
    EXPECT_EQ(pushed.exitCode, 1) << pushed.err;
    const nlohmann::json report = nlohmann::json::parse(pushed.out);
    EXPECT_EQ(Results(report), (std::vector<std::string>{"done", "no answer", "done", "not taken", "done"}));
    const nlohmann::json& kept = report.at("rooms")[3].at("report").at("differences");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].at("name"), "MIC2 1KHZ");
    EXPECT_EQ(kept[0].at("actual"), "-8dB");
    for (const int room : {0, 2, 4})
        EXPECT_EQ(rooms[static_cast<std::size_t>(room)]->set(), preset) << rooms[static_cast<std::size_t>(room)]->name;
    EXPECT_EQ(report.at("rooms")[0].at("file"), path("house.tonset")) << "the user's preset, not a copy";
    EXPECT_EQ(report.at("rooms")[0].at("report").at("file"), path("house.tonset"));

    // Each room is told once on standard error with its outcome (the order of the ends is the process
    // runs' own test, on virtual time: here a loaded machine may finish a room after the silent one).
    std::vector<std::string> told;
    std::istringstream lines(pushed.err);
    for (std::string line; std::getline(lines, line);)
        told.push_back(line);
    ASSERT_EQ(told.size(), 5u) << pushed.err;
    const auto toldOnce = [&told](const std::string& start) {
        return std::count_if(told.begin(), told.end(),
                             [&start](const std::string& line) { return line.rfind(start, 0) == 0; }) == 1;
    };
    EXPECT_TRUE(toldOnce("effectpanel-cli: room 'K02' (" + rooms[1]->simulator.path() + "): no answer, "))
        << pushed.err;
    EXPECT_TRUE(toldOnce("effectpanel-cli: room '包厢4' (" + rooms[3]->simulator.path() + "): not taken: 1 setting, "))
        << pushed.err;
    for (const int room : {0, 2, 4})
        EXPECT_TRUE(toldOnce("effectpanel-cli: room '" + rooms[static_cast<std::size_t>(room)]->name + "' (" +
                             rooms[static_cast<std::size_t>(room)]->simulator.path() + "): done: not stored, "))
            << pushed.err;

    const auto stored = cli({"--only", "K01", "load", path("house.tonset"), "--store"});
    EXPECT_EQ(stored.exitCode, 0) << stored.err;
    EXPECT_NE(stored.out.find("done: stored"), std::string::npos) << stored.out;
}

TEST_F(Venue, OnlyTheRoomsNamedAreTouchedAndOneJobRunsThemOneAfterTheOther) {
    openVenue();
    const auto read = cli({"--json", "--only", "K02,包厢4,k05", "--jobs", "1", "read"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const nlohmann::json report = nlohmann::json::parse(read.out);
    ASSERT_EQ(report.at("rooms").size(), 3u);
    EXPECT_EQ(report.at("rooms")[1].at("name"), "包厢4");
    EXPECT_EQ(report.at("rooms")[2].at("report").at("set"), rooms[4]->set());
    for (const int untouched : {0, 2})
        EXPECT_EQ(rooms[static_cast<std::size_t>(untouched)]->simulator.counters().bytesReceived, 0u);
    // Each room's last frame reached it before the next room's first.
    EXPECT_LT(rooms[1]->frames().second, rooms[3]->frames().first);
    EXPECT_LT(rooms[3]->frames().second, rooms[4]->frames().first);
}

TEST_F(Venue, DiffTellsWhereTwoPresetsOrARoomAndAPresetDiffer) {
    openVenue();
    const std::string house =
        testing::WithFields(sim::ThreeDigitText(sim::DesignValues()), {{14, 1}, {34, 13}, {40, 12}});
    std::ofstream(path("house.tonset"), std::ios::binary) << house;
    std::ofstream(path("late.tonset"), std::ios::binary) << testing::WithFields(house, {{34, 8}, {40, 10}});
    const auto presets = testing::RunProgram(EP_CLI_PATH, {"diff", path("house.tonset"), path("late.tonset")});
    EXPECT_EQ(presets.exitCode, 1) << presets.err;
    EXPECT_EQ(presets.out, "MIC2 1KHZ: +3dB → -2dB\n"
                           "MIC3 57HZ: +2dB → 0dB  (not in the selected modes)\n"
                           "2 settings differ, 1 of them outside the selected modes\n");
    EXPECT_EQ(testing::RunProgram(EP_CLI_PATH, {"diff", path("house.tonset"), path("house.tonset")}).exitCode, 0);
    EXPECT_EQ(testing::RunProgram(EP_CLI_PATH, {"diff", path("house.tonset"), path("none.tonset")}).exitCode, 2);

    ASSERT_TRUE(rooms[2]->simulator.setValue(34, 13));
    const auto room = cli({"diff", "vip/3", path("house.tonset")});
    EXPECT_EQ(room.exitCode, 1) << room.err;
    EXPECT_NE(room.out.find("Music_Vol: 42 → 20\n"), std::string::npos) << room.out;
    EXPECT_EQ(room.out.find("MIC2 1KHZ"), std::string::npos) << "the room took it";

    const auto table = cli({"--json", "--only", "K01,VIP/3", "diff", path("house.tonset")});
    EXPECT_EQ(table.exitCode, 1) << table.err;
    const nlohmann::json report = nlohmann::json::parse(table.out);
    EXPECT_EQ(Results(report), (std::vector<std::string>{"differs", "differs"}));
    // Music_Vol, MIC_MODE, MIC2 1KHZ, MIC3 57HZ and field 200 of each room's own start; not MIC2 1KHZ in VIP/3.
    EXPECT_EQ(report.at("rooms")[0].at("differences").size(), 5u);
    EXPECT_EQ(report.at("rooms")[1].at("differences").size(), 4u);
    EXPECT_EQ(report.at("rooms")[1].at("differences")[1].at("name"), "MIC_MODE");
    EXPECT_EQ(report.at("rooms")[1].at("differences")[2].at("name"), "MIC3 57HZ");
}

TEST_F(Venue, ARefusedRoomsFileOrNameTouchesNoRoom) {
    openVenue();
    const std::string other = testing::WithFields(sim::ThreeDigitText(sim::DesignValues()), {{13, 250}});
    std::ofstream(path("other.tonset"), std::ios::binary) << other;
    std::ofstream(path("empty.tonset"), std::ios::binary) << "";
    std::ofstream(path("broken.json")) << "[\n  {\"name\": \"K01\", \"device\": \"" << rooms[0]->simulator.path()
                                       << "\"},\n  {\"name\": \"K02\", \"device\": \"tcp:host\"}\n]\n";
    const struct {
        std::vector<std::string> words;
        std::string said;
    } cases[] = {
        {{"--rooms", path("broken.json"), "read"},
         path("broken.json") + ":3: room 'K02': 'tcp:host' is not of the form tcp:HOST:PORT"},
        {{"--rooms", roomsFile(), "--only", "K01,K9", "read"}, "no room is named 'K9' in " + roomsFile()},
        {{"--rooms", roomsFile(), "load"}, "room 'K01' (line 2) has no preset, and load names none"},
        {{"--rooms", roomsFile(), "restore"}, "'restore' is not run in rooms"},
        {{"--rooms", roomsFile(), "set", "Key=#9"}, "'#9' is no value of Key"},
        {{"--rooms", roomsFile(), "load", path("other.tonset")}, "KTV_MODE: 250 (0 … 7, KTV1 … EFF4)"},
        {{"--rooms", roomsFile(), "load", path("empty.tonset")}, "is empty"},
    };
    for (const auto& c : cases) {
        const auto refused = testing::RunProgram(EP_CLI_PATH, c.words);
        EXPECT_EQ(refused.exitCode, 2) << c.said;
        EXPECT_NE(refused.err.find(c.said), std::string::npos) << refused.err;
    }
    for (const auto& room : rooms)
        EXPECT_EQ(room->simulator.counters().bytesReceived, 0u) << room->name;

    const auto forced = cli({"--only", "K01", "load", path("other.tonset"), "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(rooms[0]->set(), other);
}

TEST_F(Venue, AThousandRoomsWithoutTheirDevicesAllEndNoAnswerWithinTheLimitOfOpenFiles) {
    constexpr int kManyRooms = 1000;
    nlohmann::json file = nlohmann::json::array();
    for (int room = 0; room < kManyRooms; ++room)
        file.push_back(
            {{"name", "R" + std::to_string(room)}, {"device", path("unplugged/tty" + std::to_string(room))}});
    std::ofstream(roomsFile()) << file.dump();
    // All at once, as asked, under a limit of open files that leaves room for some 40 of them.
    const auto run = testing::RunProgram(
        EP_CLI_PATH, {"--rooms", roomsFile(), "--timeout", "1", "--jobs", "1000", "--json", "read"}, 600000, 256);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("--jobs 1000 lowered to "), std::string::npos) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    ASSERT_EQ(report.at("rooms").size(), static_cast<std::size_t>(kManyRooms));
    for (const auto& room : report.at("rooms"))
        if (room.at("result") != "no answer")
            FAIL() << room.dump() << "\n" << run.err.substr(0, 2000);
}

TEST_F(Venue, ASignalStopsTheRoomsRemovesTheCopiesOfThePresetAndEndsWithItsStatus) {
    // Rooms whose servers never take the connection wait for them for the whole --timeout.
    nlohmann::json file = nlohmann::json::array();
    std::vector<std::unique_ptr<testing::SilentListener>> servers;
    for (const char* room : {"K01", "K02", "K03"}) {
        servers.push_back(std::make_unique<testing::SilentListener>());
        ASSERT_TRUE(servers.back()->start());
        file.push_back({{"name", room}, {"device", servers.back()->address()}});
    }
    std::ofstream(roomsFile()) << file.dump();
    std::ofstream(path("house.tonset"), std::ios::binary) << sim::ThreeDigitText(sim::DesignValues());
    for (const int signal : {SIGTERM, SIGINT}) {
        const fs::path temporary = folder / ("tmp-" + std::to_string(signal));
        fs::create_directory(temporary);
        testing::SpawnedProgram rooms;
        ASSERT_TRUE(rooms.start(EP_CLI_PATH, {"--rooms", roomsFile(), "--timeout", "60", "load", path("house.tonset")},
                                {"TMPDIR=" + temporary.string()}));
        std::vector<pid_t> children;
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while ((children = rooms.childProcessIds()).size() < 3 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(children.size(), 3u) << "the rooms' processes did not all start";
        ASSERT_FALSE(fs::is_empty(temporary)) << "the copies of the preset are made";

        rooms.signal(signal);
        EXPECT_EQ(rooms.waitForExit(10000), 128 + signal) << signal;
        for (const pid_t child : children)
            EXPECT_TRUE(kill(child, 0) != 0 && errno == ESRCH) << "room process " << child << " still there";
        EXPECT_TRUE(fs::is_empty(temporary)) << "the copies of the preset are left behind";
    }
}

TEST_F(Venue, AFolderThatIsNotUtf8IsRefusedBeforeAnyRoomIsTouched) {
    openVenue();
    // An overlong form of NUL and a byte that starts no character: neither reaches a process unchanged.
    const std::string backup = path("backup-\xC0\x80-\xFF");
    const auto refused = cli({"read", "-o", backup});
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find("is not UTF-8"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(backup));
    for (const auto& room : rooms)
        EXPECT_EQ(room->simulator.counters().bytesReceived, 0u) << room->name;
}

} // namespace
} // namespace ep
