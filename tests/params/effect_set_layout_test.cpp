#include "params/effect_set_layout.h"

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

TEST(EffectSetLayout, TheTextHas255FieldsOfThreeDigits) {
    EXPECT_EQ(EffectSetFieldCount, 255);
    EXPECT_EQ(EffectSetLength, 765);
    EXPECT_EQ(FieldPosition(1), 1);
    EXPECT_EQ(FieldPosition(19), 55);
    EXPECT_EQ(FieldPosition(255), 763);
}

TEST(EffectSetLayout, ModesStartWhereTheHandlersComputeThem) {
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
            EXPECT_EQ(ModeFirstField(c.block, index), c.fields[mode]) << index;
            EXPECT_EQ(ChannelOfSelectorIndex(c.block, index), static_cast<int>(mode)) << index;
        }
    }
}

TEST(EffectSetLayout, IndicesThatSelectNoModeOfTheBlockHaveNoPosition) {
    const struct {
        Block block;
        int index;
    } cases[] = {{Block::Mic, -1},     {Block::Mic, 6},      {Block::KtvTypeA, -1}, {Block::KtvTypeA, 4},
                 {Block::KtvTypeB, 3}, {Block::KtvTypeB, 8}, {Block::Music, -1},    {Block::Music, 6}};
    for (const auto& c : cases) {
        EXPECT_EQ(ModeFirstPosition(c.block, c.index), std::nullopt) << c.index;
        EXPECT_EQ(ModeFirstField(c.block, c.index), std::nullopt) << c.index;
        EXPECT_EQ(ChannelOfSelectorIndex(c.block, c.index), std::nullopt) << c.index;
    }
}

TEST(EffectSetLayout, GlobalsStartAtTheFirstCharacterOnChannelZero) {
    EXPECT_EQ(ModeFirstPosition(Block::Global, 0), 1);
    EXPECT_EQ(ChannelOfSelectorIndex(Block::Global, 3), 0);
}

TEST(EffectSetLayout, TheLastFieldOfMusic6IsField255) {
    const AddressRange music = AddressRangeOfBlock(Block::Music);
    const int lastField = *ModeFirstField(Block::Music, 5) + (music.last - music.first);
    EXPECT_EQ(lastField, 255);
    EXPECT_EQ(FieldPosition(lastField), 763);
    EXPECT_EQ(FieldPosition(lastField) + FieldWidth - 1, 765);
    EXPECT_EQ(ChannelAddressOfField(255), (ChannelAddress{5, 66}));
}

TEST(EffectSetLayout, EveryChannelAddressPairHasExactlyOneField) {
    std::set<std::pair<int, int>> pairs;
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        const std::optional<ChannelAddress> pair = ChannelAddressOfField(field);
        ASSERT_TRUE(pair) << field;
        EXPECT_TRUE(pairs.insert({pair->channel, pair->address}).second) << field;
        EXPECT_EQ(FieldOfChannelAddress(pair->channel, pair->address), field);
    }
    EXPECT_EQ(pairs.size(), 255u);
    EXPECT_EQ(ChannelAddressOfField(0), std::nullopt);
    EXPECT_EQ(ChannelAddressOfField(256), std::nullopt);
}

TEST(EffectSetLayout, SendAllOrderAgreesWithTheModePositions) {
    int fields = 21;
    for (int address = 1; address <= 21; ++address)
        EXPECT_EQ(ChannelAddressOfField(address), (ChannelAddress{0, address}));
    for (const BlockModes& modes : kBlockModes) {
        const AddressRange addresses = AddressRangeOfBlock(modes.block);
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

TEST(EffectSetLayout, ChannelIsTheOuterLoopOfEachBlock) {
    const struct {
        int field;
        ChannelAddress pair;
    } cases[] = {{1, {0, 1}},    {21, {0, 21}},  {22, {0, 22}},  {31, {1, 22}},  {75, {5, 30}},
                 {76, {0, 31}},  {84, {1, 31}},  {107, {3, 38}}, {108, {0, 39}}, {118, {1, 39}},
                 {147, {3, 48}}, {148, {0, 49}}, {166, {1, 49}}, {255, {5, 66}}};
    for (const auto& c : cases)
        EXPECT_EQ(ChannelAddressOfField(c.field), c.pair) << c.field;
}

TEST(EffectSetLayout, PairsWithoutAFieldHaveNone) {
    EXPECT_EQ(FieldOfChannelAddress(1, 5), std::nullopt) << "globals exist once";
    EXPECT_EQ(FieldOfChannelAddress(4, 31), std::nullopt) << "four modes of each KTV type";
    EXPECT_EQ(FieldOfChannelAddress(6, 49), std::nullopt);
    EXPECT_EQ(FieldOfChannelAddress(-1, 22), std::nullopt);
    EXPECT_EQ(FieldOfChannelAddress(0, 0), std::nullopt);
    EXPECT_EQ(FieldOfChannelAddress(0, 67), std::nullopt);
}

TEST(EffectSetLayout, AddressesBelongToTheirBlocks) {
    const struct {
        int address;
        std::optional<Block> block;
    } cases[] = {{0, std::nullopt},     {1, Block::Global},    {21, Block::Global},   {22, Block::Mic},
                 {30, Block::Mic},      {31, Block::KtvTypeA}, {38, Block::KtvTypeA}, {39, Block::KtvTypeB},
                 {48, Block::KtvTypeB}, {49, Block::Music},    {66, Block::Music},    {67, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(BlockOfAddress(c.address), c.block) << c.address;
}

TEST(EffectSetLayout, KtvIndicesAboveThreeSelectTypeB) {
    EXPECT_EQ(KtvBlockOfSelectorIndex(-1), Block::KtvTypeA);
    EXPECT_EQ(KtvBlockOfSelectorIndex(0), Block::KtvTypeA);
    EXPECT_EQ(KtvBlockOfSelectorIndex(3), Block::KtvTypeA);
    EXPECT_EQ(KtvBlockOfSelectorIndex(4), Block::KtvTypeB);
    EXPECT_EQ(KtvBlockOfSelectorIndex(7), Block::KtvTypeB);
}

} // namespace
} // namespace ep
