#pragma once
/// The program globals that the parameter layer reads: the two lookup tables of the value displays and
/// the flag that a whole EffectSet has been shown. Created before the window; the created handler fills
/// the tables and resets the flag.

#include "runtime/bounded_table.h"
#include "runtime/value.h"

#include <cstdint>

namespace ep {

/// Magnitudes of the ±10 step displays: entry i is |11 - i| once filled; 21 zeros before.
extern BoundedTable<std::int32_t, 21> DbStepTable;

/// Texts of the echo delay displays, "12ms" .. "196ms" once filled; 16 empty texts before.
extern BoundedTable<Text, 16> DelayTextTable;

/// 1 once a whole EffectSet has been shown; the limit handlers clamp only then.
extern std::int32_t SetLoaded;

/// Fills `DbStepTable` and `DelayTextTable` with their fixed contents.
void FillLookupTables();

} // namespace ep
