#pragma once
/// The last two steps that every parameter handler shares: the SetParameter frame and the update of the
/// parameter's field in the EffectSet text.

#include "model/parameters.h"

namespace ep {

/// Sends 80 channel BB 02 address value, then writes the value's three digits at the field position.
/// The field is written whether the frame went out or not: the handlers do not look at a send's result.
void SendParameterAndWriteField(int channel, int address, std::int32_t value, ValueWidth width, int fieldPosition);

/// The same for a global parameter: channel 0, the field of its address.
void SendGlobal(const ParameterRow& row, std::int32_t value);

} // namespace ep
