#pragma once
/// The 255 values of the processor as the EffectSet text lays them out: the global parameters once, and
/// each block's parameters once per mode. For a block it gives the addresses, its selector, its modes'
/// names, channel bytes and first fields; for a field its (channel, address), in the order in which the
/// send-all sequence walks them. Pure data and arithmetic; it touches no control and no text.

#include <optional>
#include <span>
#include <string_view>

namespace ep {

/// The groups of parameter addresses; each block mode holds one copy of its block's parameters.
enum class Block { Global, Mic, KtvTypeA, KtvTypeB, Music };

inline constexpr int EffectSetFieldCount = 255;
inline constexpr int FieldWidth = 3;
inline constexpr int EffectSetLength = EffectSetFieldCount * FieldWidth;

/// The 1-based character position where field (1..255) starts.
constexpr int FieldPosition(int field) { return FieldWidth * field - 2; }
/// The field (1..255) whose three characters start at the position.
constexpr int FieldAtPosition(int position) { return (position + 2) / FieldWidth; }

struct AddressRange {
    int first = 0;
    int last = 0;
    constexpr int count() const { return last - first + 1; }
};

struct BlockLayout {
    Block block = Block::Global;
    AddressRange addresses;
    /// The combo box whose selection picks the mode; empty for the globals.
    std::string_view selector;
    /// The selector index of the first mode: KTV type B shares its selector with type A and starts at 4.
    int firstSelectorIndex = 0;
    /// The modes by channel byte, as the selector's items name them; one unnamed mode for the globals.
    std::span<const std::string_view> modeNames;
    int firstField = 0;

    int modeCount() const { return static_cast<int>(modeNames.size()); }
    int fieldsPerMode() const { return addresses.count(); }
};

const BlockLayout& LayoutOf(Block block);

/// The KTV type that a `KTV_MODE` index selects: type B above 3, type A otherwise (also for -1).
Block KtvBlockOfSelectorIndex(int selectorIndex);

/// The channel byte of a selector index: the index less the block's first index, 0 for the globals.
/// Empty when the index selects no mode of the block.
std::optional<int> ChannelOfSelectorIndex(Block block, int selectorIndex);

/// The first character position of the mode that the selector index chooses (1 for the globals); empty
/// when the index selects no mode of the block.
std::optional<int> ModeFirstPosition(Block block, int selectorIndex);

struct ChannelAddress {
    int channel = 0;
    int address = 0;
    friend bool operator==(const ChannelAddress&, const ChannelAddress&) = default;
};

/// The (channel, address) that field (1..255) carries: the globals, then each block with the channel as
/// the outer loop and the address as the inner one. Empty outside 1..255.
std::optional<ChannelAddress> ChannelAddressOfField(int field);

/// The field (1..255) that carries the (channel, address); empty when no mode of the address's block has
/// that channel, or for an address outside 1..66.
std::optional<int> FieldOfChannelAddress(ChannelAddress key);

} // namespace ep
