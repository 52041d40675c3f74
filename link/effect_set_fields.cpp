#include "link/effect_set_fields.h"

#include "link/device_link.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <array>

namespace ep {
namespace {

struct FieldBlock {
    int firstField;
    int channels;
    int firstAddress;
    int lastAddress;
};

// Globals, MIC, KTV type A, KTV type B, MUSIC.
constexpr std::array<FieldBlock, 5> kBlocks = {{
    {1, 1, 1, 21},
    {22, 6, 22, 30},
    {76, 4, 31, 38},
    {108, 4, 39, 48},
    {148, 6, 49, 66},
}};

} // namespace

FieldAddress AddressOfField(int field) {
    for (const FieldBlock& block : kBlocks) {
        const int perChannel = block.lastAddress - block.firstAddress + 1;
        const int offset = field - block.firstField;
        if (offset >= 0 && offset < perChannel * block.channels)
            return {offset / perChannel, block.firstAddress + offset % perChannel};
    }
    return {};
}

int FieldOfAddress(int channel, int address) {
    for (const FieldBlock& block : kBlocks) {
        if (address < block.firstAddress || address > block.lastAddress)
            continue;
        if (channel < 0 || channel >= block.channels)
            return 0;
        const int perChannel = block.lastAddress - block.firstAddress + 1;
        return block.firstField + channel * perChannel + (address - block.firstAddress);
    }
    return 0;
}

Text ThreeDigitText(int value) {
    const Text digits = ToText(Value(static_cast<std::int32_t>(value)));
    if (value < 10)
        return ConcatText({"00", digits});
    if (value < 100)
        return ConcatText({"0", digits});
    return digits;
}

void WriteField(int position, int value) {
    SetEffectSetText(ReplaceText(EffectSetText(), position, 3, ThreeDigitText(value)));
}

} // namespace ep
