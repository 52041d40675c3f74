#include "runtime/host.h"

#include "runtime/fatal.h"

#include <climits>
#include <cstdio>

namespace ep {
namespace {
Host* g_host = nullptr;
} // namespace

Host& CurrentHost() {
    if (g_host == nullptr)
        ReportFatal("host not set");
    return *g_host;
}

void SetCurrentHost(Host* host) { g_host = host; }

bool HasCurrentHost() { return g_host != nullptr; }

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
