#include "link/effect_set_fields.h"

#include <gtest/gtest.h>

#include <set>

namespace ep {
namespace {

TEST(EffectSetFields, EveryPairHasExactlyOneFieldAndBothDirectionsAgree) {
    std::set<std::pair<int, int>> pairs;
    for (int field = 1; field <= kFieldCount; ++field) {
        const FieldAddress address = AddressOfField(field);
        EXPECT_TRUE(pairs.insert({address.channel, address.address}).second) << field;
        EXPECT_EQ(FieldOfAddress(address.channel, address.address), field);
    }
    EXPECT_EQ(pairs.size(), 255u);
}

TEST(EffectSetFields, ChannelIsTheOuterLoopWithinEachBlock) {
    const struct {
        int field;
        int channel;
        int address;
    } cases[] = {{1, 0, 1},    {21, 0, 21},  {22, 0, 22},  {31, 1, 22},  {75, 5, 30}, {76, 0, 31},
                 {84, 1, 31},  {107, 3, 38}, {108, 0, 39}, {118, 1, 39}, {147, 3, 48}, {148, 0, 49},
                 {166, 1, 49}, {255, 5, 66}};
    for (const auto& c : cases) {
        EXPECT_EQ(AddressOfField(c.field).channel, c.channel) << c.field;
        EXPECT_EQ(AddressOfField(c.field).address, c.address) << c.field;
    }
    EXPECT_EQ(FieldOfAddress(1, 5), 0) << "globals exist once";
    EXPECT_EQ(FieldOfAddress(4, 31), 0) << "four KTV modes of each type";
    EXPECT_EQ(FieldOfAddress(0, 67), 0);
}

} // namespace
} // namespace ep
