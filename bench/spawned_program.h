#pragma once
/// The panel program run as a child process for the benchmarks that need a whole process: offscreen, with
/// its automation hook on, commands written to its standard input and answers read from its standard
/// output, and its memory and CPU read from /proc. No Qt: the timings must not include our own event loop.

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ep::bench {

class SpawnedProgram {
  public:
    SpawnedProgram() = default;
    /// Kills the program if it still runs.
    ~SpawnedProgram();
    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;

    /// Starts the program with these arguments; false with the reason on stderr when it cannot start.
    bool start(const std::string& programPath, const std::vector<std::string>& arguments);
    /// Waits for the "ready" line; the seconds from start() to it, or empty when it did not come in time.
    std::optional<double> waitForReady(int timeoutMs);
    /// Sends one command and returns its answer line; empty when none came in time.
    std::optional<std::string> ask(const std::string& command, int timeoutMs);
    /// Sends "quit" and waits for the end; the exit code, or -1 when it did not end in time (it is then
    /// killed).
    int quit(int timeoutMs);

    pid_t processId() const { return m_pid; }
    /// The peak resident set (VmHWM) in kilobytes; 0 when it cannot be read.
    long peakResidentKilobytes() const;
    /// The CPU time, user and system, that the process has used so far, in seconds.
    double cpuSeconds() const;

  private:
    std::optional<std::string> readLine(int timeoutMs);

    pid_t m_pid = -1;
    int m_input = -1;  ///< our end of its standard input
    int m_output = -1; ///< our end of its standard output
    std::string m_received;
    double m_startSeconds = 0.0;
};

/// The "--com N=PATH" options for COM1..COM10: paths that do not exist, and COM10 on the device when one
/// is given.
std::vector<std::string> PortArguments(const std::string& com10Device = {});

} // namespace ep::bench
