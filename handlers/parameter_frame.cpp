#include "handlers/parameter_frame.h"

#include "link/device_frames.h"
#include "link/device_link.h"
#include "runtime/conversions.h"

namespace ep {

void SendParameterAndWriteField(int channel, int address, std::int32_t value, ValueWidth width, int fieldPosition) {
    const std::uint8_t byte = ToByte(Value(value));
    static_cast<void>(SendDeviceFrame(static_cast<std::uint8_t>(channel), command::SetParameter,
                                      static_cast<std::uint8_t>(address),
                                      width == ValueWidth::FourBytes ? Value(value) : Value(byte)));
    WriteField(fieldPosition, byte);
}

void SendGlobal(const ParameterRow& row, std::int32_t value) {
    SendParameterAndWriteField(0, row.address, value, row.valueWidth, FieldPosition(row.address));
}

} // namespace ep
