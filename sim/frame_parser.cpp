#include "sim/frame_parser.h"

#include "sim/field_map.h"
#include "sim/protocol_bytes.h"

#include <utility>

namespace ep::sim {

using namespace protocol;

std::vector<ParsedFrame> FrameParser::feed(std::span<const std::uint8_t> bytes) {
    std::vector<ParsedFrame> frames;
    for (std::uint8_t byte : bytes)
        feedByte(byte, frames);
    return frames;
}

void FrameParser::feedByte(std::uint8_t byte, std::vector<ParsedFrame>& frames) {
    switch (m_state) {
    case ParserState::AwaitingHeader:
        if (byte == Header) {
            begin(byte);
        } else if (byte == Ping) {
            ParsedFrame ping;
            ping.kind = FrameKind::Ping;
            ping.bytes = {byte};
            frames.push_back(std::move(ping));
        } else {
            m_frame = ParsedFrame{};
            reject(byte, BrokenReason::StrayByte, frames);
        }
        return;
    case ParserState::Skipping:
        if (byte == Header)
            begin(byte);
        else
            ++m_skippedBytes;
        return;
    case ParserState::AwaitingValueTail:
        if (byte == 0x00) {
            m_frame.bytes.push_back(byte);
            if (++m_frame.valueLength == 1 + FourByteValueTail)
                complete(frames);
            return;
        }
        m_frame.valueCutShort = true;
        complete(frames);
        feedByte(byte, frames);
        return;
    default:
        break;
    }
    const BrokenReason reason = check(byte);
    if (reason == BrokenReason::None)
        accept(byte, frames);
    else
        reject(byte, reason, frames);
}

void FrameParser::begin(std::uint8_t header) {
    m_frame = ParsedFrame{};
    m_frame.bytes = {header};
    m_command = 0;
    m_selector = 0;
    m_state = ParserState::AwaitingChannel;
}

BrokenReason FrameParser::check(std::uint8_t byte) const {
    const bool system = m_frame.channel == SystemChannel;
    const bool hello = m_selector == HelloSelector;
    const bool parameter = m_command == SetParameter || m_command == BulkParameter;
    switch (m_state) {
    case ParserState::AwaitingChannel:
        return byte <= LastChannel || byte == SystemChannel ? BrokenReason::None : BrokenReason::BadChannel;
    case ParserState::AwaitingCommand:
        if (system)
            return byte == SystemCommand ? BrokenReason::None : BrokenReason::BadCommand;
        if (byte == SetParameter || byte == BulkParameter)
            return BrokenReason::None;
        // Store and restore concern the whole processor, so they only come with channel 0.
        if ((byte == StoreEffect || byte == RestoreDefaults) && m_frame.channel == 0)
            return BrokenReason::None;
        return BrokenReason::BadCommand;
    case ParserState::AwaitingMarker:
        if (system)
            return byte == HelloSelector || byte == DumpSelector ? BrokenReason::None : BrokenReason::BadMarker;
        return byte == FrameMarker ? BrokenReason::None : BrokenReason::BadMarker;
    case ParserState::AwaitingAddress:
        if (system)
            return byte == (hello ? HelloAddress : DumpAddress) ? BrokenReason::None : BrokenReason::BadAddress;
        if (parameter)
            return FieldOf({m_frame.channel, byte}) ? BrokenReason::None : BrokenReason::BadAddress;
        return byte == 0x00 ? BrokenReason::None : BrokenReason::BadAddress;
    case ParserState::AwaitingValue:
        if (system)
            return byte == (hello ? HelloValue : DumpValue) ? BrokenReason::None : BrokenReason::BadValue;
        if (parameter)
            return BrokenReason::None;
        return byte == 0x00 ? BrokenReason::None : BrokenReason::BadValue;
    default:
        return BrokenReason::None;
    }
}

void FrameParser::accept(std::uint8_t byte, std::vector<ParsedFrame>& frames) {
    m_frame.bytes.push_back(byte);
    switch (m_state) {
    case ParserState::AwaitingChannel:
        m_frame.channel = byte;
        m_state = ParserState::AwaitingCommand;
        break;
    case ParserState::AwaitingCommand:
        m_command = byte;
        m_state = ParserState::AwaitingMarker;
        break;
    case ParserState::AwaitingMarker:
        m_selector = byte;
        m_state = ParserState::AwaitingAddress;
        break;
    case ParserState::AwaitingAddress:
        m_frame.address = byte;
        m_state = ParserState::AwaitingValue;
        break;
    case ParserState::AwaitingValue:
        m_frame.value = byte;
        if (m_frame.channel != SystemChannel && m_command == SetParameter && CarriesFourByteValue(m_frame.address))
            m_state = ParserState::AwaitingValueTail;
        else
            complete(frames);
        break;
    default:
        break;
    }
}

void FrameParser::complete(std::vector<ParsedFrame>& frames) {
    if (m_frame.channel == SystemChannel) {
        m_frame.kind = m_selector == HelloSelector ? FrameKind::Hello : FrameKind::DumpRequest;
    } else {
        switch (m_command) {
        case SetParameter:
            m_frame.kind = FrameKind::SetParameter;
            break;
        case BulkParameter:
            m_frame.kind = FrameKind::BulkParameter;
            break;
        case StoreEffect:
            m_frame.kind = FrameKind::StoreEffect;
            break;
        default: // check() lets no other command through
            m_frame.kind = FrameKind::RestoreDefaults;
            break;
        }
    }
    frames.push_back(std::move(m_frame));
    m_frame = ParsedFrame{};
    m_state = ParserState::AwaitingHeader;
}

void FrameParser::reject(std::uint8_t byte, BrokenReason reason, std::vector<ParsedFrame>& frames) {
    ++m_brokenFrames;
    m_frame.kind = FrameKind::Broken;
    m_frame.reason = reason;
    const bool restarts = byte == Header;
    if (!restarts)
        m_frame.bytes.push_back(byte);
    m_skippedBytes += m_frame.bytes.size();
    frames.push_back(std::move(m_frame));
    if (restarts) {
        begin(byte);
    } else {
        m_frame = ParsedFrame{};
        m_state = ParserState::Skipping;
    }
}

} // namespace ep::sim
