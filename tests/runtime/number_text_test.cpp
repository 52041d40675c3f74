#include "runtime/conversions.h"

#include "value_printer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>

namespace ep {
namespace {

struct DoubleCase {
    double number;
    const char* text;
};

void PrintTo(const DoubleCase& c, std::ostream* out) { *out << std::setprecision(17) << c.number; }

class DoubleTextTest : public testing::TestWithParam<DoubleCase> {};

TEST_P(DoubleTextTest, FormatsWithThirteenDigitsAndThreeDigitExponent) {
    EXPECT_EQ(ToText(Value(GetParam().number)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Doubles, DoubleTextTest,
    testing::Values(DoubleCase{25.0, "25"}, DoubleCase{-0.0, "0"}, DoubleCase{0.0, "0"}, DoubleCase{1e20, "1e+020"},
                    DoubleCase{123456789012345.0, "1.234567890123e+014"}, DoubleCase{100.0, "100"},
                    DoubleCase{2.5, "2.5"}, DoubleCase{0.1 + 0.2, "0.3"}, DoubleCase{1.0 / 3.0, "0.3333333333333"},
                    DoubleCase{1e13, "1e+013"}, DoubleCase{0.0001, "0.0001"}, DoubleCase{0.00001, "1e-005"},
                    DoubleCase{-1.5e-7, "-1.5e-007"}, DoubleCase{9999999999999.0, "9999999999999"},
                    DoubleCase{99999999999999.0, "1e+014"}, DoubleCase{-42.125, "-42.125"},
                    DoubleCase{1e-300, "1e-300"}, DoubleCase{1.7976931348623157e308, "1.797693134862e+308"},
                    DoubleCase{5e-324, "4.940656458412e-324"}, DoubleCase{1e100, "1e+100"}));

struct FloatCase {
    float number;
    const char* text;
};

void PrintTo(const FloatCase& c, std::ostream* out) { *out << std::setprecision(17) << c.number; }

class FloatTextTest : public testing::TestWithParam<FloatCase> {};

TEST_P(FloatTextTest, FormatsWithSixDigitsAfterRounding) {
    EXPECT_EQ(ToText(Value(GetParam().number)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Floats, FloatTextTest,
    testing::Values(FloatCase{0.1f, "0.1"}, FloatCase{1234567.0f, "1.23457e+006"}, FloatCase{-0.0f, "0"},
                    FloatCase{0.0f, "0"}, FloatCase{2.5f, "2.5"}, FloatCase{100000.0f, "100000"},
                    FloatCase{1000000.0f, "1e+006"}, FloatCase{123456.0f, "123456"}, FloatCase{0.0001f, "0.0001"},
                    FloatCase{0.00001f, "1e-005"}, FloatCase{1e-10f, "1e-010"}, FloatCase{16777216.0f, "1.67772e+007"},
                    FloatCase{3.4028235e38f, "3.40282e+038"}, FloatCase{12.5f, "12.5"}, FloatCase{0.3f, "0.3"},
                    // An exact tie in the seventh digit rounds up on the magnitude,
                    // where printf alone would round to even and show 1.01562.
                    FloatCase{1.015625f, "1.01563"}, FloatCase{-1.015625f, "-1.01563"}));

struct RoundingCase {
    float number;
    double rounded;
};

void PrintTo(const RoundingCase& c, std::ostream* out) { *out << std::setprecision(17) << c.number; }

class RoundToSixDigitsTest : public testing::TestWithParam<RoundingCase> {};

TEST_P(RoundToSixDigitsTest, KeepsTheFirstSixSignificantDigits) {
    const double rounded = RoundToSixDigits(GetParam().number);
    EXPECT_NEAR(rounded, GetParam().rounded, std::fabs(GetParam().rounded) * 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundToSixDigitsTest,
                         testing::Values(RoundingCase{1.5f, 1.5}, RoundingCase{0.1f, 0.1},
                                         RoundingCase{1234567.0f, 1234570.0}, RoundingCase{1234564.0f, 1234560.0},
                                         RoundingCase{-1234567.0f, -1234570.0}, RoundingCase{1.015625f, 1.01563},
                                         RoundingCase{-1.015625f, -1.01563}, RoundingCase{12.0f, 12.0},
                                         RoundingCase{0.5f, 0.5}, RoundingCase{100000.0f, 100000.0},
                                         RoundingCase{99999.5f, 99999.5}, RoundingCase{999999.5f, 1000000.0},
                                         RoundingCase{16777216.0f, 16777200.0}, RoundingCase{3.4028235e38f, 3.40282e38},
                                         RoundingCase{1.17549435e-38f, 1.17549e-38},
                                         RoundingCase{0.333333343f, 0.333333}));

TEST(RoundToSixDigits, ZeroStaysZero) {
    EXPECT_EQ(RoundToSixDigits(0.0f), 0.0);
    EXPECT_EQ(RoundToSixDigits(-0.0f), 0.0);
}

TEST(RoundToSixDigits, CarriesInfinityAndNaNThrough) {
    EXPECT_EQ(RoundToSixDigits(std::numeric_limits<float>::infinity()), std::numeric_limits<double>::infinity());
    EXPECT_EQ(RoundToSixDigits(-std::numeric_limits<float>::infinity()), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(RoundToSixDigits(std::numeric_limits<float>::quiet_NaN())));
}

struct IntegerCase {
    Value value;
    const char* text;
};

void PrintTo(const IntegerCase& c, std::ostream* out) { PrintTo(c.value, out); }

class IntegerTextTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTest, FormatsInPlainDecimal) { EXPECT_EQ(ToText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Integers, IntegerTextTest,
    testing::Values(IntegerCase{Value(std::uint8_t{255}), "255"}, IntegerCase{Value(std::uint8_t{0}), "0"},
                    IntegerCase{Value(std::int16_t{-32768}), "-32768"}, IntegerCase{Value(std::int16_t{7}), "7"},
                    IntegerCase{Value(std::int32_t{-2147483647 - 1}), "-2147483648"},
                    IntegerCase{Value(std::int32_t{2147483647}), "2147483647"},
                    IntegerCase{Value(std::int64_t{-9223372036854775807LL - 1}), "-9223372036854775808"},
                    IntegerCase{Value(std::int64_t{10000000000LL}), "10000000000"}));

} // namespace
} // namespace ep
