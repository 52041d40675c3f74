#include "params/effect_set_layout.h"

#include <array>

namespace ep {
namespace {

struct ModeLayout {
    Block block;
    AddressRange addresses;
    int firstSelectorIndex; // KTV type B shares its selector with type A and starts at index 4
    int modeCount;
    int firstPosition; // first character of the first mode
    int positionsPerMode;
};

// The handlers compute the first character of a mode from these constants, not from the field order,
// so the two descriptions can be checked against each other.
constexpr std::array<ModeLayout, 4> kModeLayouts = {{
    {Block::Mic, {22, 30}, 0, 6, 64, 27},
    {Block::KtvTypeA, {31, 38}, 0, 4, 226, 24},
    {Block::KtvTypeB, {39, 48}, 4, 4, 322, 30},
    {Block::Music, {49, 66}, 0, 6, 442, 54},
}};

constexpr AddressRange kGlobalAddresses = {1, 21};

// The send-all order, block by block: fields firstField.. carry channels 0..channels-1 (outer loop)
// times the block's addresses (inner loop).
struct SendAllBlock {
    int firstField;
    int channels;
    AddressRange addresses;
};

constexpr std::array<SendAllBlock, 5> kSendAllBlocks = {{
    {1, 1, {1, 21}},
    {22, 6, {22, 30}},
    {76, 4, {31, 38}},
    {108, 4, {39, 48}},
    {148, 6, {49, 66}},
}};

const ModeLayout* FindModeLayout(Block block) {
    for (const ModeLayout& layout : kModeLayouts)
        if (layout.block == block)
            return &layout;
    return nullptr;
}

int AddressCount(AddressRange range) { return range.last - range.first + 1; }

} // namespace

AddressRange AddressRangeOfBlock(Block block) {
    const ModeLayout* layout = FindModeLayout(block);
    return layout != nullptr ? layout->addresses : kGlobalAddresses;
}

std::optional<Block> BlockOfAddress(int address) {
    if (address >= kGlobalAddresses.first && address <= kGlobalAddresses.last)
        return Block::Global;
    for (const ModeLayout& layout : kModeLayouts)
        if (address >= layout.addresses.first && address <= layout.addresses.last)
            return layout.block;
    return std::nullopt;
}

Block KtvBlockOfSelectorIndex(int selectorIndex) { return selectorIndex > 3 ? Block::KtvTypeB : Block::KtvTypeA; }

std::optional<int> ChannelOfSelectorIndex(Block block, int selectorIndex) {
    const ModeLayout* layout = FindModeLayout(block);
    if (layout == nullptr)
        return 0;
    const int mode = selectorIndex - layout->firstSelectorIndex;
    if (mode < 0 || mode >= layout->modeCount)
        return std::nullopt;
    return mode;
}

std::optional<int> ModeFirstPosition(Block block, int selectorIndex) {
    const ModeLayout* layout = FindModeLayout(block);
    if (layout == nullptr)
        return 1;
    const std::optional<int> mode = ChannelOfSelectorIndex(block, selectorIndex);
    if (!mode)
        return std::nullopt;
    return layout->firstPosition + layout->positionsPerMode * *mode;
}

std::optional<int> ModeFirstField(Block block, int selectorIndex) {
    const std::optional<int> position = ModeFirstPosition(block, selectorIndex);
    if (!position)
        return std::nullopt;
    return (*position + 2) / FieldWidth;
}

std::optional<ChannelAddress> ChannelAddressOfField(int field) {
    for (const SendAllBlock& block : kSendAllBlocks) {
        const int perChannel = AddressCount(block.addresses);
        const int offset = field - block.firstField;
        if (offset >= 0 && offset < perChannel * block.channels)
            return ChannelAddress{offset / perChannel, block.addresses.first + offset % perChannel};
    }
    return std::nullopt;
}

std::optional<int> FieldOfChannelAddress(int channel, int address) {
    for (const SendAllBlock& block : kSendAllBlocks) {
        if (address < block.addresses.first || address > block.addresses.last)
            continue;
        if (channel < 0 || channel >= block.channels)
            return std::nullopt;
        return block.firstField + channel * AddressCount(block.addresses) + (address - block.addresses.first);
    }
    return std::nullopt;
}

} // namespace ep
