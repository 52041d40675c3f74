#pragma once
/// The panel program run as a child process, for the acceptance tests and the benchmarks that need a
/// whole process: offscreen, with its automation hook on, commands written to its standard input and
/// each answer read as one line of its standard output (the hook's escapes undone); its memory and CPU
/// read from /proc. A program that runs until a signal ends it, such as effectpanel-cli's monitor, has its
/// lines read as they come. No Qt, so that timings do not include an event loop of our own.

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ep::testing {

class SpawnedProgram {
  public:
    SpawnedProgram() = default;
    /// Kills the program if it still runs.
    ~SpawnedProgram();
    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;

    /// Starts the program with these arguments and more environment entries ("NAME=VALUE"); false with
    /// the reason on stderr when it cannot start. Its standard error is ours.
    bool start(const std::string& programPath, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});
    /// Waits for the "ready" line; the seconds from start() to it, or empty when it did not come in time.
    std::optional<double> waitForReady(int timeoutMs);
    /// Seconds since the "ready" line.
    double secondsSinceReady() const;

    /// Sends one command and returns its answer line; "no answer" when none came in time.
    std::string ask(const std::string& command, int timeoutMs = kAnswerTimeoutMs);
    /// The value of an "ok VALUE" answer; the whole answer line when it is not one.
    std::string value(const std::string& command);
    /// Asks until the value equals the expected one; false when the time ran out.
    bool waitForValue(const std::string& command, const std::string& expected, int timeoutMs);

    /// The next line of its standard output, for a program without the hook; empty when none came in
    /// time or the output ended.
    std::optional<std::string> readLine(int timeoutMs);
    /// Sends the signal to the program.
    void signal(int number);

    /// Waits for the program to end by itself; its exit code, or -1 when it did not end in time.
    int waitForExit(int timeoutMs);
    /// Sends "quit" and waits for the end; the exit code, or -1 when it did not end in time (it is then
    /// killed).
    int quit(int timeoutMs);

    pid_t processId() const { return m_pid; }
    /// The processes whose parent it is now.
    std::vector<pid_t> childProcessIds() const;
    /// The peak resident set (VmHWM) in kilobytes; 0 when it cannot be read.
    long peakResidentKilobytes() const;
    /// The CPU time, user and system, that the process has used so far, in seconds.
    double cpuSeconds() const;

    static constexpr int kAnswerTimeoutMs = 5000;

  private:
    pid_t m_pid = -1;
    int m_input = -1;  ///< our end of its standard input
    int m_output = -1; ///< our end of its standard output
    std::string m_received;
    double m_startSeconds = 0.0;
    double m_readySeconds = 0.0;
};

} // namespace ep::testing
