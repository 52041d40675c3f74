#pragma once
/// How the simulated processor behaves: its dump format and the faults it can be told to show. Data only.

#include <cstdint>

namespace ep::sim {

/// Whether a dump begins with the 0x63 marker before the 255 values.
enum class DumpStart { ValuesOnly, WithMarker };

/// Misbehaviour on demand, to exercise the panel's handling of a poor device.
struct FaultOptions {
    bool silent = false;      ///< send nothing at all (frames are still understood and applied)
    int lateMilliseconds = 0; ///< extra delay before each answer starts
    bool noise = false;       ///< 1..3 noise bytes (0x01..0x0F) in front of each answer
    int dropDumpByte = 0;     ///< 1..255: leave that value out of every dump; 0: drop nothing
    int dumpValues = 255;     ///< values a dump carries before it stops; 0: a dump request gets no answer
    /// Random bytes of every value as fast as the line takes them, besides the answers, as line noise has
    /// them: the hello answer 0xA8 among them.
    bool flood = false;
    /// Reads nothing from the line: what the panel sends piles up in the line until its writes wait.
    bool deaf = false;
};

struct DeviceOptions {
    DumpStart dumpStart = DumpStart::ValuesOnly;
    FaultOptions faults;
    std::uint32_t noiseSeed = 1; ///< seed of the noise bytes, so a run can be repeated
};

} // namespace ep::sim
