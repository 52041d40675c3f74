// The Qt host's child processes as the rooms of the command-line tool use them: what a child printed
// and how it ended, a child that runs past its bound killed, one that cannot start reported, never inside
// the start.

#include "qt/headless_host.h"

#include <gtest/gtest.h>

#include <optional>

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

} // namespace
} // namespace ep::qt
