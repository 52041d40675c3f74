#include "runtime/conversions.h"

#include "runtime/text.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

namespace ep {
namespace {

bool IsNumericKind(ValueKind kind) {
    switch (kind) {
    case ValueKind::Byte:
    case ValueKind::Short:
    case ValueKind::Int:
    case ValueKind::Long:
    case ValueKind::Float:
    case ValueKind::Double:
        return true;
    default:
        return false;
    }
}

/// The bytes of a text before its first zero byte.
std::string_view TextBytes(const Text& text) {
    return std::string_view(text.data(), static_cast<std::size_t>(TextLength(text)));
}

// ---- Number formatting ----

/// Rewrites the exponent of a printf-style "%g" result with three digits ("1e+20" -> "1e+020").
Text WithThreeDigitExponent(std::string_view formatted) {
    const auto exponentAt = formatted.find('e');
    if (exponentAt == std::string_view::npos)
        return Text(formatted);
    Text result(formatted.substr(0, exponentAt + 2)); // mantissa, 'e' and the sign
    const auto digits = formatted.substr(exponentAt + 2);
    if (digits.size() < 3)
        result.append(3 - digits.size(), '0');
    result.append(digits);
    return result;
}

/// printf's "%.<precision>g" in the C locale whatever the process locale is, with three-digit exponents.
Text FormatGeneral(double number, int precision) {
    if (number == 0)
        return "0"; // negative zero too
    std::array<char, 64> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), number, std::chars_format::general, precision);
    if (error != std::errc())
        return {};
    return WithThreeDigitExponent(std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())));
}

// ---- Date-time ----

struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

/// Splits a day count into the proleptic Gregorian calendar (days counted from 1899-12-30). As the
/// platform's date type has it, the whole part is the day and the fraction's magnitude the time of day,
/// so -1.25 is 1899-12-29 06:00; the time is rounded to the nearest second.
CalendarTime SplitDateTime(double days) {
    constexpr double kFirstDay = -657434; // 100-01-01
    constexpr double kLastDay = 2958465;  // 9999-12-31
    if (std::isnan(days))
        days = 0;
    days = std::clamp(days, kFirstDay, kLastDay);

    const double wholeDays = std::trunc(days);
    long long dayNumber = static_cast<long long>(wholeDays);
    long long seconds = std::llround(std::fabs(days - wholeDays) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayNumber;
    }

    // Days from 1970-01-01, then the civil-from-days conversion on 400-year eras starting in March.
    constexpr long long kDaysFrom1899To1970 = 25569;
    const long long z = dayNumber - kDaysFrom1899To1970 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthFromMarch = (5 * dayOfYear + 2) / 153;

    CalendarTime time;
    time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
    time.hour = static_cast<int>(seconds / 3600);
    time.minute = static_cast<int>(seconds / 60 % 60);
    time.second = static_cast<int>(seconds % 60);
    return time;
}

Text FormatDateTime(DateTime value) {
    const CalendarTime time = SplitDateTime(value.days);
    std::array<char, 96> buffer{};
    int length = std::snprintf(buffer.data(), buffer.size(), "%d年%d月%d日", time.year, time.month, time.day);
    const auto rest = buffer.size() - static_cast<std::size_t>(length);
    if (time.second != 0)
        length += std::snprintf(buffer.data() + length, rest, "%d时%d分%d秒", time.hour, time.minute, time.second);
    else if (time.minute != 0)
        length += std::snprintf(buffer.data() + length, rest, "%d时%d分", time.hour, time.minute);
    else if (time.hour != 0)
        length += std::snprintf(buffer.data() + length, rest, "%d时", time.hour);
    return Text(buffer.data(), static_cast<std::size_t>(length));
}

// ---- Little-endian bytes ----

template <typename T> void AppendLittleEndian(Bytes& bytes, T number) {
    using Unsigned = std::make_unsigned_t<T>;
    auto bits = static_cast<Unsigned>(number);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
        bits = static_cast<Unsigned>(bits >> 8);
    }
}

/// Appends the little-endian bytes of a scalar value; nothing for a kind that has none (text, byte string,
/// array).
void AppendScalarBytes(Bytes& bytes, const Value& value) {
    switch (value.kind()) {
    case ValueKind::Byte:
        bytes.push_back(value.as<std::uint8_t>());
        break;
    case ValueKind::Short:
        AppendLittleEndian(bytes, value.as<std::int16_t>());
        break;
    case ValueKind::Int:
        AppendLittleEndian(bytes, value.as<std::int32_t>());
        break;
    case ValueKind::Long:
        AppendLittleEndian(bytes, value.as<std::int64_t>());
        break;
    case ValueKind::Float:
        AppendLittleEndian(bytes, std::bit_cast<std::uint32_t>(value.as<float>()));
        break;
    case ValueKind::Double:
        AppendLittleEndian(bytes, std::bit_cast<std::uint64_t>(value.as<double>()));
        break;
    case ValueKind::Bool:
        AppendLittleEndian(bytes, std::uint32_t{value.as<bool>() ? 1u : 0u});
        break;
    case ValueKind::DateTime:
        AppendLittleEndian(bytes, std::bit_cast<std::uint64_t>(value.as<DateTime>().days));
        break;
    case ValueKind::ProcPointer:
        AppendLittleEndian(bytes, value.as<ProcPointer>().address);
        break;
    default:
        break;
    }
}

