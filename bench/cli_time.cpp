// effectpanel-cli from its start to its exit against the simulated processor answering at the pace of a
// 9600 bit/s line: `read` against the connect wait and the line time of what a read exchanges, `load`
// against that, the send-all floor and the read-back, `load --changed` of a preset that differs in 20
// settings against its own floor, and one preset pushed to 1, 4 and 8 rooms at once.
#include "bench/figures.h"
#include "program_run.h"
#include "sim/pty_server.h"
#include "test_ports.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kReadRuns = 5;
constexpr int kLoadRuns = 3;
constexpr int kPushRuns = 3;
constexpr double kConnectWaitSeconds = 0.5;
/// The hello, its answer, the dump request and the 255 values.
constexpr double kReadBytes = 6 + 1 + 6 + 255;
constexpr double kFramePauseSeconds = 0.010;
constexpr double kFrameBytes = 6;
/// 255 frames of six bytes, each with its 10 ms pause.
constexpr double kSendAllFloorSeconds = 255 * kFramePauseSeconds + 255 * kFrameBytes * 10.0 / 9600.0;
/// The dump request and the 255 values of the read-back.
constexpr double kReadBackBytes = 6 + 255;
constexpr int kChangedFields = 20;
constexpr int kRoomCounts[] = {1, 4, 8};

std::vector<double> Time(const std::vector<std::string>& arguments, int runs,
                         const std::function<void()>& beforeEach = {}) {
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        if (beforeEach)
            beforeEach();
        const ep::testing::ProgramResult result = ep::testing::RunProgram(EP_CLI_PATH, arguments, 120000);
        if (result.exitCode != 0) {
            std::fprintf(stderr, "effectpanel-cli failed (%d): %s%s", result.exitCode, result.err.c_str(),
                         result.out.c_str());
            return {};
        }
        seconds.push_back(result.seconds);
    }
    return seconds;
}

/// The set with 20 fields spread over the whole set changed, each to a value its parameter takes.
std::string WithTwentyChanges(std::string set) {
    for (int change = 0; change < kChangedFields; ++change) {
        const std::size_t at = static_cast<std::size_t>(3 * (1 + change * 12) - 3) + 2;
        set[at] = set[at] == '0' ? '1' : '0';
    }
    return set;
}

/// Times one preset pushed with --rooms to that many simulated rooms, all at once; empty when a run failed.
std::vector<double> TimePush(int roomCount, const fs::path& preset) {
    std::vector<std::unique_ptr<ep::sim::PtyServer>> rooms;
    nlohmann::json file = nlohmann::json::array();
    for (int room = 0; room < roomCount; ++room) {
        auto& simulator = *rooms.emplace_back(std::make_unique<ep::sim::PtyServer>());
        if (!simulator.start({})) {
            std::fprintf(stderr, "cannot start a simulated processor: %s\n", simulator.error().c_str());
            return {};
        }
        file.push_back({{"name", "K" + std::to_string(room + 1)}, {"device", simulator.path()}});
    }
    const fs::path roomsFile = fs::temp_directory_path() / "effectpanel-bench-rooms.json";
    std::ofstream(roomsFile) << file.dump();
    const std::vector<double> seconds = Time({"--rooms", roomsFile.string(), "load", preset.string()}, kPushRuns);
    fs::remove(roomsFile);
    return seconds;
}

} // namespace

int main() {
    ep::sim::PtyServer simulator;
    if (!simulator.start({})) {
        std::fprintf(stderr, "cannot start the simulated processor: %s\n", simulator.error().c_str());
        return 1;
    }
    const std::vector<std::string> ports = ep::testing::PortArguments(simulator.path());

    std::vector<std::string> read = ports;
    read.push_back("read");
    const std::vector<double> reads = Time(read, kReadRuns);

    const std::string deviceSet = ep::sim::ThreeDigitText(simulator.values());
    const fs::path preset = fs::temp_directory_path() / "effectpanel-bench-load.tonset";
    std::ofstream(preset, std::ios::binary) << deviceSet;
    std::vector<std::string> load = ports;
    load.insert(load.end(), {"load", preset.string()});
    const std::vector<double> loads = Time(load, kLoadRuns);

    // The device back at its own set before each run, so that each finds the same 20 differences.
    const fs::path changedPreset = fs::temp_directory_path() / "effectpanel-bench-changed.tonset";
    std::ofstream(changedPreset, std::ios::binary) << WithTwentyChanges(deviceSet);
    std::vector<std::string> changed = ports;
    changed.insert(changed.end(), {"load", changedPreset.string(), "--changed"});
    const std::vector<double> changedLoads = Time(changed, kLoadRuns, [&] {
        for (int field = 1; field <= 255; ++field)
            simulator.setValue(field, static_cast<std::uint8_t>(std::stoi(deviceSet.substr(3 * field - 3, 3))));
    });

    std::vector<std::vector<double>> pushes;
    for (const int roomCount : kRoomCounts)
        pushes.push_back(TimePush(roomCount, preset));
    fs::remove(preset);
    fs::remove(changedPreset);
    if (reads.empty() || loads.empty() || changedLoads.empty() ||
        std::any_of(pushes.begin(), pushes.end(), [](const auto& push) { return push.empty(); }))
        return 1;

    const double readFloor = kConnectWaitSeconds + ep::bench::LineSeconds(kReadBytes);
    const double loadFloor = readFloor + kSendAllFloorSeconds + ep::bench::LineSeconds(kReadBackBytes);
    const double changedFloor = kConnectWaitSeconds + 2 * ep::bench::LineSeconds(kReadBytes) +
                                kChangedFields * (kFramePauseSeconds + ep::bench::LineSeconds(kFrameBytes));
    std::printf("effectpanel-cli: read %d runs, load %d runs, each from start to exit\n", kReadRuns, kLoadRuns);
    ep::bench::Report("  read, median", ep::bench::Median(reads) * 1000, readFloor * 1000, "ms",
                      "500 ms connect wait + 268 bytes at 9600 bit/s", ep::bench::Target::AtMost, 1.25);
    ep::bench::Report("  load, median", ep::bench::Median(loads) * 1000, loadFloor * 1000, "ms",
                      "the read's floor + the send-all's 4.14 s + the read-back's 261 bytes", ep::bench::Target::AtMost,
                      1.05);
    ep::bench::Report("  load --changed of 20 settings, median", ep::bench::Median(changedLoads) * 1000,
                      changedFloor * 1000, "ms", "500 ms + two reads of 268 bytes + 20 frames with their 10 ms",
                      ep::bench::Target::AtMost, 1.2);
    std::printf("  load --changed against the full load: %.3f of its time\n",
                ep::bench::Median(changedLoads) / ep::bench::Median(loads));
    std::printf("one preset pushed with --rooms to rooms at once, %d runs each, from start to exit\n", kPushRuns);
    for (std::size_t index = 0; index < pushes.size(); ++index)
        std::printf("  %d room(s), median: %.0f ms (fastest %.0f, slowest %.0f)\n", kRoomCounts[index],
                    ep::bench::Median(pushes[index]) * 1000,
                    *std::min_element(pushes[index].begin(), pushes[index].end()) * 1000,
                    ep::bench::Maximum(pushes[index]) * 1000);
    ep::bench::Report("  8 rooms against 1 room, median", ep::bench::Median(pushes.back()) * 1000,
                      ep::bench::Median(pushes.front()) * 1000, "ms", "one room's push", ep::bench::Target::AtMost,
                      1.15);
    return 0;
}
