#include "tool/no_answer.h"

#include "link/com_ports.h"

namespace ep {
namespace {

Text PortText(const Text& devicePath, const SerialLink& link) {
    const auto failure = link.lastOpenFailures().find(devicePath);
    if (failure == link.lastOpenFailures().end())
        return devicePath + " opened, but no processor answered its hello";
    switch (failure->second.error) {
    case SerialOpenError::Missing:
        return IsNetworkDevicePath(devicePath) ? "cannot connect to " + devicePath + ": " + failure->second.reason
                                               : devicePath + " does not exist";
    case SerialOpenError::PermissionDenied:
        return "no permission to open " + devicePath + " (join the dialout group)";
    case SerialOpenError::Busy:
        return devicePath + " is held by another program";
    case SerialOpenError::Pending:
        return devicePath + " was still being connected to";
    default:
        return "cannot open " + devicePath + ": " + failure->second.reason;
    }
}

} // namespace

bool NoPortCanOpen(const SerialLink& link) {
    for (int number = 1; number <= kHighestComPort; ++number) {
        const Text devicePath = ComDevicePath(number);
        if (devicePath.empty())
            continue;
        const auto failure = link.lastOpenFailures().find(devicePath);
        if (failure == link.lastOpenFailures().end() || failure->second.error == SerialOpenError::Pending)
            return false;
    }
    return true;
}

Text WhyNoSet(const SerialLink& link, bool answered, const Text& ports) {
    if (answered && link.deviceWentAway())
        return "the processor on " + link.devicePath() + " went away while its settings were read";
    if (answered)
        return "the processor on " + link.devicePath() + " answered, but did not send its settings whole";
    Text why;
    for (int number = 1; number <= kHighestComPort; ++number) {
        const Text devicePath = ComDevicePath(number);
        if (devicePath.empty())
            continue;
        why += (why.empty() ? "" : "; ") + PortText(devicePath, link);
    }
    return "no processor answered on " + ports + ": " + (why.empty() ? Text("no port is mapped to a device") : why);
}

} // namespace ep
