#include "sim/field_map.h"

#include <array>

namespace ep::sim {
namespace {

/// One region of the memory: every channel holds the same run of addresses, channel outer, address inner.
struct Region {
    int firstField;
    int channelCount;
    int firstAddress;
    int addressCount;
};

constexpr std::array<Region, 5> Regions{{
    {1, 1, 1, 21},    // globals
    {22, 6, 22, 9},   // microphone modes
    {76, 4, 31, 8},   // echo modes
    {108, 4, 39, 10}, // echo-and-reverb modes
    {148, 6, 49, 18}, // music modes
}};

} // namespace

std::optional<int> FieldOf(ParameterKey key) {
    for (const Region& region : Regions) {
        const int offset = key.address - region.firstAddress;
        if (offset < 0 || offset >= region.addressCount)
            continue;
        if (key.channel >= region.channelCount)
            return std::nullopt;
        return region.firstField + key.channel * region.addressCount + offset;
    }
    return std::nullopt;
}

std::optional<ParameterKey> KeyOfField(int field) {
    for (const Region& region : Regions) {
        const int index = field - region.firstField;
        if (index < 0 || index >= region.channelCount * region.addressCount)
            continue;
        return ParameterKey{static_cast<std::uint8_t>(index / region.addressCount),
                            static_cast<std::uint8_t>(region.firstAddress + index % region.addressCount)};
    }
    return std::nullopt;
}

} // namespace ep::sim
