#include "sets/set_values.h"

#include "model/fields.h"
#include "model/parameters.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

namespace ep {
namespace {

/// Enough to tell a preset from another device; the rest are counted.
constexpr std::size_t kNamedAtMost = 5;

} // namespace

std::vector<int> FieldValues(const Text& set) {
    std::vector<int> values;
    for (int field = 1; field <= EffectSetFieldCount; ++field)
        values.push_back(ToInt(Value(MidText(set, FieldPosition(field), FieldWidth))));
    return values;
}

std::vector<ValueOutOfRange> ValuesOutOfRange(const Text& set) {
    std::vector<ValueOutOfRange> outside;
    if (set.empty())
        return outside;
    const std::vector<int> values = FieldValues(set);
    for (int field = 1; field <= EffectSetFieldCount; ++field)
        if (const int value = values[static_cast<std::size_t>(field - 1)]; !ValueInRange(field, value))
            outside.push_back({field, value});
    return outside;
}

Text OutOfRangeLine(const ValueOutOfRange& outOfRange) {
    const std::vector<int> values = ValuesOfField(outOfRange.field);
    return FieldName(outOfRange.field) + ": " + std::to_string(outOfRange.value) + " (" +
           std::to_string(values.front()) + " … " + std::to_string(values.back()) + ", " +
           ValueText(outOfRange.field, values.front()) + " … " + ValueText(outOfRange.field, values.back()) + ")";
}

std::vector<Text> OutOfRangeLines(const std::vector<ValueOutOfRange>& outOfRange) {
    std::vector<Text> lines;
    for (std::size_t index = 0; index < outOfRange.size() && index < kNamedAtMost; ++index)
        lines.push_back(OutOfRangeLine(outOfRange[index]));
    if (outOfRange.size() > kNamedAtMost)
        lines.push_back("… +" + std::to_string(outOfRange.size() - kNamedAtMost));
    return lines;
}

} // namespace ep
