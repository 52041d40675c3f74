#include "params/parameter_frames.h"

#include "link/device_frames.h"
#include "link/effect_set_fields.h"
#include "runtime/conversions.h"

namespace ep {

void SendParameterAndWriteField(int channel, int address, std::int32_t value, ValueWidth width, int fieldPosition) {
    const std::uint8_t byte = ToByte(Value(value));
    SendDeviceFrame(static_cast<std::uint8_t>(channel), command::SetParameter, static_cast<std::uint8_t>(address),
                    width == ValueWidth::FourBytes ? Value(value) : Value(byte));
    WriteField(fieldPosition, byte);
}

} // namespace ep