Bytes NumericArrayBytes(const ArrayValue& array) {
    Bytes bytes;
    if (!IsNumericKind(array.elementKind))
        return bytes;
    for (const Value& element : array.elements)
        AppendScalarBytes(bytes, element);
    return bytes;
}

Text TextUpToZeroByte(const Bytes& bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return Text(bytes.begin(), end);
}

// ---- Number parsing ----

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// Reads a decimal number at the start of the text as atof does, with d and D as exponent letters too.
double ParseDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';

    std::string digits;          // the mantissa without its sign, re-read by from_chars below
    long long integerDigits = 0; // digits before the point, from the first nonzero one
    long long fractionZeros = 0; // zeros after the point before the first nonzero digit
    bool seenNonzero = false;
    bool seenPoint = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (!IsDigit(c)) {
            break;
        } else if (!seenPoint) {
            seenNonzero = seenNonzero || c != '0';
            if (seenNonzero)
                ++integerDigits;
        } else if (!seenNonzero) {
            seenNonzero = c != '0';
            if (!seenNonzero)
                ++fractionZeros;
        }
        digits.push_back(c);
    }
    if (digits.find_first_not_of('.') == std::string::npos)
        return 0;

    long long exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E' || text[at] == 'd' || text[at] == 'D')) {
        std::size_t exponentAt = at + 1;
        bool exponentNegative = false;
        if (exponentAt < text.size() && (text[exponentAt] == '+' || text[exponentAt] == '-'))
            exponentNegative = text[exponentAt++] == '-';
        // Saturated far beyond every double's range, so that long exponents cannot overflow.
        for (; exponentAt < text.size() && IsDigit(text[exponentAt]); ++exponentAt)
            exponent = std::min(exponent * 10 + (text[exponentAt] - '0'), 1'000'000LL);
        if (exponentNegative)
            exponent = -exponent;
    }

    double magnitude = 0;
    if (seenNonzero) {
        // The decimal exponent of the first nonzero digit tells an overflow from an underflow.
        const long long leadingExponent = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);
        digits += 'e' + std::to_string(exponent);
        const auto result =
            std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range)
            magnitude = leadingExponent + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -magnitude : magnitude;
}

/// Reads a decimal integer at the start of the text as atoi does; the accumulation wraps modulo 2^32.
std::uint32_t ParseInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    std::uint32_t value = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        value = value * 10u + static_cast<std::uint32_t>(text[at] - '0');
    return negative ? 0u - value : value;
}

/// Truncates toward zero to 64 bits. NaN, the infinities and magnitudes of 2^63 and more have no 64-bit
/// value; they give 0, whose low bits equal those of the processor's "integer indefinite" result.
std::int64_t TruncToInt64(double number) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!(number >= -kTwoTo63 && number < kTwoTo63)) // true for NaN
        return 0;
    return static_cast<std::int64_t>(number);
}

/// The integer value that ToByte and ToInt keep the low bits of; empty for kinds that have none.
std::optional<std::int64_t> IntegerValue(const Value& value) {
    switch (value.kind()) {
    case ValueKind::Byte:
        return value.as<std::uint8_t>();
    case ValueKind::Short:
        return value.as<std::int16_t>();
    case ValueKind::Int:
        return value.as<std::int32_t>();
    case ValueKind::Long:
        return value.as<std::int64_t>();
    case ValueKind::Float:
        return TruncToInt64(value.as<float>());
    case ValueKind::Double:
        return TruncToInt64(value.as<double>());
    case ValueKind::Bool:
        return value.as<bool>() ? 1 : 0;
    case ValueKind::ProcPointer:
        return value.as<ProcPointer>().address;
    case ValueKind::Text:
        return ParseInteger(FoldFullWidth(value.as<Text>()));
    default:
        return std::nullopt;
    }
}

// ---- UTF-8 ----

/// The ASCII character that a full-width code point folds to, or 0 when it stays as it is.
char FoldedCharacter(char32_t codePoint) {
    if (codePoint == 0x3000)
        return ' ';
    if (codePoint == 0xFF5E || codePoint == 0xFFE3) // full-width tilde, full-width overline
        return '~';
    if (codePoint == 0x2605 || codePoint == 0x2606) // black and white star
        return '*';
    if (codePoint == 0xFFE5) // full-width yen sign, which GBK places where the full-width dollar would be
        return '$';
    if (codePoint >= 0xFF01 && codePoint <= 0xFF5D && codePoint != 0xFF04)
        return static_cast<char>(codePoint - 0xFEE0);
    return 0;
}

} // namespace

