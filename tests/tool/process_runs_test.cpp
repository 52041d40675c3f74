// Many rooms' processes through the host on virtual time: never more at once than allowed or than the
// host has room for, each of the rest started as one ends, the outcomes in the order asked, one that hangs
// killed at its bound without holding back the others, and a stop that ends what runs and starts no more.

#include "test_host.h"
#include "tool/process_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace ep {
namespace {

/// Each process ends with its exit code after the milliseconds its first argument names; "hang" never.
class Plays {
  public:
    explicit Plays(testing::TestHost& host) : m_host(host) {
        host.processStarter = [this](const ProcessRequest& request, std::function<void(const ProcessOutcome&)> ended) {
            ++m_running;
            mostAtOnce = std::max(mostAtOnce, m_running);
            starts.push_back(m_host.now());
            const auto stop = [this, ended](ProcessOutcome outcome) {
                --m_running;
                ended(outcome);
            };
            if (request.arguments.front() == "hang") {
                // The host's kill ends it; the play only counts it out then.
                m_host.callAt(m_host.now() + request.killAfterMs, [this] { --m_running; });
                return;
            }
            const int exitCode = std::stoi(request.arguments.back());
            m_host.callAt(m_host.now() + std::stoi(request.arguments.front()), [stop, exitCode] {
                stop({ProcessOutcome::End::Exited, exitCode, "out " + std::to_string(exitCode), {}, 0});
            });
        };
    }

    int mostAtOnce = 0;
    std::vector<long long> starts;

