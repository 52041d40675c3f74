#include "link/traffic_trace.h"

#include "link/traffic_decoder.h"
#include "runtime/file_paths.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

namespace ep {
namespace {

struct Trace {
    std::ofstream file;
    TrafficDecoder decoder;

    void write(const std::vector<DecodedFrame>& frames) {
        for (const DecodedFrame& frame : frames)
            file << TrafficLine(frame) << '\n';
        // Line by line, so that the file holds what happened before an abrupt end.
        if (!frames.empty())
            file.flush();
    }
};

std::unique_ptr<Trace> g_trace;

} // namespace

std::optional<Text> StartTrafficTrace(const Text& path) {
    auto trace = std::make_unique<Trace>();
    trace->file.open(PathOfName(path), std::ios::binary | std::ios::app);
    if (!trace->file)
        return "cannot open the trace file " + path + ": " + std::strerror(errno);
    g_trace = std::move(trace);
    return std::nullopt;
}

void StopTrafficTrace() {
    if (!g_trace)
        return;
    g_trace->write(g_trace->decoder.finish());
    g_trace.reset();
}

void TraceSent(const Bytes& bytes) {
    if (!g_trace)
        return;
    const auto now = TrafficClock::now();
    for (const std::uint8_t byte : bytes)
        g_trace->write(g_trace->decoder.feed(Direction::ToDevice, byte, now));
}

void TraceReceived(std::uint8_t byte) {
    if (g_trace)
        g_trace->write(g_trace->decoder.feed(Direction::ToPanel, byte, TrafficClock::now()));
}

} // namespace ep
