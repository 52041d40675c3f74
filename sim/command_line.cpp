#include "sim/command_line.h"

#include "sim/field_map.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace ep::sim {
namespace {

constexpr int MaximumBaud = 4'000'000;
constexpr int MaximumLateMilliseconds = 600'000;

std::optional<int> ParseNumber(std::string_view text, int minimum, int maximum) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || number < minimum || number > maximum)
        return std::nullopt;
    return number;
}

} // namespace

SimCommandLine ParseSimCommandLine(int argc, const char* const* argv) {
    SimCommandLine line;
    for (int i = 1; i < argc && line.error.empty(); ++i) {
        std::string_view argument = argv[i];
        std::optional<std::string_view> attached;
        if (const auto equals = argument.find('='); argument.starts_with("--") && equals != std::string_view::npos) {
            attached = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        const auto operand = [&]() -> std::optional<std::string_view> {
            if (attached)
                return attached;
            if (i + 1 < argc)
                return std::string_view(argv[++i]);
            line.error = std::string(argument) + " needs a value";
            return std::nullopt;
        };
        const auto number = [&](int minimum, int maximum) -> std::optional<int> {
            const std::optional<std::string_view> text = operand();
            if (!text)
                return std::nullopt;
            const std::optional<int> value = ParseNumber(*text, minimum, maximum);
            if (!value)
                line.error = std::string(argument) + " expects a number from " + std::to_string(minimum) + " to " +
                             std::to_string(maximum) + ", not '" + std::string(*text) + "'";
            return value;
        };
        const auto flag = [&] {
            if (attached)
                line.error = std::string(argument) + " takes no value";
            return !attached;
        };
        FaultOptions& faults = line.server.device.faults;
        if (argument == "--help" || argument == "-h") {
            line.help = flag();
        } else if (argument == "--quiet") {
            line.quiet = flag();
        } else if (argument == "--marker") {
            if (flag())
                line.server.device.dumpStart = DumpStart::WithMarker;
        } else if (argument == "--unpaced") {
            if (flag())
                line.server.baud = 0;
        } else if (argument == "--silent") {
            faults.silent = flag();
        } else if (argument == "--noise") {
            faults.noise = flag();
        } else if (argument == "--link") {
            if (const auto path = operand()) {
                if (path->empty())
                    line.error = "--link needs a path";
                else
                    line.server.linkPath = std::string(*path);
            }
        } else if (argument == "--tcp") {
            if (const auto port = number(0, 65535))
                line.server.tcpPort = *port;
        } else if (argument == "--baud") {
            if (const auto baud = number(0, MaximumBaud))
                line.server.baud = *baud;
        } else if (argument == "--late") {
            if (const auto late = number(0, MaximumLateMilliseconds))
                faults.lateMilliseconds = *late;
        } else if (argument == "--drop-dump-byte") {
            if (const auto position = number(1, FieldCount))
                faults.dropDumpByte = *position;
        } else if (argument == "--set") {
            const std::optional<std::string_view> assignment = operand();
            if (!assignment)
                break;
            const auto equals = assignment->find('=');
            const std::optional<int> field = equals == std::string_view::npos
                                                 ? std::nullopt
                                                 : ParseNumber(assignment->substr(0, equals), 1, FieldCount);
            const std::optional<int> value =
                equals == std::string_view::npos ? std::nullopt : ParseNumber(assignment->substr(equals + 1), 0, 255);
            if (field && value)
                line.server.changedValues.emplace_back(*field, static_cast<std::uint8_t>(*value));
            else
                line.error = "--set expects FIELD=VALUE with FIELD 1..255 and VALUE 0..255, not '" +
                             std::string(*assignment) + "'";
        } else {
            line.error = "unknown argument '" + std::string(argv[i]) + "'";
        }
    }
    if (line.error.empty() && line.server.tcpPort >= 0 && !line.server.linkPath.empty())
        line.error = "--link names a pseudo-terminal, which --tcp does not serve";
    return line;
}

std::string SimHelpText() {
    return "Usage: effectpanel-sim [OPTIONS]\n"
           "Simulated effect processor on a pseudo-terminal, or on a TCP port of the loopback address as\n"
           "a network serial server. Prints the device for the panel to open (a path, or tcp:HOST:PORT)\n"
           "on stdout, then serves until SIGINT or SIGTERM. Each frame received is logged on stderr.\n"
           "SIGUSR1 makes the device send 0x88 (return the key to neutral).\n"
           "\n"
           "Options:\n"
           "  --link PATH            also make PATH a symbolic link to the pty and print PATH\n"
           "  --tcp PORT             serve on TCP port PORT of 127.0.0.1 (0: a free one), one connection\n"
           "                         at a time, instead of a pty\n"
           "  --marker               send 0x63 before the 255 values of a dump\n"
           "  --baud N               pace the answers like an 8N1 line at N bit/s (default 9600; 0 unpaced)\n"
           "  --unpaced              send answers as fast as possible (same as --baud 0)\n"
           "  --silent               understand frames but answer nothing\n"
           "  --late MS              wait MS milliseconds more before each answer\n"
           "  --noise                put 1..3 noise bytes (0x01..0x0F) in front of each answer\n"
           "  --drop-dump-byte N     leave value N (1..255) out of every dump\n"
           "  --set FIELD=VALUE      start with FIELD (1..255) set to VALUE (0..255); repeatable\n"
           "  --quiet                do not log frames\n"
           "  --help                 show this text\n"
           "\n"
           "Exit status: 0 after a signal, 1 when the pty or port cannot be opened, 2 for bad arguments.\n";
}

} // namespace ep::sim
