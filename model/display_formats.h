#pragma once
/// The value displays of the parameter rows: how a device value or slider position becomes the text of a
/// value box, and the three-digit text of an EffectSet field. Shared by the change handlers, the set
/// display and the tools. It reads `DbStepTable` and `DelayTextTable` but does not fill them.

#include "runtime/value.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ep {

/// Within this, two of the runtime's numbers (a field, a position) are equal: they pass through
/// floating point on their way.
inline constexpr double kValueTolerance = 0.0000001;

enum class DisplayFormat {
    None,            ///< no value display (the mode selectors)
    Plain,           ///< decimal text of the value
    SignedDb,        ///< sign by position, `DbStepTable` entry of the position, "dB"
    Db,              ///< value, "dB"
    TensOfHz,        ///< value, "0HZ"
    Seconds,         ///< value in tenths of a second, "2.5S"
    MsTimesThree,    ///< three times the value, "ms"
    Delay,           ///< `DelayTextTable` entry value + 1
    Level,           ///< `OutputLevelTexts` entry of the position
    SelectionColour, ///< no text: the chosen label turns red
    Switch,          ///< no text: the label's caption and colour
};

/// What a lookup outside `DbStepTable` or `DelayTextTable` does. The change handlers raise the runtime
/// error of the table; the set display falls back to the middle entry (11 and 8 respectively).
enum class LookupBounds { RuntimeError, DefaultEntry };

/// The Out Limit texts by slider position 0..6.
inline constexpr std::array<std::string_view, 7> OutputLevelTexts = {"2V", "1.75V",  "1.5V", "1.2V",
                                                                     "1V", "0.775V", "OFF"};

/// The decimal text of the value (`ToText`).
Text PlainText(double value);

/// "+" below position 11, nothing at 11, "-" above; then `DbStepTable` entry position; then "dB".
Text SignedDbText(int position, LookupBounds bounds);

/// The value followed by "dB".
Text DbText(double value);

/// The value followed by "0HZ" (15 gives "150HZ").
Text TensOfHzText(double value);

/// Tenths of a second from the digits of the value: 0 "0S", 1..9 "0.5S", 10 and more "2.5S"; the
/// comparisons allow the 0.0000001 tolerance of computed numbers.
Text SecondsText(double value);

/// Three times the value followed by "ms" (127 gives "381ms").
Text MsTimesThreeText(double value);

/// `DelayTextTable` entry value + 1.
Text DelayText(double value, LookupBounds bounds);

/// The Out Limit text of a slider position; empty for a position outside 0..6 (the box stays as it is).
std::optional<Text> LevelText(int position);

/// The three-digit text of a field value: "007", "042", "168".
Text ThreeDigitText(int value);

/// The text of a format for a slider position and the device value; empty for the formats without text
/// and for a level position outside the table.
std::optional<Text> FormatDisplay(DisplayFormat format, int position, double value, LookupBounds bounds);

} // namespace ep
