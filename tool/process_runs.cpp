#include "tool/process_runs.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace ep {
namespace {

/// What the outcomes of the processes still come into; shared with them, so that one that ends late
/// finds it still there.
struct Runs {
    std::vector<ProcessRequest> requests;
    std::vector<ProcessOutcome> outcomes;
    std::vector<bool> done;
    std::size_t atOnce = 0;
    std::size_t started = 0;
    std::size_t running = 0;
    std::size_t ended = 0;
};

void StartWhatFits(const std::shared_ptr<Runs>& runs) {
    while (runs->started < runs->requests.size() && runs->running < runs->atOnce) {
        const std::size_t index = runs->started++;
        ++runs->running;
        CurrentHost().startProcess(runs->requests[index], [runs, index](const ProcessOutcome& outcome) {
            runs->outcomes[index] = outcome;
            runs->done[index] = true;
            --runs->running;
            ++runs->ended;
            StartWhatFits(runs);
        });
    }
}

} // namespace

std::vector<ProcessOutcome> RunProcesses(const std::vector<ProcessRequest>& requests, int atOnce) {
    auto runs = std::make_shared<Runs>();
    runs->requests = requests;
    runs->outcomes.resize(requests.size());
    runs->done.resize(requests.size());
    runs->atOnce = atOnce > 0 ? static_cast<std::size_t>(atOnce) : requests.size();
    // Every process is killed at its bound, so that all of them one after another bound the wait.
    long long longest = 1000;
    for (const ProcessRequest& request : requests)
        longest += request.killAfterMs + 1000;
    StartWhatFits(runs);
    CurrentHost().runUntil([&runs] { return runs->ended == runs->requests.size(); },
                           static_cast<int>(std::min<long long>(longest, INT32_MAX)));
    for (std::size_t index = 0; index < requests.size(); ++index)
        if (!runs->done[index])
            runs->outcomes[index].standardError = "did not end, and could not be killed";
    return runs->outcomes;
}

} // namespace ep
