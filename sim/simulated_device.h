#pragma once
/// The processor's behaviour: reads the panel's bytes, applies what they command to its memory and says
/// which bytes to send back. No I/O and no timing here; the line that carries the answers does that. Not
/// thread-safe; its owner serialises access.

#include "sim/device_options.h"
#include "sim/frame_parser.h"
#include "sim/processor_model.h"

#include <cstdint>
#include <deque>
#include <random>
#include <span>
#include <vector>

namespace ep::sim {

using Bytes = std::vector<std::uint8_t>;

struct DeviceCounters {
    std::uint64_t bytesReceived = 0;
    std::uint64_t framesUnderstood = 0; ///< pings included
    std::uint64_t brokenFrames = 0;
    std::uint64_t skippedBytes = 0;
    std::uint64_t cutShortValues = 0; ///< four-byte values whose zero tail did not fully arrive
    std::uint64_t answers = 0;
};

/// What one batch of received bytes led to.
struct Reception {
    std::vector<ParsedFrame> frames; ///< every frame completed, broken ones included
    std::vector<Bytes> answers;      ///< bytes to send back, one entry per answer
};

class SimulatedDevice {
  public:
    /// How many understood frames the log keeps; older ones are dropped.
    static constexpr std::size_t FrameLogLimit = 4096;

    explicit SimulatedDevice(DeviceOptions options = {});

    /// Reads bytes from the panel, applies them and returns the answers.
    Reception receive(std::span<const std::uint8_t> bytes);

    /// The bytes that ask the panel to return the key to neutral (0x88); empty while silent. The key value
    /// itself is left alone: it changes when the panel answers with its SetParameter frame.
    Bytes keyResetRequest();

    /// All values as a dump carries them, whatever the faults.
    Bytes wholeDump() const;

    /// The next `count` bytes of a flood (see FaultOptions::flood).
    Bytes floodBytes(std::size_t count);

    void setFaults(const FaultOptions& faults) { m_options.faults = faults; }
    const FaultOptions& faults() const { return m_options.faults; }

    ProcessorModel& model() { return m_model; }
    const ProcessorModel& model() const { return m_model; }

    DeviceCounters counters() const;
    /// The understood frames, oldest first.
    std::vector<ParsedFrame> frameLog() const { return {m_log.begin(), m_log.end()}; }
    ParserState parserState() const { return m_parser.state(); }

  private:
    void apply(const ParsedFrame& frame, std::vector<Bytes>& answers);
    Bytes dump() const;
    void addAnswer(Bytes bytes, std::vector<Bytes>& answers);

    DeviceOptions m_options;
    ProcessorModel m_model;
    FrameParser m_parser;
    std::minstd_rand m_noise;
    std::deque<ParsedFrame> m_log;
    DeviceCounters m_counters;
};

} // namespace ep::sim
