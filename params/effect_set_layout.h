#pragma once
/// Where each of the processor's 255 values sits in the EffectSet text: the blocks of parameter
/// addresses, the first field and character of each mode, the channel byte of a selector index, and the
/// order in which the send-all sequence walks the fields. Pure arithmetic; it does not read or write text.

#include <optional>

namespace ep {

/// The groups of parameter addresses; each block mode holds one copy of its block's parameters.
enum class Block { Global, Mic, KtvTypeA, KtvTypeB, Music };

inline constexpr int EffectSetFieldCount = 255;
inline constexpr int FieldWidth = 3;
inline constexpr int EffectSetLength = EffectSetFieldCount * FieldWidth;

/// The 1-based character position where field (1..255) starts.
constexpr int FieldPosition(int field) { return FieldWidth * field - 2; }

struct AddressRange {
    int first = 0;
    int last = 0;
};

/// The addresses of a block: 1..21, 22..30, 31..38, 39..48, 49..66.
AddressRange AddressRangeOfBlock(Block block);

/// The block that owns the address (1..66); empty for any other address.
std::optional<Block> BlockOfAddress(int address);

/// The KTV type that a `KTV_MODE` index selects: type B above 3, type A otherwise (also for -1).
Block KtvBlockOfSelectorIndex(int selectorIndex);

/// The channel byte for a selector index: the index itself, less 4 for KTV type B, 0 for the globals.
/// Empty when the index selects no mode of the block.
std::optional<int> ChannelOfSelectorIndex(Block block, int selectorIndex);

/// The first character position of the mode that the selector index chooses (MIC 64 + 27k,
/// KTV A 226 + 24k, KTV B 322 + 30(k - 4), MUSIC 442 + 54k; 1 for the globals). Empty when the index
/// selects no mode of the block.
std::optional<int> ModeFirstPosition(Block block, int selectorIndex);

/// The first field of that mode (MIC 22 + 9k, KTV A 76 + 8k, KTV B 108 + 10(k - 4), MUSIC 148 + 18k).
std::optional<int> ModeFirstField(Block block, int selectorIndex);

struct ChannelAddress {
    int channel = 0;
    int address = 0;
    friend bool operator==(const ChannelAddress&, const ChannelAddress&) = default;
};

/// The (channel, address) that the send-all sequence sends for field (1..255): the globals, then each
/// block with the channel as the outer loop and the address as the inner one. Empty outside 1..255.
std::optional<ChannelAddress> ChannelAddressOfField(int field);

/// The field of a (channel, address) pair in that order; empty for a pair that has no field.
std::optional<int> FieldOfChannelAddress(int channel, int address);

} // namespace ep
