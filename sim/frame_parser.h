#pragma once
/// Splits the bytes the panel sends into frames. Bytes in, frames out: it answers nothing and changes no
/// value. Anything it does not understand is reported as a broken frame and skipped up to the next 0x80.
///
/// Inside a frame every byte is taken by its position, so 0x80 and 0x68 are plain data there. A 0x68 is a
/// ping only where a frame could start; while skipping it is dropped too, since it may be the value byte of
/// the broken frame. After the value byte of a SetParameter for a four-byte address the parser expects
/// exactly three 0x00 bytes; any other byte ends the frame early (the value stands, marked as cut short)
/// and is then read afresh, so a 0x80 header or a ping right after a one-byte value is still recognised.
/// A zero byte can never start anything, so reading it as tail is never wrong.

#include <cstdint>
#include <span>
#include <vector>

namespace ep::sim {

enum class FrameKind { Hello, DumpRequest, Ping, SetParameter, BulkParameter, StoreEffect, RestoreDefaults, Broken };

/// Why a run of bytes was not understood.
enum class BrokenReason {
    None,
    StrayByte,  ///< a byte that starts no frame (neither 0x80 nor a lone 0x68)
    BadChannel, ///< item 1 is neither 0..5 nor 0xBC
    BadCommand, ///< item 2 is no command known for that channel
    BadMarker,  ///< item 3 is not 0x02 (or not 00/01 after BC 88)
    BadAddress, ///< item 4 names no parameter of that channel, or is not the fixed value of the sequence
    BadValue,   ///< item 5 is not the fixed value of the sequence
};

struct ParsedFrame {
    FrameKind kind = FrameKind::Broken;
    std::uint8_t channel = 0;
    std::uint8_t address = 0;
    std::uint8_t value = 0;
    /// Bytes the value took on the line: 4 for the four-byte SetParameter values, fewer when cut short.
    int valueLength = 1;
    /// A four-byte value whose trailing zeros did not all arrive before the next frame.
    bool valueCutShort = false;
    BrokenReason reason = BrokenReason::None;
    /// The bytes as received; for a broken frame those up to and including the offending one, unless that
    /// one is a 0x80, which starts the next frame.
    std::vector<std::uint8_t> bytes;
};

/// The parser's position inside a frame.
enum class ParserState {
    AwaitingHeader,
    AwaitingChannel,
    AwaitingCommand,
    AwaitingMarker,
    AwaitingAddress,
    AwaitingValue,
    AwaitingValueTail,
    Skipping,
};

class FrameParser {
  public:
    /// Feeds received bytes; returns the frames they complete, in order.
    std::vector<ParsedFrame> feed(std::span<const std::uint8_t> bytes);

    ParserState state() const { return m_state; }
    /// Runs of bytes that were not understood.
    std::uint64_t brokenFrames() const { return m_brokenFrames; }
    /// Bytes that belonged to no understood frame.
    std::uint64_t skippedBytes() const { return m_skippedBytes; }

  private:
    void feedByte(std::uint8_t byte, std::vector<ParsedFrame>& frames);
    void begin(std::uint8_t header);
    BrokenReason check(std::uint8_t byte) const;
    void accept(std::uint8_t byte, std::vector<ParsedFrame>& frames);
    void complete(std::vector<ParsedFrame>& frames);
    void reject(std::uint8_t byte, BrokenReason reason, std::vector<ParsedFrame>& frames);

    ParserState m_state = ParserState::AwaitingHeader;
    ParsedFrame m_frame;
    std::uint8_t m_command = 0;
    std::uint8_t m_selector = 0;
    std::uint64_t m_brokenFrames = 0;
    std::uint64_t m_skippedBytes = 0;
};

} // namespace ep::sim
