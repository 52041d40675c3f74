#include "app/com_option.h"

#include "link/com_ports.h"
#include "runtime/file_paths.h"
#include "runtime/host.h"

#include <charconv>
#include <filesystem>

namespace ep {
namespace {

bool IsNumberIn(std::string_view digits, int lowest, int highest, int& number) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() && end == digits.data() + digits.size() && number >= lowest && number <= highest;
}

} // namespace

Text ComDeviceProblem(std::string_view device) {
    if (IsNetworkDevicePath(device)) {
        const std::string_view address = device.substr(device.find(':') + 1);
        const auto colon = address.rfind(':');
        int port = 0;
        if (colon == std::string_view::npos || colon == 0 || !IsNumberIn(address.substr(colon + 1), 1, 65535, port))
            return "'" + Text(device) + "' is not of the form tcp:HOST:PORT";
        return {};
    }
    std::error_code error;
    const auto status = std::filesystem::status(PathOfName(Text(device)), error);
    if (!std::filesystem::exists(status) || std::filesystem::is_character_file(status))
        return {};
    return "'" + Text(device) + "' is not a serial device";
}

Text ReadComMapping(std::string_view argument, std::map<int, Text>& devices) {
    const Text form = "invalid --com argument '" + Text(argument) + "'";
    const auto equals = argument.find('=');
    int number = 0;
    if (equals == std::string_view::npos || equals + 1 == argument.size() ||
        !IsNumberIn(argument.substr(0, equals), 1, kHighestComPort, number))
        return form + ": expected N=DEVICE with N from 1 to 10, e.g. --com 5=/dev/ttyUSB0";
    const auto device = argument.substr(equals + 1);
    if (Text problem = ComDeviceProblem(device); !problem.empty())
        return form + ": " + problem;
    devices[number] = Text(device);
    return {};
}

Text ComOptionHelp() {
    return "  --com N=DEVICE  use DEVICE as COM port N (1..10): a serial device, a pseudo-terminal, or\n"
           "                  tcp:HOST:PORT for a network serial server in raw TCP mode; may be given\n"
           "                  more than once. Default mapping on Linux: COM1..COM4 = /dev/ttyS0..3,\n"
           "                  COM5..COM8 = /dev/ttyUSB0..3, COM9, COM10 = /dev/ttyACM0, 1\n";
}

} // namespace ep
