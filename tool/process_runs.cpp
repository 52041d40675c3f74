#include "tool/process_runs.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace ep {
namespace {

constexpr int kProcessesPerProcessor = 4;
/// How long a stopped process has to end before it is killed.
constexpr int kStopGraceMs = 1000;

/// What the outcomes of the processes still come into; shared with them, so that one that ends late
/// finds it still there.
struct Runs {
    std::vector<ProcessRequest> requests;
    std::vector<ProcessOutcome> outcomes;
    std::vector<bool> done;
    std::vector<Host::ProcessId> ids;
    /// Told of each end while the run lasts; one that ends later is not told.
    std::function<void(std::size_t, const ProcessOutcome&)> tellEnded;
    std::size_t atOnce = 0;
    std::size_t started = 0;
    std::size_t running = 0;
    std::size_t ended = 0;
    bool stopping = false;
};

void StartWhatFits(const std::shared_ptr<Runs>& runs) {
    while (!runs->stopping && runs->started < runs->requests.size() && runs->running < runs->atOnce) {
        const std::size_t index = runs->started++;
        ++runs->running;
        runs->ids[index] =
            CurrentHost().startProcess(runs->requests[index], [runs, index](const ProcessOutcome& outcome) {
                runs->outcomes[index] = outcome;
                runs->done[index] = true;
                --runs->running;
                ++runs->ended;
                StartWhatFits(runs);
                if (runs->tellEnded)
                    runs->tellEnded(index, outcome);
            });
    }
}

void StopWhatRuns(Runs& runs) {
    runs.stopping = true;
    for (std::size_t index = 0; index < runs.started; ++index)
        if (!runs.done[index])
            CurrentHost().stopProcess(runs.ids[index], kStopGraceMs);
}

} // namespace

int ProcessesAtOnce(int asked, unsigned processors, int hostRoom) {
    const long long wanted =
        asked > 0 ? asked : static_cast<long long>(std::max(processors, 1u)) * kProcessesPerProcessor;
    return static_cast<int>(std::clamp<long long>(wanted, 1, std::max(hostRoom, 1)));
}

std::vector<ProcessOutcome> RunProcesses(const std::vector<ProcessRequest>& requests, int atOnce,
                                         const std::function<bool()>& stopRequested,
                                         const std::function<void(std::size_t, const ProcessOutcome&)>& ended) {
    auto runs = std::make_shared<Runs>();
    runs->requests = requests;
    runs->tellEnded = ended;
    runs->outcomes.resize(requests.size());
    runs->done.resize(requests.size());
    runs->ids.resize(requests.size());
    runs->atOnce = static_cast<std::size_t>(std::max(atOnce, 1));
    // Every process is killed at its bound, so that all of them one after another bound the wait.
    long long longest = 1000;
    for (const ProcessRequest& request : requests)
        longest += request.killAfterMs + 1000;
    const int waitMs = static_cast<int>(std::min<long long>(longest, INT32_MAX));
    if (!stopRequested())
        StartWhatFits(runs);
    const auto allEnded = [&runs] { return runs->ended == runs->started; };
    CurrentHost().runUntil([&] { return (allEnded() && runs->started == runs->requests.size()) || stopRequested(); },
                           waitMs);
    if (runs->started < runs->requests.size() || !allEnded()) {
        StopWhatRuns(*runs);
        CurrentHost().runUntil(allEnded, kStopGraceMs + 1000);
    }
    runs->tellEnded = nullptr;
    for (std::size_t index = 0; index < requests.size(); ++index) {
        if (index >= runs->started)
            runs->outcomes[index].standardError = "stopped before it started";
        else if (!runs->done[index])
            runs->outcomes[index].standardError = "did not end, and could not be killed";
    }
    return runs->outcomes;
}

} // namespace ep
