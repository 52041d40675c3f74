#pragma once
/// The line's traffic told frame by frame, for the monitor and the panel's trace: bytes in, each with its
/// direction and time, decoded frames out. It knows the panel's frames (device_frames.h) and the bytes the
/// processor sends back, names a parameter frame's setting and shows its value as the window does
/// (model/fields.h, whose lookup tables the caller fills). Bytes that form no frame are told as such,
/// never dropped. It keeps the partial frame of each direction and the dump that a request opened; it
/// neither reads nor writes the line and has no clock of its own.

#include "runtime/value.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace ep {

enum class Direction { ToDevice, ToPanel };

enum class FrameKind {
    // Panel to device.
    Hello,
    DumpRequest,
    Ping,
    StoreEffect,
    RestoreDefaults,
    SetParameter,
    BulkParameter,
    // Device to panel.
    HelloAnswer,
    PingEcho,
    KeyResetRequest,
    Dump,
    DumpCutShort,
    // Either way: bytes that form no frame.
    NoFrame,
};

using TrafficClock = std::chrono::system_clock;

struct DecodedFrame {
    Direction direction = Direction::ToDevice;
    FrameKind kind = FrameKind::NoFrame;
    Bytes bytes;
    TrafficClock::time_point time; ///< when its first byte came
};

/// "→ 80 01 BB 02 16 0D  MIC2 57HZ = +3dB": the direction (→ panel to device, ← device to panel), the
/// bytes and what they are; a dump says what it is before its bytes: "← dump, 255 bytes: 0A 0A …".
Text FrameText(const DecodedFrame& frame);

/// The frame's text after the local time of day of its first byte: "14:03:07.250 → 68  ping".
Text TrafficLine(const DecodedFrame& frame);

/// The longest pause within a frame: the panel hands a frame's items over one after the other, 6 ms of
/// line time in all, so a partial frame that pauses longer is broken off.
constexpr std::chrono::milliseconds kFrameGap{100};

class TrafficDecoder {
  public:
    /// The frames that the byte completes, in line order: what had ended by its time (see expire); then
    /// none, one, or bytes that the byte showed to form no frame and then the frame.
    std::vector<DecodedFrame> feed(Direction direction, std::uint8_t byte, TrafficClock::time_point time);

    /// What has ended by now without a byte to end it: a partial frame, or bytes that form no frame,
    /// after kFrameGap without a byte in their direction; a dump that is not whole by the panel's deadline.
    std::vector<DecodedFrame> expire(TrafficClock::time_point now);

    /// Everything still open, at the end of the traffic.
    std::vector<DecodedFrame> finish();

  private:
    struct TimedByte {
        std::uint8_t byte = 0;
        TrafficClock::time_point time;
    };
    /// One direction's bytes that are not told yet.
    struct Lane {
        std::vector<TimedByte> pending; ///< the start of a frame
        std::vector<TimedByte> stray;   ///< bytes that form no frame, told at the next frame or pause
    };
    struct OpenDump {
        TrafficClock::time_point requested;
        std::vector<TimedByte> bytes;
    };

    void feedToDevice(std::uint8_t byte, TrafficClock::time_point time, std::vector<DecodedFrame>& frames);
    void feedToPanel(std::uint8_t byte, TrafficClock::time_point time, std::vector<DecodedFrame>& frames);
    void tellStray(Direction direction, std::vector<DecodedFrame>& frames);
    /// Both directions' bytes that form no frame, before a frame: they are told as one line for as long
    /// as they follow each other.
    void tellStrays(std::vector<DecodedFrame>& frames);
    void closeDump(std::vector<DecodedFrame>& frames);
    Lane& lane(Direction direction) { return m_lanes[static_cast<std::size_t>(direction)]; }

    std::array<Lane, 2> m_lanes;
    std::optional<OpenDump> m_dump;
};

} // namespace ep