  private:
    testing::TestHost& m_host;
    int m_running = 0;
};

bool Never() { return false; }
void Untold(std::size_t, const ProcessOutcome&) {}

std::vector<ProcessRequest> Requests(std::vector<std::pair<Text, int>> plays) {
    std::vector<ProcessRequest> requests;
    for (const auto& [duration, exitCode] : plays)
        requests.push_back({"effectpanel-cli", {duration, std::to_string(exitCode)}, 5000});
    return requests;
}

TEST(ProcessRuns, NoMoreRunAtOnceThanAllowedAndEachOfTheRestStartsAsOneEnds) {
    const struct {
        int atOnce;
        int mostAtOnce;
        std::vector<long long> starts;
        std::vector<std::pair<std::size_t, long long>> told; ///< each end as it came: the index and when
    } cases[] = {{4, 4, {0, 0, 0, 0}, {{1, 100}, {3, 200}, {2, 300}, {0, 400}}},
                 {2, 2, {0, 0, 100, 400}, {{1, 100}, {0, 400}, {2, 400}, {3, 600}}},
                 {1, 1, {0, 400, 500, 800}, {{0, 400}, {1, 500}, {2, 800}, {3, 1000}}}};
    for (const auto& c : cases) {
        testing::TestHost host;
        Plays plays(host);
        std::vector<std::pair<std::size_t, long long>> told;
        const std::vector<ProcessOutcome> outcomes =
            RunProcesses(Requests({{"400", 0}, {"100", 1}, {"300", 2}, {"200", 3}}), c.atOnce, Never,
                         [&](std::size_t index, const ProcessOutcome& outcome) {
                             EXPECT_EQ(outcome.exitCode, static_cast<int>(index));
                             told.emplace_back(index, host.now());
                         });
        EXPECT_EQ(plays.mostAtOnce, c.mostAtOnce) << c.atOnce;
        EXPECT_EQ(plays.starts, c.starts) << c.atOnce;
        EXPECT_EQ(told, c.told) << c.atOnce;
        ASSERT_EQ(outcomes.size(), 4u);
        for (int index = 0; index < 4; ++index) {
            EXPECT_EQ(outcomes[static_cast<std::size_t>(index)].exitCode, index) << "in the order asked";
            EXPECT_EQ(outcomes[static_cast<std::size_t>(index)].standardOutput, "out " + std::to_string(index));
        }
    }
}

TEST(ProcessRuns, OneThatHangsIsKilledAtItsBoundAndTheOthersGoOnMeanwhile) {
    testing::TestHost host;
    Plays plays(host);
    const std::vector<ProcessOutcome> outcomes =
        RunProcesses(Requests({{"hang", 0}, {"100", 1}, {"100", 2}, {"100", 3}}), 2, Never, Untold);
    EXPECT_EQ(plays.starts, (std::vector<long long>{0, 0, 100, 200}));
    ASSERT_EQ(outcomes.size(), 4u);
    EXPECT_EQ(outcomes[0].end, ProcessOutcome::End::Killed);
    EXPECT_EQ(outcomes[0].elapsedMs, 5000);
    EXPECT_EQ(outcomes[3].end, ProcessOutcome::End::Exited);
    EXPECT_EQ(outcomes[3].elapsedMs, 100);
    EXPECT_EQ(host.now(), 5000) << "the run ends when the killed one has";
}

TEST(ProcessRuns, AProgramThatCannotStartIsReportedSoForEveryRoom) {
    testing::TestHost host;
    const std::vector<ProcessOutcome> outcomes = RunProcesses(Requests({{"100", 0}, {"100", 0}}), 1, Never, Untold);
    ASSERT_EQ(outcomes.size(), 2u);
    for (const ProcessOutcome& outcome : outcomes)
        EXPECT_EQ(outcome.end, ProcessOutcome::End::NotStarted);
}

TEST(ProcessRuns, TheDefaultIsFourForEachProcessorAndNeverMoreThanTheHostHasRoomFor) {
    const struct {
        int asked;
        unsigned processors;
        int hostRoom;
        int atOnce;
    } cases[] = {
        {0, 2, INT_MAX, 8}, {0, 0, INT_MAX, 4},    {0, 64, 100, 100}, {3, 2, INT_MAX, 3},
        {1000, 2, 43, 43},  {1000, 2, 1000, 1000}, {0, 2, 0, 1},      {1, 2, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProcessesAtOnce(c.asked, c.processors, c.hostRoom), c.atOnce)
            << c.asked << " asked, " << c.processors << " processors, room for " << c.hostRoom;
}

TEST(ProcessRuns, AStopEndsWhatRunsWaitsForItAndStartsNoMore) {
    testing::TestHost host;
    Plays plays(host);
    const std::vector<ProcessOutcome> outcomes = RunProcesses(
        Requests({{"100", 0}, {"hang", 1}, {"500", 2}, {"100", 3}}), 2, [&host] { return host.now() >= 300; }, Untold);
    EXPECT_EQ(plays.starts, (std::vector<long long>{0, 0, 100})) << "none after the stop";
    EXPECT_EQ(host.processStops, (std::vector<Host::ProcessId>{2, 3})) << "those that ran";
    ASSERT_EQ(outcomes.size(), 4u);
    EXPECT_EQ(outcomes[1].end, ProcessOutcome::End::Stopped);
    EXPECT_EQ(outcomes[1].elapsedMs, 1300) << "killed when its grace was over";
    EXPECT_EQ(outcomes[2].end, ProcessOutcome::End::Exited) << "it ended by itself within its grace";
    EXPECT_EQ(outcomes[2].elapsedMs, 500);
    EXPECT_EQ(outcomes[3].end, ProcessOutcome::End::NotStarted);
    EXPECT_EQ(outcomes[3].standardError, "stopped before it started");
    EXPECT_EQ(host.now(), 1300) << "the run ends when the last stopped one has";

    testing::TestHost early;
    Plays none(early);
    for (const ProcessOutcome& outcome : RunProcesses(
             Requests({{"100", 0}}), 2, [] { return true; }, Untold))
        EXPECT_EQ(outcome.end, ProcessOutcome::End::NotStarted);
    EXPECT_TRUE(early.processStarts.empty()) << "a stop before the run starts none";
}

} // namespace
} // namespace ep
