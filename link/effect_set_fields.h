#pragma once
/// The order of the 255 fields of the EffectSet text, as the send-all sequence walks them: the global
/// addresses, then each block with the channel as the outer loop and the address as the inner one.

#include "runtime/value.h"

namespace ep {

struct FieldAddress {
    int channel = 0;
    int address = 0;
};

constexpr int kFieldCount = 255;

/// The (channel, address) that field (1..255) carries.
FieldAddress AddressOfField(int field);

/// The field (1..255) of a (channel, address) pair; 0 for a pair that has none.
int FieldOfAddress(int channel, int address);

/// The three-digit text of a field value: "007", "042", "168".
Text ThreeDigitText(int value);

/// Writes the value's three digits into the EffectSet at the 1-based character position.
void WriteField(int position, int value);

} // namespace ep
