#include "sim/processor_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace ep::sim {
namespace {

struct DesignCase {
    int field;
    int value;
};

// Spot checks across every block, including the values that differ within a mode.
const std::vector<DesignCase> DesignCases{
    {1, 38},   {2, 30},   {3, 20},   {4, 38},   {5, 80},   {6, 30},   {7, 80},   {8, 20},   {9, 80},
    {10, 0},   {15, 0},   {16, 0},   {17, 1},   {18, 1},   {19, 5},   {20, 0},   {21, 0},   // globals
    {22, 10},  {28, 10},  {29, 1},   {30, 10},  {74, 1},   {75, 10},                        // MIC1, MIC6
    {76, 10},  {78, 40},  {80, 50},  {83, 30},  {107, 30},                                  // KTV1, KTV4
    {108, 10}, {110, 40}, {112, 20}, {113, 30}, {114, 40}, {115, 40}, {117, 50}, {147, 50}, // EFF1, EFF4
    {148, 10}, {155, 0},  {156, 0},  {157, 40}, {158, 40}, {159, 10}, {164, 40}, {165, 3},  // MUSIC1
    {245, 0},  {247, 40}, {254, 40}, {255, 3},                                              // MUSIC6
};

TEST(ProcessorModel, StartsWithTheDesignValues) {
    const ProcessorModel model;
    for (const DesignCase& entry : DesignCases)
        EXPECT_EQ(model.value(entry.field), entry.value) << "field " << entry.field;
    EXPECT_EQ(model.values(), DesignValues());
    EXPECT_EQ(model.storedValues(), DesignValues());
}

TEST(ProcessorModel, EveryModeOfABlockStartsAlike) {
    const ProcessorModel model;
    for (int channel = 1; channel < 6; ++channel) {
        EXPECT_EQ(model.value(*FieldOf({std::uint8_t(channel), 29})), 1) << channel;
        EXPECT_EQ(model.value(*FieldOf({std::uint8_t(channel), 66})), 3) << channel;
    }
    for (int channel = 1; channel < 4; ++channel) {
        EXPECT_EQ(model.value(*FieldOf({std::uint8_t(channel), 38})), 30) << channel;
        EXPECT_EQ(model.value(*FieldOf({std::uint8_t(channel), 43})), 20) << channel;
    }
}

TEST(ProcessorModel, SetsOnlyExistingFieldsAndParameters) {
    ProcessorModel model;
    EXPECT_TRUE(model.setValue(255, 7));
    EXPECT_EQ(model.value(255), 7);
    EXPECT_FALSE(model.setValue(0, 7));
    EXPECT_FALSE(model.setValue(256, 7));
    EXPECT_TRUE(model.setParameter({3, 29}, 2));
    EXPECT_EQ(model.value(49 + 7), 2);
    EXPECT_FALSE(model.setParameter({4, 31}, 2));
    EXPECT_THROW(model.value(0), std::out_of_range);
}

TEST(ProcessorModel, StoreKeepsACopyAndRestoreReturnsToTheDesignValues) {
    ProcessorModel model;
    model.setValue(1, 77);
    model.store();
    model.setValue(1, 12);
    model.setValue(2, 13);
    EXPECT_EQ(model.storedValues()[0], 77);
    EXPECT_EQ(model.storedValues()[1], 30);
    model.restoreDefaults();
    EXPECT_EQ(model.values(), DesignValues());
    EXPECT_EQ(model.storedValues()[0], 77);
}

} // namespace
} // namespace ep::sim