Text ToText(const Value& value) {
    switch (value.kind()) {
    case ValueKind::Byte:
        return std::to_string(static_cast<unsigned>(value.as<std::uint8_t>()));
    case ValueKind::Short:
        return std::to_string(value.as<std::int16_t>());
    case ValueKind::Int:
        return std::to_string(value.as<std::int32_t>());
    case ValueKind::Long:
        return std::to_string(value.as<std::int64_t>());
    case ValueKind::Float:
        return FormatGeneral(RoundToSixDigits(value.as<float>()), 6);
    case ValueKind::Double:
        return FormatGeneral(value.as<double>(), 13);
    case ValueKind::Bool:
        return value.as<bool>() ? "真" : "假";
    case ValueKind::DateTime:
        return FormatDateTime(value.as<DateTime>());
    case ValueKind::Text:
        return Text(TextBytes(value.as<Text>()));
    case ValueKind::ByteString:
        return TextUpToZeroByte(value.as<Bytes>());
    case ValueKind::Array:
        return TextUpToZeroByte(NumericArrayBytes(value.as<ArrayValue>()));
    default:
        return {};
    }
}

double ToNumber(const Value& value) {
    switch (value.kind()) {
    case ValueKind::Byte:
        return value.as<std::uint8_t>();
    case ValueKind::Short:
        return value.as<std::int16_t>();
    case ValueKind::Int:
        return value.as<std::int32_t>();
    case ValueKind::Long:
        return static_cast<double>(value.as<std::int64_t>());
    case ValueKind::Float:
        return value.as<float>();
    case ValueKind::Double:
        return value.as<double>();
    case ValueKind::Bool:
        return value.as<bool>() ? 1 : 0;
    case ValueKind::ProcPointer:
        return value.as<ProcPointer>().address;
    case ValueKind::Text:
        return ParseDecimal(FoldFullWidth(value.as<Text>()));
    default:
        return 0;
    }
}

std::uint8_t ToByte(const Value& value) {
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(IntegerValue(value).value_or(0)));
}

std::int32_t ToInt(const Value& value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(IntegerValue(value).value_or(0)));
}

std::int32_t TruncToInt(double number) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(TruncToInt64(number)));
}

double RoundToSixDigits(float x) {
    const auto bits = std::bit_cast<std::uint32_t>(x);
    const int binaryExponent = static_cast<int>((bits >> 23) & 0xFF) - 127;
    int decimalExponent = static_cast<int>(binaryExponent * 0.30102999566398120); // log10(2), toward zero
    double scale = std::pow(10.0, std::abs(decimalExponent));
    const double magnitude = std::fabs(static_cast<double>(x));
    double digits = decimalExponent > 0 ? magnitude / scale : magnitude * scale;

    if (digits >= 10) {
        scale *= 10;
        ++decimalExponent;
        digits *= 10000;
    } else if (digits < 1) {
        scale *= 10;
        --decimalExponent;
        digits *= 1000000;
    } else {
        digits *= 100000;
    }

    double whole = 0;
    if (std::modf(digits, &whole) >= 0.5)
        whole += 1;
    if (x < 0)
        scale = -scale;
    return decimalExponent > 0 ? whole * (scale * 0.00001) : whole / (scale * 100000);
}

Text FoldFullWidth(const Text& text) {
    const std::string_view bytes = TextBytes(text);
    Text folded;
    folded.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const std::size_t length = Utf8SequenceLength(lead);
        if (length == 1) {
            folded.push_back(bytes[at++]);
            continue;
        }
        std::size_t taken = 1;
        while (taken < length && at + taken < bytes.size() &&
               IsContinuationByte(static_cast<unsigned char>(bytes[at + taken])))
            ++taken;
        if (at + taken == bytes.size() && taken < length)
            break; // a character cut by the end of the text is dropped
        if (length == 3 && taken == 3) {
            const char32_t codePoint = (char32_t{lead} & 0x0F) << 12 |
                                       (char32_t{static_cast<unsigned char>(bytes[at + 1])} & 0x3F) << 6 |
                                       (char32_t{static_cast<unsigned char>(bytes[at + 2])} & 0x3F);
            if (const char ascii = FoldedCharacter(codePoint)) {
                folded.push_back(ascii);
                at += taken;
                continue;
            }
        }
        folded.append(bytes.substr(at, taken));
        at += taken;
    }
    return folded;
}

Bytes ToByteString(const Value& value) {
    Bytes bytes;
    switch (value.kind()) {
    case ValueKind::Text: {
        const std::string_view text = TextBytes(value.as<Text>());
        bytes.assign(text.begin(), text.end());
        break;
    }
    case ValueKind::ByteString:
        bytes = value.as<Bytes>();
        break;
    case ValueKind::Array:
        bytes = NumericArrayBytes(value.as<ArrayValue>());
        break;
    default:
        AppendScalarBytes(bytes, value);
        break;
    }
    return bytes;
}

} // namespace ep
