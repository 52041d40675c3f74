#include "model/lookup_tables.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace ep {

BoundedTable<std::int32_t, 21> DbStepTable;
BoundedTable<Text, 16> DelayTextTable;

namespace {

// The processor's delay steps are not evenly spaced, so they are listed rather than computed.
constexpr std::array<std::string_view, 16> kDelayTexts = {
    "12ms",  "24ms",  "36ms",  "49ms",  "61ms",  "73ms",  "86ms",  "98ms",
    "110ms", "122ms", "135ms", "147ms", "159ms", "172ms", "184ms", "196ms",
};

} // namespace

void FillLookupTables() {
    for (int entry = 1; entry <= static_cast<int>(DbStepTable.size()); ++entry)
        DbStepTable.set(entry, std::abs(11 - entry));
    for (int entry = 1; entry <= static_cast<int>(DelayTextTable.size()); ++entry)
        DelayTextTable.set(entry, Text(kDelayTexts[static_cast<std::size_t>(entry - 1)]));
}

} // namespace ep
