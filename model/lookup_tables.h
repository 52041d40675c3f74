#pragma once
/// The two lookup tables of the value displays, program globals that the window's creation fills: the
/// magnitudes of the ±10 steps and the texts of the echo delays. Lookups are 1-based and bounded; an
/// index outside a table is a runtime error.

#include "runtime/bounded_table.h"
#include "runtime/value.h"

#include <cstdint>

namespace ep {

/// Magnitudes of the ±10 step displays: entry i is |11 - i| once filled; 21 zeros before.
extern BoundedTable<std::int32_t, 21> DbStepTable;

/// Texts of the echo delay displays, "12ms" .. "196ms" once filled; 16 empty texts before.
extern BoundedTable<Text, 16> DelayTextTable;

/// Fills `DbStepTable` and `DelayTextTable` with their fixed contents.
void FillLookupTables();

} // namespace ep
