#include "model/blocks.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace ep {
namespace {

struct BlockModes {
    Block block;
    int firstSelectorIndex;
    int modeCount;
};

const BlockModes kBlockModes[] = {
    {Block::Mic, 0, 6},
    {Block::KtvTypeA, 0, 4},
    {Block::KtvTypeB, 4, 4},
    {Block::Music, 0, 6},
};

TEST(Blocks, TheTextHas255FieldsOfThreeDigits) {
    EXPECT_EQ(EffectSetFieldCount, 255);
    EXPECT_EQ(EffectSetLength, 765);
    EXPECT_EQ(FieldPosition(1), 1);
    EXPECT_EQ(FieldPosition(19), 55);
    EXPECT_EQ(FieldPosition(255), 763);
}

TEST(Blocks, ModesStartWhereTheHandlersComputeThem) {
    const struct {
        Block block;
        std::vector<int> positions;
        std::vector<int> fields;
    } cases[] = {
        {Block::Mic, {64, 91, 118, 145, 172, 199}, {22, 31, 40, 49, 58, 67}},
        {Block::KtvTypeA, {226, 250, 274, 298}, {76, 84, 92, 100}},
        {Block::KtvTypeB, {322, 352, 382, 412}, {108, 118, 128, 138}},
        {Block::Music, {442, 496, 550, 604, 658, 712}, {148, 166, 184, 202, 220, 238}},
    };
    for (const auto& c : cases) {
        const int firstIndex = c.block == Block::KtvTypeB ? 4 : 0;
        for (std::size_t mode = 0; mode < c.positions.size(); ++mode) {
            const int index = firstIndex + static_cast<int>(mode);
            EXPECT_EQ(ModeFirstPosition(c.block, index), c.positions[mode]) << index;
            EXPECT_EQ(FieldAtPosition(*ModeFirstPosition(c.block, index)), c.fields[mode]) << index;
            EXPECT_EQ(ChannelOfSelectorIndex(c.block, index), static_cast<int>(mode)) << index;
        }
    }
}

TEST(Blocks, IndicesThatSelectNoModeOfTheBlockHaveNoPosition) {
    const struct {
        Block block;
        int index;
    } cases[] = {{Block::Mic, -1},     {Block::Mic, 6},      {Block::KtvTypeA, -1}, {Block::KtvTypeA, 4},
                 {Block::KtvTypeB, 3}, {Block::KtvTypeB, 8}, {Block::Music, -1},    {Block::Music, 6}};
    for (const auto& c : cases) {
        EXPECT_EQ(ModeFirstPosition(c.block, c.index), std::nullopt) << c.index;
        EXPECT_EQ(ChannelOfSelectorIndex(c.block, c.index), std::nullopt) << c.index;
    }
}

TEST(Blocks, GlobalsStartAtTheFirstCharacterOnChannelZero) {
    EXPECT_EQ(ModeFirstPosition(Block::Global, 0), 1);
    EXPECT_EQ(ChannelOfSelectorIndex(Block::Global, 3), 0);
}

TEST(Blocks, TheLastFieldOfMusic6IsField255) {
    const AddressRange music = LayoutOf(Block::Music).addresses;
    const int lastField = FieldAtPosition(*ModeFirstPosition(Block::Music, 5)) + (music.last - music.first);
    EXPECT_EQ(lastField, 255);
    EXPECT_EQ(FieldPosition(lastField), 763);
    EXPECT_EQ(FieldPosition(lastField) + FieldWidth - 1, 765);
    EXPECT_EQ(ChannelAddressOfField(255), (ChannelAddress{5, 66}));
}

TEST(Blocks, EveryChannelAddressPairHasExactlyOneField) {
    std::set<std::pair<int, int>> pairs;
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        const std::optional<ChannelAddress> pair = ChannelAddressOfField(field);
        ASSERT_TRUE(pair) << field;
        EXPECT_TRUE(pairs.insert({pair->channel, pair->address}).second) << field;
        EXPECT_EQ(FieldOfChannelAddress(*pair), field);
    }
    EXPECT_EQ(pairs.size(), 255u);
    EXPECT_EQ(ChannelAddressOfField(0), std::nullopt);
    EXPECT_EQ(ChannelAddressOfField(256), std::nullopt);
    for (const ChannelAddress outside : {ChannelAddress{1, 1}, ChannelAddress{6, 22}, ChannelAddress{4, 31},
                                         ChannelAddress{4, 48}, ChannelAddress{0, 0}, ChannelAddress{0, 67}})
        EXPECT_EQ(FieldOfChannelAddress(outside), std::nullopt) << outside.channel << " " << outside.address;
}

TEST(Blocks, SendAllOrderAgreesWithTheModePositions) {
    int fields = 21;
    for (int address = 1; address <= 21; ++address)
        EXPECT_EQ(ChannelAddressOfField(address), (ChannelAddress{0, address}));
    for (const BlockModes& modes : kBlockModes) {
        const AddressRange addresses = LayoutOf(modes.block).addresses;
        for (int mode = 0; mode < modes.modeCount; ++mode) {
            const int index = modes.firstSelectorIndex + mode;
            for (int address = addresses.first; address <= addresses.last; ++address) {
                const int position = *ModeFirstPosition(modes.block, index) + 3 * (address - addresses.first);
                const int field = (position + 2) / 3;
                EXPECT_EQ(FieldPosition(field), position);
                EXPECT_EQ(ChannelAddressOfField(field), (ChannelAddress{mode, address}))
                    << "index " << index << " address " << address;
                ++fields;
            }
        }
    }
    EXPECT_EQ(fields, 255);
}

TEST(Blocks, ChannelIsTheOuterLoopOfEachBlock) {
    const struct {
        int field;
        ChannelAddress pair;
    } cases[] = {{1, {0, 1}},    {21, {0, 21}},  {22, {0, 22}},  {31, {1, 22}},  {75, {5, 30}},
                 {76, {0, 31}},  {84, {1, 31}},  {107, {3, 38}}, {108, {0, 39}}, {118, {1, 39}},
                 {147, {3, 48}}, {148, {0, 49}}, {166, {1, 49}}, {255, {5, 66}}};
    for (const auto& c : cases)
        EXPECT_EQ(ChannelAddressOfField(c.field), c.pair) << c.field;
}

TEST(Blocks, KtvIndicesAboveThreeSelectTypeB) {
    EXPECT_EQ(KtvBlockOfSelectorIndex(-1), Block::KtvTypeA);
    EXPECT_EQ(KtvBlockOfSelectorIndex(0), Block::KtvTypeA);
    EXPECT_EQ(KtvBlockOfSelectorIndex(3), Block::KtvTypeA);
    EXPECT_EQ(KtvBlockOfSelectorIndex(4), Block::KtvTypeB);
    EXPECT_EQ(KtvBlockOfSelectorIndex(7), Block::KtvTypeB);
}

} // namespace
} // namespace ep
