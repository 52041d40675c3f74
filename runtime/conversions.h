#pragma once
/// Value conversions of the runtime: number formatting, number parsing, byte and integer wrap-around.
/// No conversion reports an error: unreadable text reads as 0, unsupported kinds give 0 or the empty text.

#include "runtime/value.h"

namespace ep {

/// The argument shown as text ("%.6g" for floats after RoundToSixDigits, "%.13g" for doubles, three-digit
/// exponents, "真"/"假" for bools, the calendar form for date-times).
Text ToText(const Value& value);

/// The number value of the argument; texts are folded to ASCII and read as atof does (exponent letters
/// e, E, d, D).
double ToNumber(const Value& value);

/// Low 8 bits of the integer value (floats truncated toward zero first, texts read as atoi does).
std::uint8_t ToByte(const Value& value);

/// Low 32 bits of the integer value, with the same rules as ToByte.
std::int32_t ToInt(const Value& value);

/// A computed number stored into an integer: truncated toward zero, low 32 bits kept.
std::int32_t TruncToInt(double number);

/// The float rounded to its first six significant digits, the step before "%.6g".
double RoundToSixDigits(float x);

/// Full-width forms (ideographic space, full-width ASCII, tilde, stars, yen and overline) folded to ASCII.
Text FoldFullWidth(const Text& text);

/// The argument's bytes: a text without its terminator, numbers little-endian, arrays element by element.
Bytes ToByteString(const Value& value);

} // namespace ep
