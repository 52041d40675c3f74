// The Qt host's child processes as the rooms of the command-line tool use them: what a child printed
// and how it ended, a child that runs past its bound killed, one that cannot start reported, never inside
// the start; a stop that terminates a child and kills one that does not end, and the room that the limit
// of open files leaves for children.

#include "qt/headless_host.h"
#include "temp_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sys/resource.h>

namespace ep::qt {
namespace {

struct Case {
    const char* script;
    ProcessOutcome::End end;
    int exitCode;
    const char* out;
    const char* err;
};

ProcessOutcome RunToEnd(Host& host, const ProcessRequest& request) {
    std::optional<ProcessOutcome> outcome;
    host.startProcess(request, [&outcome](const ProcessOutcome& ended) { outcome = ended; });
    EXPECT_FALSE(outcome) << "reported inside the start";
    EXPECT_TRUE(host.runUntil([&outcome] { return outcome.has_value(); }, 10000));
    return outcome.value_or(ProcessOutcome{});
}

TEST(ChildProcess, EndsAsTheProgramEndsOrAtItsBoundWithItsOutputCaught) {
    HeadlessHost host;
    const Case cases[] = {
        {"printf 'out\\n'; printf 'err\\n' >&2; exit 3", ProcessOutcome::End::Exited, 3, "out\n", "err\n"},
        {"read line; echo \"[$line]\"", ProcessOutcome::End::Exited, 0, "[]\n", ""},
        {"kill -SEGV $$", ProcessOutcome::End::Crashed, -1, "", ""},
        {"echo begun; exec sleep 30", ProcessOutcome::End::Killed, -1, "begun\n", ""},
    };
    for (const Case& c : cases) {
        const ProcessOutcome outcome = RunToEnd(host, {"/bin/sh", {"-c", c.script}, 1000});
        EXPECT_EQ(outcome.end, c.end) << c.script;
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.script;
        EXPECT_EQ(outcome.standardOutput, c.out) << c.script;
        EXPECT_EQ(outcome.standardError, c.err) << c.script;
        if (c.end == ProcessOutcome::End::Killed) {
            EXPECT_GE(outcome.elapsedMs, 1000) << "not before its bound";
        }
    }
}

TEST(ChildProcess, AProgramThatCannotStartIsReportedWithTheReason) {
    HeadlessHost host;
    const ProcessOutcome outcome = RunToEnd(host, {"/nonexistent/effectpanel-cli", {}, 1000});
    EXPECT_EQ(outcome.end, ProcessOutcome::End::NotStarted);
    EXPECT_FALSE(outcome.standardError.empty());
}

TEST(ChildProcess, AStopTerminatesTheChildAndKillsOneThatDoesNotEnd) {
    HeadlessHost host;
    const std::filesystem::path ready = testing::UniqueTempPath("effectpanel-child-ready");
    const struct {
        const char* script;
        bool endsOnTerminate;
    } cases[] = {{"true", true}, {"trap '' TERM", false}};
    for (const auto& c : cases) {
        std::filesystem::remove(ready);
        std::optional<ProcessOutcome> outcome;
        // The child says when it is ready for the stop: a shell that has not set its trap yet ends on it.
        const Host::ProcessId id = host.startProcess(
            {"/bin/sh", {"-c", std::string(c.script) + "; : > \"$0\"; exec sleep 30", ready.string()}, 60000},
            [&outcome](const ProcessOutcome& ended) { outcome = ended; });
        ASSERT_TRUE(host.runUntil([&ready] { return std::filesystem::exists(ready); }, 10000));
        host.stopProcess(id, 1000);
        ASSERT_TRUE(host.runUntil([&outcome] { return outcome.has_value(); }, 10000));
        EXPECT_EQ(outcome->end, ProcessOutcome::End::Stopped) << c.script;
        if (c.endsOnTerminate)
            EXPECT_LT(outcome->elapsedMs, 1000) << "not held for the grace";
        else
            EXPECT_GE(outcome->elapsedMs, 1000) << "killed once the grace was over";
    }
    std::filesystem::remove(ready);
}

TEST(ChildProcess, TheRoomForChildrenIsWhatTheLimitOfOpenFilesLeaves) {
    HeadlessHost host;
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
    rlimit lowered = before;
    std::vector<int> rooms;
    for (const rlim_t limit : {rlim_t{256}, rlim_t{512}}) {
        lowered.rlim_cur = std::min(limit, before.rlim_max);
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
        rooms.push_back(host.childProcessRoom());
    }
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &before), 0);
    EXPECT_GE(rooms[0], 1);
    EXPECT_LT(rooms[0], 256 / 3) << "each child holds some three descriptors while it runs";
    EXPECT_EQ(rooms[1] - rooms[0], 256 / 5) << "five for each, to be safe";
}

} // namespace
} // namespace ep::qt
