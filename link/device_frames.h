#pragma once
/// The byte language from the panel to the processor: the six-item DeviceFrame and the fixed sequences
/// of the connection protocol. Each item goes out through its own synchronous Send. A failed item ends the
/// sequence: the device could only get a broken frame, and with a device that stopped reading each
/// further item would hold the window for its own time-out.

#include "runtime/value.h"

#include <cstdint>

namespace ep {

namespace command {
constexpr std::uint8_t SetParameter = 0xBB;
constexpr std::uint8_t BulkParameter = 0xBD;
constexpr std::uint8_t StoreEffect = 0x13;
constexpr std::uint8_t RestoreDefaults = 0x14;
} // namespace command

/// 0x80, channel, command, 0x02, address, then the value item: a byte puts one byte on the line, the
/// 32-bit integer of the switch and choice handlers four. True when every item went out.
bool SendDeviceFrame(std::uint8_t channel, std::uint8_t command, std::uint8_t address, const Value& value);

/// 80 BC 88 00 00 A8, sent by each connect attempt.
void SendHelloFrame();
/// 80 BC 88 01 80 00, asks for all 255 values.
void SendDumpRequest();
/// 68, the liveness ping.
void SendPingByte();

} // namespace ep
