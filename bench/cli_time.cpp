// effectpanel-cli from its start to its exit against the simulated processor answering at the pace of a
// 9600 bit/s line: `read` against the connect wait and the line time of what a read exchanges, `load`
// against that, the send-all floor and the read-back.
#include "bench/figures.h"
#include "program_run.h"
#include "sim/pty_server.h"
#include "test_ports.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr int kReadRuns = 5;
constexpr int kLoadRuns = 3;
constexpr double kConnectWaitSeconds = 0.5;
/// The hello, its answer, the dump request and the 255 values.
constexpr double kReadBytes = 6 + 1 + 6 + 255;
/// 255 frames of six bytes, each with its 10 ms pause.
constexpr double kSendAllFloorSeconds = 255 * 0.010 + 255 * 6 * 10.0 / 9600.0;
/// The dump request and the 255 values of the read-back.
constexpr double kReadBackBytes = 6 + 255;

std::vector<double> Time(const std::vector<std::string>& arguments, int runs) {
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const ep::testing::ProgramResult result = ep::testing::RunProgram(EP_CLI_PATH, arguments);
        if (result.exitCode != 0) {
            std::fprintf(stderr, "effectpanel-cli failed (%d): %s", result.exitCode, result.err.c_str());
            return {};
        }
        seconds.push_back(result.seconds);
    }
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

    const auto preset = std::filesystem::temp_directory_path() / "effectpanel-bench-load.tonset";
    std::ofstream(preset, std::ios::binary) << ep::sim::ThreeDigitText(simulator.values());
    std::vector<std::string> load = ports;
    load.insert(load.end(), {"load", preset.string()});
    const std::vector<double> loads = Time(load, kLoadRuns);
    std::filesystem::remove(preset);
    if (reads.empty() || loads.empty())
        return 1;

    const double readFloor = kConnectWaitSeconds + ep::bench::LineSeconds(kReadBytes);
    const double loadFloor = readFloor + kSendAllFloorSeconds + ep::bench::LineSeconds(kReadBackBytes);
    std::printf("effectpanel-cli: read %d runs, load %d runs, each from start to exit\n", kReadRuns, kLoadRuns);
    ep::bench::Report("  read, median", ep::bench::Median(reads) * 1000, readFloor * 1000, "ms",
                      "500 ms connect wait + 268 bytes at 9600 bit/s", ep::bench::Target::AtMost, 1.25);
    ep::bench::Report("  load, median", ep::bench::Median(loads) * 1000, loadFloor * 1000, "ms",
                      "the read's floor + the send-all's 4.14 s + the read-back's 261 bytes", ep::bench::Target::AtMost,
                      1.05);
    return 0;
}
