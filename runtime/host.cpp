#include "runtime/host.h"

#include "runtime/fatal.h"

#include <climits>
#include <cstdio>

namespace ep {
namespace {
Host* g_host = nullptr;
constexpr std::string_view kNetworkDevicePrefix = "tcp:";
} // namespace

Host& CurrentHost() {
    if (g_host == nullptr)
        ReportFatal("host not set");
    return *g_host;
}

void SetCurrentHost(Host* host) { g_host = host; }

bool HasCurrentHost() { return g_host != nullptr; }

bool IsNetworkDevicePath(std::string_view devicePath) { return devicePath.starts_with(kNetworkDevicePrefix); }

SerialOpenResult OpenSerialWhenConnected(Host& host, const Text& devicePath, const SerialLineSettings& settings,
                                         SerialReceiver& receiver) {
    // A connection goes on for at most kDeviceOpenMs; the rest is slack for the loop's own pace.
    constexpr int kSlackMs = 500;
    SerialOpenResult result = host.openSerial(devicePath, settings, receiver);
    host.runUntil(
        [&] {
            if (result.error == SerialOpenError::Pending)
                result = host.openSerial(devicePath, settings, receiver);
            return result.error != SerialOpenError::Pending;
        },
        kDeviceOpenMs + kSlackMs);
    return result;
}

bool Host::isTerminal(OutputStream) const { return false; }

PseudoTerminalResult Host::openPseudoTerminal(const Text&, SerialReceiver&) {
    return {nullptr, "pseudo-terminals are not available on this platform"};
}

int Host::childProcessRoom() const { return INT_MAX; }

std::size_t Host::writeWithoutWaiting(OutputStream stream, std::string_view text) {
    std::FILE* file = stream == OutputStream::Standard ? stdout : stderr;
    const std::size_t written = std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
    return written;
}

} // namespace ep
