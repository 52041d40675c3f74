#include "link/com_ports.h"

#include <map>

namespace ep {
namespace {

std::map<int, Text>& Mapped() {
    static std::map<int, Text> mapped;
    return mapped;
}

// Platform-specific: the default names of the serial devices.
Text DefaultDevicePath(int number) {
#if defined(_WIN32)
    return "COM" + std::to_string(number);
#else
    if (number >= 1 && number <= 4)
        return "/dev/ttyS" + std::to_string(number - 1);
    if (number >= 5 && number <= 8)
        return "/dev/ttyUSB" + std::to_string(number - 5);
    if (number >= 9 && number <= 10)
        return "/dev/ttyACM" + std::to_string(number - 9);
    return {};
#endif
}

} // namespace

Text ComDevicePath(int number) {
    if (const auto found = Mapped().find(number); found != Mapped().end())
        return found->second;
    return DefaultDevicePath(number);
}

void MapComPort(int number, const Text& devicePath) { Mapped()[number] = devicePath; }

} // namespace ep
