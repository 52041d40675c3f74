#pragma once
/// The byte values of the serial protocol as the processor sees them. Constants only; no parsing here.

#include <cstdint>

namespace ep::sim::protocol {

/// Item 0 of every frame and of the hello and dump-request sequences.
inline constexpr std::uint8_t Header = 0x80;
/// Item 3 of every parameter and whole-device frame.
inline constexpr std::uint8_t FrameMarker = 0x02;

/// Items 1 and 2 of the hello and the dump request.
inline constexpr std::uint8_t SystemChannel = 0xBC;
inline constexpr std::uint8_t SystemCommand = 0x88;
/// Item 3 after BC 88: which of the two sequences follows.
inline constexpr std::uint8_t HelloSelector = 0x00;
inline constexpr std::uint8_t DumpSelector = 0x01;
/// Items 4 and 5 of the hello (80 BC 88 00 00 A8).
inline constexpr std::uint8_t HelloAddress = 0x00;
inline constexpr std::uint8_t HelloValue = 0xA8;
/// Items 4 and 5 of the dump request (80 BC 88 01 80 00).
inline constexpr std::uint8_t DumpAddress = 0x80;
inline constexpr std::uint8_t DumpValue = 0x00;

/// Command bytes (item 2).
inline constexpr std::uint8_t SetParameter = 0xBB;
inline constexpr std::uint8_t BulkParameter = 0xBD;
inline constexpr std::uint8_t StoreEffect = 0x13;
inline constexpr std::uint8_t RestoreDefaults = 0x14;

/// The lone byte of the panel's keep-alive; the processor echoes it.
inline constexpr std::uint8_t Ping = 0x68;

/// Bytes the processor sends.
inline constexpr std::uint8_t HelloAnswer = 0xA8;
inline constexpr std::uint8_t KeyReset = 0x88;
inline constexpr std::uint8_t DumpMarker = 0x63;

/// Channels run 0..5: the largest block has six modes.
inline constexpr std::uint8_t LastChannel = 5;

/// The panel's switch and choice parameters send their value as a 32-bit little-endian integer, so a
/// SetParameter frame for them carries three more bytes (always 00 00 00) after the value byte.
constexpr bool CarriesFourByteValue(std::uint8_t address) {
    return (address >= 16 && address <= 21) || address == 56 || address == 57;
}
inline constexpr int FourByteValueTail = 3;

} // namespace ep::sim::protocol
