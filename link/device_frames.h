#pragma once
/// The byte language from the panel to the processor: the six-item DeviceFrame and the fixed sequences
/// of the connection protocol, and the bytes the processor sends back. Each item goes out through its own
/// synchronous Send. A failed item ends the sequence: the device could only get a broken frame, and with a
/// device that stopped reading each further item would hold the window for its own time-out.

#include "runtime/value.h"

#include <cstdint>

namespace ep {

namespace frame {
/// Item 0 of every frame and of the hello and dump-request sequences.
inline constexpr std::uint8_t Header = 0x80;
/// Item 3 of every DeviceFrame.
inline constexpr std::uint8_t Marker = 0x02;
/// Items 1 and 2 of the hello and the dump request: the system channel and its command.
inline constexpr std::uint8_t SystemChannel = 0xBC;
inline constexpr std::uint8_t SystemCommand = 0x88;
/// Items 3..5 of the hello: 00 00 A8.
inline constexpr std::uint8_t HelloSelector = 0x00;
inline constexpr std::uint8_t HelloAddress = 0x00;
inline constexpr std::uint8_t HelloValue = 0xA8;
/// Items 3..5 of the dump request: 01 80 00.
inline constexpr std::uint8_t DumpSelector = 0x01;
inline constexpr std::uint8_t DumpAddress = 0x80;
inline constexpr std::uint8_t DumpValue = 0x00;
/// The lone byte of the liveness ping.
inline constexpr std::uint8_t Ping = 0x68;
} // namespace frame

/// Item 2 of a DeviceFrame.
namespace command {
inline constexpr std::uint8_t SetParameter = 0xBB;
inline constexpr std::uint8_t BulkParameter = 0xBD;
inline constexpr std::uint8_t StoreEffect = 0x13;
inline constexpr std::uint8_t RestoreDefaults = 0x14;
} // namespace command

/// What the processor sends.
namespace reply {
inline constexpr std::uint8_t HelloAnswer = 0xA8;
inline constexpr std::uint8_t PingEcho = 0x68;
inline constexpr std::uint8_t KeyResetRequest = 0x88;
/// The first byte of a dump that starts with a marker rather than with its first value.
inline constexpr std::uint8_t DumpMarker = 0x63;
} // namespace reply

/// 0x80, channel, command, 0x02, address, then the value item: a byte puts one byte on the line, the
/// 32-bit integer of the switch and choice handlers four. True when every item went out.
[[nodiscard]] bool SendDeviceFrame(std::uint8_t channel, std::uint8_t command, std::uint8_t address,
                                   const Value& value);

/// 80 BC 88 00 00 A8, sent by each connect attempt; one that does not go out is retried at the next, one
/// that does makes the next byte A8 its answer.
void SendHelloFrame();
/// 80 BC 88 01 80 00, asks for all 255 values; a request that does not go out ends in the dump's deadline.
void SendDumpRequest();
/// 68, the liveness ping; one that does not go out gets no echo, which the watchdog notices.
void SendPingByte();

} // namespace ep
