#include "sim/field_map.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace ep::sim {
namespace {

struct FieldCase {
    int channel;
    int address;
    int field;
};

// First and last field of every block in every channel.
const std::vector<FieldCase> BlockEdges{
    {0, 1, 1},    {0, 21, 21},                                                          // globals
    {0, 22, 22},  {0, 30, 30},  {1, 22, 31},  {1, 30, 39},  {2, 22, 40},  {2, 30, 48},  // MIC1..3
    {3, 22, 49},  {3, 30, 57},  {4, 22, 58},  {4, 30, 66},  {5, 22, 67},  {5, 30, 75},  // MIC4..6
    {0, 31, 76},  {0, 38, 83},  {1, 31, 84},  {1, 38, 91},                              // KTV1..2
    {2, 31, 92},  {2, 38, 99},  {3, 31, 100}, {3, 38, 107},                             // KTV3..4
    {0, 39, 108}, {0, 48, 117}, {1, 39, 118}, {1, 48, 127},                             // EFF1..2
    {2, 39, 128}, {2, 48, 137}, {3, 39, 138}, {3, 48, 147},                             // EFF3..4
    {0, 49, 148}, {0, 66, 165}, {1, 49, 166}, {1, 66, 183}, {2, 49, 184}, {2, 66, 201}, // MUSIC1..3
    {3, 49, 202}, {3, 66, 219}, {4, 49, 220}, {4, 66, 237}, {5, 49, 238}, {5, 66, 255}, // MUSIC4..6
    {3, 56, 209}, {3, 57, 210}, {1, 22, 31},  {0, 19, 19},                              // inner examples
};

ParameterKey Key(int channel, int address) {
    return {static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(address)};
}

TEST(FieldMap, BlockEdgesOfEveryChannel) {
    for (const FieldCase& entry : BlockEdges) {
        EXPECT_EQ(FieldOf(Key(entry.channel, entry.address)), entry.field)
            << "channel " << entry.channel << " address " << entry.address;
        EXPECT_EQ(KeyOfField(entry.field), Key(entry.channel, entry.address)) << "field " << entry.field;
    }
}

TEST(FieldMap, ParametersTheProcessorDoesNotHave) {
    const std::vector<ParameterKey> missing{
        Key(0, 0),  Key(0, 67), Key(1, 1),  Key(1, 21), Key(6, 22), Key(4, 31),
        Key(4, 38), Key(4, 39), Key(4, 48), Key(6, 49), Key(6, 66), Key(0xBC, 1),
    };
    for (const ParameterKey& key : missing)
        EXPECT_FALSE(FieldOf(key)) << int(key.channel) << "/" << int(key.address);
    EXPECT_FALSE(KeyOfField(0));
    EXPECT_FALSE(KeyOfField(256));
}

TEST(FieldMap, EveryFieldHasExactlyOneParameter) {
    std::set<std::pair<int, int>> keys;
    for (int field = 1; field <= FieldCount; ++field) {
        const std::optional<ParameterKey> key = KeyOfField(field);
        ASSERT_TRUE(key) << field;
        EXPECT_EQ(FieldOf(*key), field);
        keys.emplace(key->channel, key->address);
    }
    EXPECT_EQ(keys.size(), 255u);
}

} // namespace
} // namespace ep::sim
