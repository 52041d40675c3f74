#include "sim/frame_description.h"

#include "sim/field_map.h"

#include <cstdio>

namespace ep::sim {
namespace {

std::string ReasonText(BrokenReason reason) {
    switch (reason) {
    case BrokenReason::StrayByte:
        return "stray byte";
    case BrokenReason::BadChannel:
        return "bad channel";
    case BrokenReason::BadCommand:
        return "bad command";
    case BrokenReason::BadMarker:
        return "bad item 3";
    case BrokenReason::BadAddress:
        return "bad address";
    case BrokenReason::BadValue:
        return "bad value";
    case BrokenReason::None:
        break;
    }
    return "unknown";
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text = "[";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char item[4];
        std::snprintf(item, sizeof item, "%02X", bytes[i]);
        if (i > 0)
            text += ' ';
        text += item;
    }
    return text + "]";
}

} // namespace

std::string FrameKindName(FrameKind kind) {
    switch (kind) {
    case FrameKind::Hello:
        return "hello";
    case FrameKind::DumpRequest:
        return "dump request";
    case FrameKind::Ping:
        return "ping";
    case FrameKind::SetParameter:
        return "SetParameter";
    case FrameKind::BulkParameter:
        return "BulkParameter";
    case FrameKind::StoreEffect:
        return "StoreEffect";
    case FrameKind::RestoreDefaults:
        return "RestoreDefaults";
    case FrameKind::Broken:
        break;
    }
    return "broken frame";
}

std::string DescribeFrame(const ParsedFrame& frame) {
    std::string text = FrameKindName(frame.kind);
    if (frame.kind == FrameKind::Broken)
        text += " (" + ReasonText(frame.reason) + ")";
    if (frame.kind == FrameKind::SetParameter || frame.kind == FrameKind::BulkParameter) {
        text += " channel " + std::to_string(frame.channel) + " address " + std::to_string(frame.address) + " value " +
                std::to_string(frame.value);
        if (const std::optional<int> field = FieldOf({frame.channel, frame.address}))
            text += " field " + std::to_string(*field);
        if (frame.valueCutShort)
            text += " (4-byte value cut short after " + std::to_string(frame.valueLength) + " bytes)";
        else if (frame.valueLength > 1)
            text += " (" + std::to_string(frame.valueLength) + "-byte value)";
    }
    return text + " " + HexBytes(frame.bytes);
}

} // namespace ep::sim
