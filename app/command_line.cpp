#include "app/command_line.h"

#include "app/com_option.h"

#include <array>
#include <string_view>

namespace ep {
namespace {

/// A single-dash option that the platform toolkit documents as its own and takes out of the arguments
/// itself: whether the next argument is its value, and whether the value may follow an '=' instead.
struct ToolkitOption {
    std::string_view name;
    bool takesValue;
    bool mayJoinValue;
};

constexpr std::array<ToolkitOption, 18> kToolkitOptions{{
    {"-platform", true, false},
    {"-platformpluginpath", true, false},
    {"-platformtheme", true, false},
    {"-plugin", true, false},
    {"-qmljsdebugger", true, true},
    {"-qwindowgeometry", true, false},
    {"-qwindowicon", true, false},
    {"-qwindowtitle", true, false},
    {"-reverse", false, false},
    {"-session", true, false},
    {"-display", true, false},
    {"-geometry", true, false},
    {"-style", true, true},
    {"-stylesheet", true, true},
    {"-widgetcount", false, false},
    {"-nograb", false, false},
    {"-dograb", false, false},
    {"-sync", false, false},
}};

const ToolkitOption* ToolkitOptionOf(std::string_view argument) {
    const auto equals = argument.find('=');
    for (const auto& option : kToolkitOptions)
        if (option.name == argument.substr(0, equals) && (equals == std::string_view::npos || option.mayJoinValue))
            return &option;
    return nullptr;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine commandLine;
    for (int i = 1; i < argc && commandLine.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            commandLine.help = true;
        } else if (argument == "--version") {
            commandLine.version = true;
        } else if (argument == "--simulate") {
            commandLine.simulate = true;
        } else if (argument == "--com" || argument.starts_with("--com=")) {
            if (argument == "--com" && i + 1 >= argc)
                commandLine.error = "option '--com' needs an argument N=DEVICE";
            else
                commandLine.error =
                    ReadComMapping(argument == "--com" ? argv[++i] : argument.substr(6), commandLine.comDevices);
        } else if (argument == "--trace" || argument.starts_with("--trace=")) {
            if (argument == "--trace" && i + 1 >= argc)
                commandLine.error = "option '--trace' needs an argument FILE";
            else
                commandLine.traceFile = argument == "--trace" ? argv[++i] : Text(argument.substr(8));
        } else if (argument.starts_with("--")) {
            commandLine.error = "unknown option '" + Text(argument) + "'";
        } else if (!argument.starts_with("-") || argument.size() == 1) {
            if (commandLine.presetFile.empty())
                commandLine.presetFile = argument;
            else
                commandLine.error = "only one preset FILE can be opened, not also '" + Text(argument) + "'";
        } else {
            const ToolkitOption* option = ToolkitOptionOf(argument);
            if (option == nullptr)
                commandLine.error = "unknown option '" + Text(argument) + "'";
            else if (option->takesValue && argument.find('=') == std::string_view::npos && ++i >= argc)
                commandLine.error = "option '" + Text(argument) + "' needs an argument";
        }
    }
    return commandLine;
}

Text HelpText() {
    return "Usage: effectpanel [OPTION]... [FILE.tonset]\n"
           "Control panel for a KTV effect processor on a serial port.\n"
           "The panel scans COM1..COM10 by itself and comes online when the processor answers.\n"
           "A preset FILE is opened once the window is up, as 打开文件 opens it: sent to the processor\n"
           "once it is online, or kept in the window when none answers within a few seconds.\n"
           "\n"
           "Options:\n" +
           ComOptionHelp() +
           "  --simulate      start the built-in simulated processor on a pseudo-terminal as COM10\n"
           "  --trace FILE    append every frame the panel sends and receives to FILE (a regular\n"
           "                  file), decoded, with its time (as effectpanel-cli monitor prints them);\n"
           "                  a write that fails makes the exit code 1\n"
           "  -h, --help      show this help and exit\n"
           "      --version   show the version and exit\n"
           "\n"
           "Opening a serial port needs permission: on Debian add yourself to the dialout group\n"
           "(sudo adduser $USER dialout) and log in again.\n";
}

Text VersionText() { return "effectpanel 0.1.0\n"; }

} // namespace ep
