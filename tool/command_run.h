#pragma once
/// One run of a command of effectpanel-cli: the lines it tells a person, its message on standard error
/// when it fails, and the one JSON object it prints for scripts with --json; with what the commands
/// share about presets and messages.

#include "tool/cli_options.h"

#include <nlohmann/json.hpp>

namespace ep {

inline constexpr int kExitDone = 0;
inline constexpr int kExitDevice = 1;
inline constexpr int kExitUsage = 2;

class Run {
  public:
    explicit Run(const CliOptions& options);

    const CliOptions& options() const { return m_options; }
    int timeoutMs() const { return m_options.timeoutSeconds * 1000; }
    const std::vector<Text>& words() const { return m_options.arguments; }
    /// Where the processor is looked for, as the user is told.
    Text ports() const { return m_options.device.empty() ? Text("COM1..COM10") : m_options.device; }

    /// A line for a person; left out of the JSON output.
    void say(const Text& line) const;

    /// Ends the command with the code, telling why on standard error.
    int fail(int code, const Text& message);

    /// Ends the command with the code, and the panel's trace with it: a trace that could not be written
    /// whole makes the code kExitUsage, as a refused file does.
    int finish(int code);

    nlohmann::ordered_json result;

  private:
    const CliOptions& m_options;
};

/// A message for the user on one line, as the panel's boxes are told: its line breaks become "；".
Text OnOneLine(Text message);

/// The design-time set of the window definition, which an empty preset stands for.
Text DesignTimeSet();

} // namespace ep
