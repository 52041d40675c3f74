#pragma once
/// The values the processor holds when it leaves the factory, and to which a restore-defaults command
/// returns it. Data only.

#include "sim/field_map.h"

#include <array>
#include <cstdint>

namespace ep::sim {

/// All 255 values, index = field − 1.
using ValueSet = std::array<std::uint8_t, FieldCount>;

/// The factory values, in field order.
const ValueSet &DesignValues();

} // namespace ep::sim
