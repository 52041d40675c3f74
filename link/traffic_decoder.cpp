#include "link/traffic_decoder.h"

#include "link/device_frames.h"
#include "link/dump_collection.h"
#include "model/blocks.h"
#include "model/fields.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <span>

namespace ep {
namespace {

/// Bytes the device sends for a dump request: the panel counts 255, a leading start marker among them.

/// The three high bytes of the 32-bit value item that the switch and choice handlers send.
constexpr std::size_t kWideValueExtra = 3;

enum class Match { None, Start, Whole };

struct FixedSequence {
    FrameKind kind;
    std::array<std::uint8_t, 6> bytes;
};

// clang-format off
constexpr std::array<FixedSequence, 4> kFixedSequences = {{
    {FrameKind::Hello, {frame::Header, frame::SystemChannel, frame::SystemCommand, frame::HelloSelector,
                        frame::HelloAddress, frame::HelloValue}},
    {FrameKind::DumpRequest, {frame::Header, frame::SystemChannel, frame::SystemCommand, frame::DumpSelector,
                              frame::DumpAddress, frame::DumpValue}},
    // Channel 0, address 0 and value 0: the whole device.
    {FrameKind::StoreEffect, {frame::Header, 0x00, command::StoreEffect, frame::Marker, 0x00, 0x00}},
    {FrameKind::RestoreDefaults, {frame::Header, 0x00, command::RestoreDefaults, frame::Marker, 0x00, 0x00}},
}};
// clang-format on

Match MatchFixed(std::span<const std::uint8_t> bytes, const FixedSequence& sequence) {
    if (bytes.size() > sequence.bytes.size() || !std::equal(bytes.begin(), bytes.end(), sequence.bytes.begin()))
        return Match::None;
    return bytes.size() == sequence.bytes.size() ? Match::Whole : Match::Start;
}

/// 80, channel, BB or BD, 02, address 1..66, value; a SetParameter of a switch or choice row carries
/// its value as a 32-bit integer, least significant byte first, so three 00 bytes follow.
Match MatchParameter(std::span<const std::uint8_t> bytes, FrameKind& kind) {
    if (bytes[0] != frame::Header)
        return Match::None;
    if (bytes.size() > 2) {
        if (bytes[2] != command::SetParameter && bytes[2] != command::BulkParameter)
            return Match::None;
        kind = bytes[2] == command::SetParameter ? FrameKind::SetParameter : FrameKind::BulkParameter;
    }
    if (bytes.size() > 3 && bytes[3] != frame::Marker)
        return Match::None;
    if (bytes.size() < 5)
        return Match::Start;
    const int address = bytes[4];
    if (address < 1 || address > static_cast<int>(ParameterRows().size()))
        return Match::None;
    const bool wide = kind == FrameKind::SetParameter && Row(address).valueWidth == ValueWidth::FourBytes;
    const std::size_t length = 6 + (wide ? kWideValueExtra : 0);
    if (bytes.size() > length || (bytes.size() > 6 && bytes.back() != 0x00))
        return Match::None;
    return bytes.size() == length ? Match::Whole : Match::Start;
}

/// Whether the bytes are one of the panel's frames, the start of one, or neither, and which.
Match MatchToDevice(std::span<const std::uint8_t> bytes, FrameKind& kind) {
    if (bytes.size() == 1 && bytes[0] == frame::Ping) {
        kind = FrameKind::Ping;
        return Match::Whole;
    }
    Match best = Match::None;
    for (const FixedSequence& sequence : kFixedSequences) {
        const Match match = MatchFixed(bytes, sequence);
        if (match == Match::Whole) {
            kind = sequence.kind;
            return match;
        }
        best = std::max(best, match);
    }
    return std::max(best, MatchParameter(bytes, kind));
}

std::optional<FrameKind> ReplyKind(std::uint8_t byte) {
    switch (byte) {
    case reply::HelloAnswer:
        return FrameKind::HelloAnswer;
    case reply::PingEcho:
        return FrameKind::PingEcho;
    case reply::KeyResetRequest:
        return FrameKind::KeyResetRequest;
    default:
        return std::nullopt;
    }
}

Text HexText(const Bytes& bytes) {
    Text text;
    for (const std::uint8_t byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        if (!text.empty())
            text += ' ';
        text += digits;
    }
    return text;
}

/// "MIC2 57HZ = +3dB" for the frame's channel, address and value.
Text ParameterText(const Bytes& bytes) {
    const ChannelAddress key{bytes[1], bytes[4]};
    const std::optional<int> field = FieldOfChannelAddress(key);
    if (!field)
        return "address " + std::to_string(key.address) + " on channel " + std::to_string(key.channel) +
               ": no such setting";
    return FieldName(*field) + " = " + ValueText(*field, bytes[5]);
}

Text DescriptionOf(const DecodedFrame& frame) {
    switch (frame.kind) {
    case FrameKind::Hello:
        return "hello";
    case FrameKind::DumpRequest:
        return "dump request";
    case FrameKind::Ping:
        return "ping";
    case FrameKind::StoreEffect:
        return "store";
    case FrameKind::RestoreDefaults:
        return "restore defaults";
    case FrameKind::SetParameter:
        return ParameterText(frame.bytes);
    case FrameKind::BulkParameter:
        return ParameterText(frame.bytes) + " (send-all)";
    case FrameKind::HelloAnswer:
        return "hello answer";
    case FrameKind::PingEcho:
        return "echo";
    case FrameKind::KeyResetRequest:
        return "key reset request";
    case FrameKind::Dump:
        return "dump, " + std::to_string(frame.bytes.size()) + " bytes" +
               (frame.bytes.front() == reply::DumpMarker ? " starting with the marker" : "");
    case FrameKind::DumpCutShort:
        return "dump cut short, " + std::to_string(frame.bytes.size()) + " of " + std::to_string(EffectSetFieldCount) +
               " bytes";
    case FrameKind::NoFrame:
        break;
    }
    return "no frame";
}

/// The bytes of timed bytes, and the time of the first.
template <typename TimedBytes> Bytes BytesOf(const TimedBytes& timed) {
    Bytes bytes;
    for (const auto& entry : timed)
        bytes.push_back(entry.byte);
    return bytes;
}

/// Frames that end together, in the order their first bytes came.
void SortByTime(std::vector<DecodedFrame>& frames) {
    std::stable_sort(frames.begin(), frames.end(),
                     [](const DecodedFrame& a, const DecodedFrame& b) { return a.time < b.time; });
}

} // namespace

Text FrameText(const DecodedFrame& frame) {
    const Text arrow = frame.direction == Direction::ToDevice ? "→ " : "← ";
    if (frame.kind == FrameKind::Dump || frame.kind == FrameKind::DumpCutShort)
        return arrow + DescriptionOf(frame) + ": " + HexText(frame.bytes);
    return arrow + HexText(frame.bytes) + "  " + DescriptionOf(frame);
}

Text TrafficLine(const DecodedFrame& frame) {
    const std::time_t seconds = TrafficClock::to_time_t(frame.time);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(frame.time.time_since_epoch()).count() % 1000;
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d ", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(milliseconds));
    return stamp + FrameText(frame);
}

std::vector<DecodedFrame> TrafficDecoder::feed(Direction direction, std::uint8_t byte, TrafficClock::time_point time) {
    std::vector<DecodedFrame> frames = expire(time);
    if (direction == Direction::ToDevice)
        feedToDevice(byte, time, frames);
    else
        feedToPanel(byte, time, frames);
    return frames;
}

void TrafficDecoder::feedToDevice(std::uint8_t byte, TrafficClock::time_point time, std::vector<DecodedFrame>& frames) {
    Lane& toDevice = lane(Direction::ToDevice);
    toDevice.pending.push_back({byte, time});
    // A byte that ends a start as no frame leaves its first byte behind and is tried again with the rest:
    // a frame may begin inside bytes that began as another.
    while (!toDevice.pending.empty()) {
        FrameKind kind = FrameKind::NoFrame;
        const Bytes bytes = BytesOf(toDevice.pending);
        const Match match = MatchToDevice(bytes, kind);
        if (match == Match::None) {
            toDevice.stray.push_back(toDevice.pending.front());
            toDevice.pending.erase(toDevice.pending.begin());
            continue;
        }
        tellStrays(frames);
        if (match == Match::Whole) {
            const TrafficClock::time_point first = toDevice.pending.front().time;
            toDevice.pending.clear();
            // The panel sends a hello only offline and a dump request only once the last dump is over.
            if (kind == FrameKind::Hello || kind == FrameKind::DumpRequest)
                closeDump(frames);
            frames.push_back({Direction::ToDevice, kind, bytes, first});
            if (kind == FrameKind::DumpRequest)
                m_dump = OpenDump{time, {}};
        }
        return;
    }
}

void TrafficDecoder::feedToPanel(std::uint8_t byte, TrafficClock::time_point time, std::vector<DecodedFrame>& frames) {
    if (m_dump) {
        m_dump->bytes.push_back({byte, time});
        if (m_dump->bytes.size() == static_cast<std::size_t>(EffectSetFieldCount)) {
            tellStrays(frames);
            frames.push_back({Direction::ToPanel, FrameKind::Dump, BytesOf(m_dump->bytes), m_dump->bytes.front().time});
            m_dump.reset();
        }
        return;
    }
    const std::optional<FrameKind> kind = ReplyKind(byte);
    if (!kind) {
        lane(Direction::ToPanel).stray.push_back({byte, time});
        return;
    }
    tellStrays(frames);
    frames.push_back({Direction::ToPanel, *kind, {byte}, time});
}

void TrafficDecoder::tellStray(Direction direction, std::vector<DecodedFrame>& frames) {
    Lane& strayLane = lane(direction);
    if (strayLane.stray.empty())
        return;
    frames.push_back({direction, FrameKind::NoFrame, BytesOf(strayLane.stray), strayLane.stray.front().time});
    strayLane.stray.clear();
}

void TrafficDecoder::tellStrays(std::vector<DecodedFrame>& frames) {
    std::vector<DecodedFrame> strays;
    tellStray(Direction::ToDevice, strays);
    tellStray(Direction::ToPanel, strays);
    SortByTime(strays);
    frames.insert(frames.end(), strays.begin(), strays.end());
}

void TrafficDecoder::closeDump(std::vector<DecodedFrame>& frames) {
    if (m_dump && !m_dump->bytes.empty())
        frames.push_back(
            {Direction::ToPanel, FrameKind::DumpCutShort, BytesOf(m_dump->bytes), m_dump->bytes.front().time});
    m_dump.reset();
}

std::vector<DecodedFrame> TrafficDecoder::expire(TrafficClock::time_point now) {
    std::vector<DecodedFrame> frames;
    for (const Direction direction : {Direction::ToDevice, Direction::ToPanel}) {
        Lane& quiet = lane(direction);
        const auto& last = quiet.pending.empty() ? quiet.stray : quiet.pending;
        if (last.empty() || now - last.back().time < kFrameGap)
            continue;
        quiet.stray.insert(quiet.stray.end(), quiet.pending.begin(), quiet.pending.end());
        quiet.pending.clear();
        tellStray(direction, frames);
    }
    if (m_dump && now - m_dump->requested >= std::chrono::milliseconds(kDumpDeadlineMs))
        closeDump(frames);
    SortByTime(frames);
    return frames;
}

std::vector<DecodedFrame> TrafficDecoder::finish() {
    std::vector<DecodedFrame> frames;
    for (const Direction direction : {Direction::ToDevice, Direction::ToPanel}) {
        Lane& open = lane(direction);
        open.stray.insert(open.stray.end(), open.pending.begin(), open.pending.end());
        open.pending.clear();
        tellStray(direction, frames);
    }
    closeDump(frames);
    SortByTime(frames);
    return frames;
}

} // namespace ep
