#include "model/display_formats.h"

#include "model/lookup_tables.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <cmath>

namespace ep {
namespace {

constexpr int kDbMiddleEntry = 11;
constexpr int kDelayMiddleEntry = 8;

template <typename Table> long long BoundedIndex(const Table& table, long long index, int middle, LookupBounds bounds) {
    if (bounds == LookupBounds::DefaultEntry && (index < 1 || index > static_cast<long long>(table.size())))
        return middle;
    return index;
}

} // namespace

Text PlainText(double value) { return ToText(value); }

Text SignedDbText(int position, LookupBounds bounds) {
    Text text;
    if (position < 11)
        text = "+";
    else if (position > 11)
        text = "-";
    const long long entry = BoundedIndex(DbStepTable, position, kDbMiddleEntry, bounds);
    return text + ToText(DbStepTable.at(entry)) + "dB";
}

Text DbText(double value) { return ToText(value) + "dB"; }

Text TensOfHzText(double value) { return ToText(value) + "0HZ"; }

Text SecondsText(double value) {
    if (std::fabs(value) <= kValueTolerance)
        return "0S";
    const Text digits = ToText(value);
    if (value - 10 < -kValueTolerance)
        return "0." + digits + "S";
    return digits.substr(0, 1) + "." + digits.substr(1, 1) + "S";
}

Text MsTimesThreeText(double value) { return ToText(value * 3) + "ms"; }

Text DelayText(double value, LookupBounds bounds) {
    const long long entry = BoundedIndex(DelayTextTable, TruncToInt(value + 1), kDelayMiddleEntry, bounds);
    return DelayTextTable.at(entry);
}

std::optional<Text> LevelText(int position) {
    if (position < 0 || position >= static_cast<int>(OutputLevelTexts.size()))
        return std::nullopt;
    return Text(OutputLevelTexts[static_cast<std::size_t>(position)]);
}

Text ThreeDigitText(int value) {
    const Text digits = ToText(Value(static_cast<std::int32_t>(value)));
    if (value < 10)
        return ConcatText({"00", digits});
    if (value < 100)
        return ConcatText({"0", digits});
    return digits;
}

std::optional<Text> FormatDisplay(DisplayFormat format, int position, double value, LookupBounds bounds) {
    switch (format) {
    case DisplayFormat::Plain:
        return PlainText(value);
    case DisplayFormat::SignedDb:
        return SignedDbText(position, bounds);
    case DisplayFormat::Db:
        return DbText(value);
    case DisplayFormat::TensOfHz:
        return TensOfHzText(value);
    case DisplayFormat::Seconds:
        return SecondsText(value);
    case DisplayFormat::MsTimesThree:
        return MsTimesThreeText(value);
    case DisplayFormat::Delay:
        return DelayText(value, bounds);
    case DisplayFormat::Level:
        return LevelText(position);
    case DisplayFormat::None:
    case DisplayFormat::SelectionColour:
    case DisplayFormat::Switch:
        break;
    }
    return std::nullopt;
}

} // namespace ep
