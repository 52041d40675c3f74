#pragma once
/// The values of a whole EffectSet text, and those of them that no control of the window can show: a
/// preset written for another device, or by hand, holds such values, which the window would show as
/// nonsense and the device might not take.

#include "runtime/value.h"

#include <vector>

namespace ep {

/// The 255 values of a whole set, index field − 1.
std::vector<int> FieldValues(const Text& set);

struct ValueOutOfRange {
    int field = 0;
    int value = 0;
};

/// The fields of the set whose values lie outside their parameters' ranges, in field order; none for the
/// empty text, which stands for the default set.
std::vector<ValueOutOfRange> ValuesOutOfRange(const Text& set);

/// "KTV_MODE: 250 (0 … 7, KTV1 … EFF4)": the value, then the range as device values and as the window
/// shows it.
Text OutOfRangeLine(const ValueOutOfRange& outOfRange);

/// The lines of the first few, and how many more there are: what a person is shown of them.
std::vector<Text> OutOfRangeLines(const std::vector<ValueOutOfRange>& outOfRange);

} // namespace ep
