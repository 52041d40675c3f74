#pragma once
/// The last two steps that every parameter handler shares: the SetParameter frame and the update of the
/// parameter's field in the EffectSet text.

#include "params/parameter_table.h"

namespace ep {

/// Sends 80 channel BB 02 address value, then writes the value's three digits at the field position.
void SendParameterAndWriteField(int channel, int address, std::int32_t value, ValueWidth width, int fieldPosition);

/// The 1-based character position of a global parameter's field.
constexpr int GlobalFieldPosition(int address) { return 3 * address - 2; }

} // namespace ep
