#include "link/traffic_trace.h"

#include "link/traffic_decoder.h"
#include "runtime/append_file.h"

#include <cstdio>
#include <memory>

namespace ep {
namespace {

struct Trace {
    AppendFile file;
    Text path;
    Text programName;
    TrafficDecoder decoder;
    std::optional<Text> failure;

    void write(const std::vector<DecodedFrame>& frames) {
        if (frames.empty() || failure)
            return;
        Text lines;
        for (const DecodedFrame& frame : frames)
            lines += TrafficLine(frame) + '\n';
        // Frame by frame, so that the file holds what happened before an abrupt end.
        if (const auto problem = file.append(lines)) {
            failure = "writing the trace file " + path + " failed: " + *problem + "; it ends there";
            std::fprintf(stderr, "%s: %s\n", programName.c_str(), failure->c_str());
        }
    }
};

std::unique_ptr<Trace> g_trace;

} // namespace

std::optional<Text> StartTrafficTrace(const Text& path, const Text& programName) {
    auto trace = std::make_unique<Trace>();
    if (const auto problem = trace->file.open(path))
        return "cannot open the trace file " + path + ": " + *problem;
    trace->path = path;
    trace->programName = programName;
    g_trace = std::move(trace);
    return std::nullopt;
}

std::optional<Text> StopTrafficTrace() {
    if (!g_trace)
        return std::nullopt;
    g_trace->write(g_trace->decoder.finish());
    const std::optional<Text> failure = g_trace->failure;
    g_trace.reset();
    return failure;
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
