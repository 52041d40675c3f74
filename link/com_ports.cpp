#include "link/com_ports.h"

#include <map>

namespace ep {
namespace {

std::map<int, Text>& Mapped() {
    static std::map<int, Text> mapped;
    return mapped;
}

} // namespace

// ==== Platform section: the default names of the serial devices ================================

#if defined(_WIN32)
// The device namespace's name, which also reaches the ports above COM9.
Text DefaultComDevicePath(int number) {
    if (number < 1 || number > kHighestComPort)
        return {};
    return "\\\\.\\COM" + std::to_string(number);
}
#else
Text DefaultComDevicePath(int number) {
    if (number >= 1 && number <= 4)
        return "/dev/ttyS" + std::to_string(number - 1);
    if (number >= 5 && number <= 8)
        return "/dev/ttyUSB" + std::to_string(number - 5);
    if (number >= 9 && number <= kHighestComPort)
        return "/dev/ttyACM" + std::to_string(number - 9);
    return {};
}
#endif

// ==== End of the platform section ==============================================================

Text ComDevicePath(int number) {
    if (const auto found = Mapped().find(number); found != Mapped().end())
        return found->second;
    return DefaultComDevicePath(number);
}

void MapComPort(int number, const Text& devicePath) { Mapped()[number] = devicePath; }

} // namespace ep
