#include "link/device_frames.h"

#include "link/device_link.h"
#include "link/dump_collection.h"

#include <initializer_list>

namespace ep {
namespace {

bool SendBytes(std::initializer_list<std::uint8_t> bytes) {
    SerialLink& link = PortLink();
    for (const std::uint8_t byte : bytes)
        if (link.Send(Value(byte)) != 1)
            return false;
    return true;
}

} // namespace

bool SendDeviceFrame(std::uint8_t channel, std::uint8_t commandByte, std::uint8_t address, const Value& value) {
    return SendBytes({frame::Header, channel, commandByte, frame::Marker, address}) && PortLink().Send(value) == 1;
}

void SendHelloFrame() {
    if (SendBytes({frame::Header, frame::SystemChannel, frame::SystemCommand, frame::HelloSelector, frame::HelloAddress,
                   frame::HelloValue}))
        ExpectHelloAnswer();
}

void SendDumpRequest() {
    static_cast<void>(SendBytes({frame::Header, frame::SystemChannel, frame::SystemCommand, frame::DumpSelector,
                                 frame::DumpAddress, frame::DumpValue}));
}

void SendPingByte() { static_cast<void>(SendBytes({frame::Ping})); }

} // namespace ep
