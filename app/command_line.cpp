#include "app/command_line.h"

#include <charconv>
#include <string_view>

namespace ep {
namespace {

constexpr int kHighestComPort = 10;

/// Reads "N=DEVICE"; false when it is not of that form.
bool ParseComMapping(std::string_view argument, CommandLine& commandLine) {
    const auto equals = argument.find('=');
    if (equals == std::string_view::npos || equals + 1 == argument.size())
        return false;
    int number = 0;
    const auto digits = argument.substr(0, equals);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 1 || number > kHighestComPort)
        return false;
    commandLine.comDevices[number] = Text(argument.substr(equals + 1));
    return true;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine commandLine;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            commandLine.help = true;
        } else if (argument == "--version") {
            commandLine.version = true;
        } else if (argument == "--simulate") {
            commandLine.simulate = true;
        } else if (argument == "--com" || argument.starts_with("--com=")) {
            std::string_view mapping;
            if (argument == "--com") {
                if (i + 1 >= argc) {
                    commandLine.error = "option '--com' needs an argument N=DEVICE";
                    return commandLine;
                }
                mapping = argv[++i];
            } else {
                mapping = argument.substr(6);
            }
            if (!ParseComMapping(mapping, commandLine)) {
                commandLine.error = "invalid --com argument '" + Text(mapping) +
                                    "': expected N=DEVICE with N from 1 to 10, e.g. --com 5=/dev/ttyUSB0";
                return commandLine;
            }
        } else if (argument.starts_with("--")) {
            commandLine.error = "unknown option '" + Text(argument) + "'";
            return commandLine;
        }
    }
    return commandLine;
}

Text HelpText() {
    return "Usage: effectpanel [OPTION]...\n"
           "Control panel for a KTV effect processor on a serial port.\n"
           "The panel scans COM1..COM10 by itself and comes online when the processor answers.\n"
           "\n"
           "Options:\n"
           "  --com N=DEVICE  use DEVICE (any serial device or pseudo-terminal) as COM port N (1..10);\n"
           "                  may be given more than once. Default mapping on Linux: COM1..COM4 =\n"
           "                  /dev/ttyS0..3, COM5..COM8 = /dev/ttyUSB0..3, COM9, COM10 = /dev/ttyACM0, 1\n"
           "  --simulate      start the built-in simulated processor on a pseudo-terminal as COM10\n"
           "  -h, --help      show this help and exit\n"
           "      --version   show the version and exit\n"
           "\n"
           "Opening a serial port needs permission: on Debian add yourself to the dialout group\n"
           "(sudo adduser $USER dialout) and log in again.\n";
}

Text VersionText() { return "effectpanel 0.1.0\n"; }

} // namespace ep
