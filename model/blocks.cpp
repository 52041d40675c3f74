#include "model/blocks.h"

#include <array>

namespace ep {
namespace {

constexpr std::array<std::string_view, 1> kGlobalMode = {""};
constexpr std::array<std::string_view, 6> kMicModes = {"MIC1", "MIC2", "MIC3", "MIC4", "MIC5", "MIC6"};
constexpr std::array<std::string_view, 4> kKtvTypeAModes = {"KTV1", "KTV2", "KTV3", "KTV4"};
constexpr std::array<std::string_view, 4> kKtvTypeBModes = {"EFF1", "EFF2", "EFF3", "EFF4"};
constexpr std::array<std::string_view, 6> kMusicModes = {"MUSIC1", "MUSIC2", "MUSIC3", "MUSIC4", "MUSIC5", "MUSIC6"};

// clang-format off
constexpr std::array<BlockLayout, 5> kLayouts = {{
    // block, addresses, selector, first selector index, modes, first field
    {Block::Global,   {1, 21},  "",           0, kGlobalMode,    1},
    {Block::Mic,      {22, 30}, "MIC_MODE",   0, kMicModes,      22},
    {Block::KtvTypeA, {31, 38}, "KTV_MODE",   0, kKtvTypeAModes, 76},
    {Block::KtvTypeB, {39, 48}, "KTV_MODE",   4, kKtvTypeBModes, 108},
    {Block::Music,    {49, 66}, "MUSIC_MODE", 0, kMusicModes,    148},
}};
// clang-format on

constexpr bool FieldsFollowEachOther() {
    int next = 1;
    for (const BlockLayout& layout : kLayouts) {
        if (layout.firstField != next)
            return false;
        next += static_cast<int>(layout.modeNames.size()) * layout.addresses.count();
    }
    return next == EffectSetFieldCount + 1;
}
static_assert(FieldsFollowEachOther(), "the blocks' fields fill the 255 fields in order");

} // namespace

const BlockLayout& LayoutOf(Block block) { return kLayouts[static_cast<std::size_t>(block)]; }

Block KtvBlockOfSelectorIndex(int selectorIndex) { return selectorIndex > 3 ? Block::KtvTypeB : Block::KtvTypeA; }

std::optional<int> ChannelOfSelectorIndex(Block block, int selectorIndex) {
    if (block == Block::Global)
        return 0;
    const BlockLayout& layout = LayoutOf(block);
    const int mode = selectorIndex - layout.firstSelectorIndex;
    if (mode < 0 || mode >= layout.modeCount())
        return std::nullopt;
    return mode;
}

std::optional<int> ModeFirstPosition(Block block, int selectorIndex) {
    const std::optional<int> mode = ChannelOfSelectorIndex(block, selectorIndex);
    if (!mode)
        return std::nullopt;
    const BlockLayout& layout = LayoutOf(block);
    return FieldPosition(layout.firstField + *mode * layout.fieldsPerMode());
}

std::optional<ChannelAddress> ChannelAddressOfField(int field) {
    for (const BlockLayout& layout : kLayouts) {
        const int offset = field - layout.firstField;
        if (offset >= 0 && offset < layout.fieldsPerMode() * layout.modeCount())
            return ChannelAddress{offset / layout.fieldsPerMode(),
                                  layout.addresses.first + offset % layout.fieldsPerMode()};
    }
    return std::nullopt;
}

std::optional<int> FieldOfChannelAddress(ChannelAddress key) {
    for (const BlockLayout& layout : kLayouts)
        if (key.address >= layout.addresses.first && key.address <= layout.addresses.last)
            return key.channel >= 0 && key.channel < layout.modeCount()
                       ? std::optional<int>(layout.firstField + key.channel * layout.fieldsPerMode() + key.address -
                                            layout.addresses.first)
                       : std::nullopt;
    return std::nullopt;
}

} // namespace ep
