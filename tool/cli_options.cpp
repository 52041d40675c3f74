#include "tool/cli_options.h"

#include "app/com_option.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace ep {
namespace {

constexpr int kLongestTimeoutSeconds = 3600;
constexpr int kMostJobs = 1000;

Text ReadTimeout(std::string_view text, int& seconds) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 1 || seconds > kLongestTimeoutSeconds)
        return "invalid --timeout '" + Text(text) + "': expected whole seconds from 1 to 3600";
    return {};
}

Text ReadJobs(std::string_view text, int& jobs) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (error != std::errc() || end != text.data() + text.size() || jobs < 1 || jobs > kMostJobs)
        return "invalid --jobs '" + Text(text) + "': expected a number of rooms from 1 to 1000";
    return {};
}

Text ReadRoomNames(std::string_view text, std::vector<Text>& names) {
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (comma == start)
            return "invalid --only '" + Text(text) + "': expected NAME[,NAME]...";
        names.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return {};
}

Text ReadDevice(std::string_view text, Text& device) {
    if (text.empty())
        return "option '--device' needs a DEVICE";
    if (Text problem = ComDeviceProblem(text); !problem.empty())
        return "invalid --device: " + problem;
    device = Text(text);
    return {};
}

/// Options that make no sense together, or one without the other it needs.
Text Conflict(const CliOptions& options) {
    if (!options.roomsFile.empty() && (!options.device.empty() || !options.comDevices.empty()))
        return "--rooms names each room's device; it does not go with --device or --com";
    if (!options.device.empty() && !options.comDevices.empty())
        return "--device names the one device to use; it does not go with --com";
    if (options.roomsFile.empty() && (!options.onlyRooms.empty() || options.jobs != 0))
        return "--only and --jobs go with --rooms";
    return {};
}

} // namespace

CliOptions ParseCliOptions(int argc, const char* const* argv) {
    CliOptions options;
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        const auto value = [&](std::string_view name) -> std::optional<std::string_view> {
            if (argument.size() > name.size() && argument[name.size()] == '=')
                return argument.substr(name.size() + 1);
            if (i + 1 < argc)
                return std::string_view(argv[++i]);
            options.error = "option '" + Text(name) + "' needs an argument";
            return std::nullopt;
        };
        const auto is = [&](std::string_view name) {
            return argument == name ||
                   (argument.starts_with(name) && argument.size() > name.size() && argument[name.size()] == '=');
        };
        // The global options may stand before or after the command; every other word after the
        // command is the command's own.
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (is("--com")) {
            if (const auto mapping = value("--com"))
                options.error = ReadComMapping(*mapping, options.comDevices);
        } else if (is("--trace")) {
            if (const auto file = value("--trace"))
                options.traceFile = Text(*file);
        } else if (is("--timeout")) {
            if (const auto seconds = value("--timeout"))
                options.error = ReadTimeout(*seconds, options.timeoutSeconds);
        } else if (is("--device")) {
            if (const auto device = value("--device"))
                options.error = ReadDevice(*device, options.device);
        } else if (is("--rooms")) {
            if (const auto file = value("--rooms"))
                options.roomsFile = Text(*file);
            if (options.error.empty() && options.roomsFile.empty())
                options.error = "option '--rooms' needs a FILE";
        } else if (is("--only")) {
            if (const auto names = value("--only"))
                options.error = ReadRoomNames(*names, options.onlyRooms);
        } else if (is("--jobs")) {
            if (const auto jobs = value("--jobs"))
                options.error = ReadJobs(*jobs, options.jobs);
        } else if (!options.command.empty()) {
            options.arguments.emplace_back(argument);
        } else if (argument.starts_with("-")) {
            options.error = "unknown option '" + Text(argument) + "'";
        } else {
            options.command = Text(argument);
        }
    }
    if (options.error.empty())
        options.error = Conflict(options);
    if (options.error.empty() && options.command.empty() && !options.help && !options.version)
        options.error = "no command given";
    return options;
}

Text PresetToLoad(const CliOptions& options) {
    if (options.command != "load")
        return {};
    for (const Text& word : options.arguments)
        if (!word.starts_with("-"))
            return word;
    return {};
}

