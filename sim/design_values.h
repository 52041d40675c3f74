#pragma once
/// The values the processor holds when it leaves the factory, and to which a restore-defaults command
/// returns it. Data only.

#include "sim/field_map.h"

#include <array>
#include <cstdint>
#include <string>

namespace ep::sim {

/// All 255 values, index = field − 1.
using ValueSet = std::array<std::uint8_t, FieldCount>;

/// The factory values, in field order.
const ValueSet& DesignValues();

/// The values as three decimal digits each, in field order: the form a full set takes in a preset file,
/// for comparing the device's memory with what a panel shows.
std::string ThreeDigitText(const ValueSet& values);

} // namespace ep::sim
