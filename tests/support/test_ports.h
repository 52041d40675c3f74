#pragma once
/// The ports of a whole-panel test or benchmark: COM1..COM9 on paths that do not exist, so that no real
/// device is ever touched, and COM10 on the device under test.

#include "link/com_ports.h"

#include <string>
#include <vector>

namespace ep::testing {

inline constexpr int kDeviceComPort = 10;

inline std::string AbsentPortPath(int number) { return "/nonexistent/effectpanel-com" + std::to_string(number); }

/// The "--com N=PATH" options of the program; COM10 on the device when one is given.
inline std::vector<std::string> PortArguments(const std::string& device = {}) {
    std::vector<std::string> arguments;
    for (int number = 1; number <= kDeviceComPort; ++number) {
        const bool onDevice = number == kDeviceComPort && !device.empty();
        arguments.insert(arguments.end(),
                         {"--com", std::to_string(number) + "=" + (onDevice ? device : AbsentPortPath(number))});
    }
    return arguments;
}

/// The same mapping for a panel in this process.
inline void MapTestPorts(const std::string& device) {
    for (int number = 1; number <= kDeviceComPort; ++number)
        MapComPort(number, number == kDeviceComPort && !device.empty() ? device : AbsentPortPath(number));
}

} // namespace ep::testing
