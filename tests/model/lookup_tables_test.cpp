#include "model/lookup_tables.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

TEST(LookupTables, DbStepTableCountsDownToZeroAtEntryElevenAndUpAgain) {
    FillLookupTables();
    const int expected[] = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int entry = 1; entry <= 21; ++entry)
        EXPECT_EQ(DbStepTable.at(entry), expected[entry - 1]) << entry;
}

TEST(LookupTables, DelayTextTableHoldsTheSixteenDelaysInOrder) {
    FillLookupTables();
    const char* const expected[] = {"12ms",  "24ms",  "36ms",  "49ms",  "61ms",  "73ms",  "86ms",  "98ms",
                                    "110ms", "122ms", "135ms", "147ms", "159ms", "172ms", "184ms", "196ms"};
    for (int entry = 1; entry <= 16; ++entry)
        EXPECT_EQ(DelayTextTable.at(entry), expected[entry - 1]) << entry;
}

} // namespace
} // namespace ep
