#pragma once
/// Running a program to its end, as a script would: its standard output and error caught, its exit code
/// returned. POSIX processes; for the command-line tool's tests and benchmarks.

#include <string>
#include <vector>

namespace ep::testing {

struct ProgramResult {
    int exitCode = -1; ///< -1 when it did not end in time (it is then killed) or did not start
    std::string out;
    std::string err;
    double seconds = 0; ///< from the start to the end
};

/// With a descriptorLimit, the program's limit of open files is lowered to it, as `ulimit -n` does.
ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& arguments, int timeoutMs = 30000,
                         int descriptorLimit = 0);

/// A TCP port of the loopback address that nobody listens on at the moment.
int FreeTcpPort();

} // namespace ep::testing