Text CliHelpText() {
    return "Usage: effectpanel-cli [OPTION]... COMMAND [ARGUMENT]...\n"
           "  or:  effectpanel-cli --rooms FILE [--only NAME,...] [--jobs N] [OPTION]... COMMAND [ARGUMENT]...\n"
           "The KTV effect processor's control panel without a window, for scripts. It runs the panel's own\n"
           "logic: it finds the processor on COM1..COM10, reads its settings, and sends what it is told.\n"
           "\n"
           "Commands:\n"
           "  scan                each COM port with its device, whether it opened and answered,\n"
           "                      all within --timeout\n"
           "  read [-o FILE]      read all 255 settings; write them to FILE (a preset, .tonset\n"
           "                      added as the panel adds it) or print their 765 digits\n"
           "  load FILE [--store] [--changed] [--force]\n"
           "                      send the preset FILE as the panel's 打开文件 does, read the device\n"
           "                      back and compare; --changed sends only the settings in which the\n"
           "                      device differs from FILE; --store then stores it in the device.\n"
           "                      An empty FILE is refused (restore gives the factory settings), and\n"
           "                      so is one with values outside their ranges unless --force is given\n"
           "  store               store the device's current settings in it (写入设备)\n"
           "  restore             return the device to its factory settings (RESET)\n"
           "  get [NAME|FIELD]...\n"
           "                      settings by name (\"MIC2 1KHZ\", \"Music_Vol\") or field number,\n"
           "                      as the window shows them; all 255 when none is named\n"
           "  set [--raw] NAME=VALUE...\n"
           "                      send settings, VALUE as the window shows it (\"+3dB\", \"135ms\",\n"
           "                      \"ON\", \"KTV2\"), the unit and the '+' optional (\"3\", \"135\"; \"1\"\n"
           "                      for ON), or with --raw the field's value 0..255\n"
           "  set --file FILE [--raw] NAME=VALUE...\n"
           "                      change the settings in the preset FILE instead, with no device\n"
           "  diff A B            the settings in which A and B differ, each a preset FILE or device\n"
           "                      (with --rooms, or a room's name); exit 0 equal, 1 different, 2 trouble\n"
           "  monitor [--listen PATH]\n"
           "                      stand between the panel and the device of the one --com: offer\n"
           "                      the panel a pseudo-terminal (its path printed, or a link at\n"
           "                      PATH; only a link that a killed monitor left there is\n"
           "                      replaced), forward every byte both ways and print each frame\n"
           "                      decoded, until interrupted or the device goes away; lines\n"
           "                      that nobody reads are dropped beyond 256 KiB, and counted\n"
           "\n"
           "Options:\n" +
           ComOptionHelp() +
           "  --device DEVICE\n"
           "                    use DEVICE alone (as COM10) and open no other port\n"
           "  --json          print one JSON object for the command, for scripts\n"
           "  --timeout S     seconds the device has to answer (default 10)\n"
           "  --trace FILE    append the panel's traffic to FILE (a regular file), decoded as monitor\n"
           "                  prints it\n"
           "  -h, --help      show this help and exit\n"
           "      --version   show the version and exit\n"
           "\n"
           "Rooms:\n"
           "  --rooms FILE    run read, load, store, get, set or diff in each room of the rooms FILE,\n"
           "                  a JSON array of\n"
           "                  {\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\", \"preset\": \"k01.tonset\"}\n"
           "                  (preset optional), each room in its own process; each room's result\n"
           "                  is told on standard error as it ends, and a table at the end\n"
           "  --only NAME,...\n"
           "                    only in the rooms named\n"
           "  --jobs N        at most N rooms at once (default: 4 for each processor); fewer when the\n"
           "                  limit of open files leaves room for fewer\n"
           "  read -o FOLDER writes FOLDER/NAME.tonset for each room (never through a link there);\n"
           "  load without FILE loads each room's preset; diff [PRESET] compares each room with PRESET,\n"
           "  or with its own preset. SIGINT or SIGTERM stops the rooms running and starts no other\n"
           "  (exit status 130 or 143).\n"
           "\n"
           "Names ignore case, and '_' stands for a blank. Exit status: 0 done; 1 the device did not\n"
           "answer or did not take what was sent (with --rooms: not in every room); 2 bad usage, a\n"
           "refused file, or a --trace FILE that could not be written to its end.\n";
}

Text CliVersionText() { return "effectpanel-cli 0.1.0\n"; }

} // namespace ep
