#pragma once
/// One-line human-readable text of a parsed frame, for logs. Formatting only.

#include "sim/frame_parser.h"

#include <string>

namespace ep::sim {

/// Name of a frame kind, as the log shows it ("SetParameter", "hello", ...).
std::string FrameKindName(FrameKind kind);

/// For example "SetParameter channel 0 address 19 value 5 field 19 (4-byte value) [80 00 BB 02 13 05 00 00
/// 00]".
std::string DescribeFrame(const ParsedFrame& frame);

} // namespace ep::sim
