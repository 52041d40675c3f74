#include "link/device_frames.h"

#include "link/device_link.h"

#include <initializer_list>

namespace ep {
namespace {

constexpr std::uint8_t kHeader = 0x80;
constexpr std::uint8_t kFrameMarker = 0x02;

bool SendBytes(std::initializer_list<std::uint8_t> bytes) {
    SerialLink& link = PortLink();
    for (const std::uint8_t byte : bytes)
        if (link.Send(Value(byte)) != 1)
            return false;
    return true;
}

} // namespace

bool SendDeviceFrame(std::uint8_t channel, std::uint8_t commandByte, std::uint8_t address, const Value& value) {
    return SendBytes({kHeader, channel, commandByte, kFrameMarker, address}) && PortLink().Send(value) == 1;
}

void SendHelloFrame() { SendBytes({0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8}); }

void SendDumpRequest() { SendBytes({0x80, 0xBC, 0x88, 0x01, 0x80, 0x00}); }

void SendPingByte() { SendBytes({0x68}); }

} // namespace ep
