#include "runtime/conversions.h"

#include "value_printer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>

namespace ep {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ParseCase {
    const char* text;
    double number;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << testing::PrintToString(std::string(c.text)); }

class TextNumberTest : public testing::TestWithParam<ParseCase> {};

TEST_P(TextNumberTest, ReadsTheNumberAtTheStartAsAtofDoes) {
    EXPECT_EQ(ToNumber(Value(GetParam().text)), GetParam().number) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextNumberTest,
    testing::Values(ParseCase{"038", 38}, ParseCase{"  7", 7}, ParseCase{"", 0}, ParseCase{"x1", 0},
                    ParseCase{" 12.5kg", 12.5}, ParseCase{"abc", 0}, ParseCase{"１２", 12}, ParseCase{"1d2", 100},
                    ParseCase{"1D-2", 0.01}, ParseCase{"1E+3", 1000}, ParseCase{"2e3", 2000}, ParseCase{"1e", 1},
                    ParseCase{"1e+", 1}, ParseCase{"1ex", 1}, ParseCase{"-.5", -0.5}, ParseCase{"+3", 3},
                    ParseCase{"5.", 5}, ParseCase{".", 0}, ParseCase{"-", 0}, ParseCase{"+-1", 0},
                    ParseCase{"\t\n\v\f\r 4", 4}, ParseCase{"1.2.3", 1.2}, ParseCase{"1,5", 1}, ParseCase{"0x10", 0},
                    ParseCase{"inf", 0}, ParseCase{"nan", 0}, ParseCase{"- 1", 0}, ParseCase{"1e999", kInfinity},
                    ParseCase{"-1e999", -kInfinity}, ParseCase{"1e-999", 0}, ParseCase{"0.0000001e-400", 0},
                    ParseCase{"10000e-4", 1}, ParseCase{"1e0000000000000000000000002", 100},
                    ParseCase{"1e99999999999999999999", kInfinity}, ParseCase{"0e99999999", 0}, ParseCase{"－５", -5},
                    ParseCase{"　７", 7}, ParseCase{"１．５", 1.5}, ParseCase{"３ｅ２", 300}, ParseCase{"0.1", 0.1},
                    ParseCase{"123456789012345678901234567890", 1.2345678901234568e29}));

TEST(TextNumber, ReadingStopsAtTheZeroByte) { EXPECT_EQ(ToNumber(Value(Text("12") + '\0' + "3")), 12); }

struct KindNumberCase {
    Value value;
    double number;
};

void PrintTo(const KindNumberCase& c, std::ostream* out) { PrintTo(c.value, out); }

class KindNumberTest : public testing::TestWithParam<KindNumberCase> {};

TEST_P(KindNumberTest, ConvertsExactlyOrGivesZero) { EXPECT_EQ(ToNumber(GetParam().value), GetParam().number); }

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindNumberTest,
    testing::Values(KindNumberCase{Value(std::uint8_t{200}), 200}, KindNumberCase{Value(std::int16_t{-5}), -5},
                    KindNumberCase{Value(std::int32_t{-2147483647 - 1}), -2147483648.0},
                    KindNumberCase{Value(std::int64_t{1} << 40), 1099511627776.0},
                    KindNumberCase{Value(0.1f), static_cast<double>(0.1f)}, KindNumberCase{Value(2.75), 2.75},
                    KindNumberCase{Value(true), 1}, KindNumberCase{Value(false), 0},
                    KindNumberCase{Value(ProcPointer{0xFFFFFFFF}), 4294967295.0},
                    KindNumberCase{Value(DateTime{5.5}), 0}, KindNumberCase{Value(Bytes{'1', '2'}), 0},
                    KindNumberCase{Value(ArrayValue{ValueKind::Int, {Value(std::int32_t{3})}}), 0}));

struct ByteCase {
    Value value;
    std::uint8_t byte;
};

void PrintTo(const ByteCase& c, std::ostream* out) { PrintTo(c.value, out); }

class ToByteTest : public testing::TestWithParam<ByteCase> {};

TEST_P(ToByteTest, KeepsTheLowEightBits) { EXPECT_EQ(ToByte(GetParam().value), GetParam().byte); }

INSTANTIATE_TEST_SUITE_P(Values, ToByteTest,
                         testing::Values(ByteCase{Value(std::int32_t{300}), 44}, ByteCase{Value(std::int32_t{-1}), 255},
                                         ByteCase{Value(255.9), 255}, ByteCase{Value(256.0), 0},
                                         ByteCase{Value(-1.5), 255}, ByteCase{Value(-0.9), 0},
                                         ByteCase{Value("300"), 44}, ByteCase{Value("12.7"), 12},
                                         ByteCase{Value("1e2"), 1}, ByteCase{Value("-1"), 255},
                                         ByteCase{Value("２５６"), 0}, ByteCase{Value(std::int64_t{0x100000101}), 1},
                                         ByteCase{Value(std::int16_t{-2}), 254}, ByteCase{Value(std::uint8_t{77}), 77},
                                         ByteCase{Value(true), 1}, ByteCase{Value(ProcPointer{0x1FF}), 255},
                                         ByteCase{Value(511.5f), 255}, ByteCase{Value(kNaN), 0},
                                         ByteCase{Value(kInfinity), 0}, ByteCase{Value(1e300), 0},
                                         ByteCase{Value(DateTime{65.0}), 0}, ByteCase{Value(Bytes{7}), 0}));

struct IntCase {
    Value value;
    std::int32_t number;
};

void PrintTo(const IntCase& c, std::ostream* out) { PrintTo(c.value, out); }

class ToIntTest : public testing::TestWithParam<IntCase> {};

TEST_P(ToIntTest, KeepsTheLowThirtyTwoBits) { EXPECT_EQ(ToInt(GetParam().value), GetParam().number); }

INSTANTIATE_TEST_SUITE_P(Values, ToIntTest,
                         testing::Values(IntCase{Value(std::uint8_t{200}), 200}, IntCase{Value(std::int16_t{-5}), -5},
                                         IntCase{Value(std::int64_t{(1LL << 32) + 7}), 7},
                                         IntCase{Value(std::int64_t{-1}), -1}, IntCase{Value(4294967301.0), 5},
                                         IntCase{Value(-2147483649.0), 2147483647},
                                         IntCase{Value(4611686018427387904.0), 0}, IntCase{Value(-7.9f), -7},
                                         IntCase{Value("4294967297"), 1}, IntCase{Value("2147483648"), -2147483647 - 1},
                                         IntCase{Value("-2147483649"), 2147483647}, IntCase{Value("   +42abc"), 42},
                                         IntCase{Value("- 5"), 0}, IntCase{Value(""), 0}, IntCase{Value("１２３"), 123},
                                         IntCase{Value("\t-17"), -17}, IntCase{Value(ProcPointer{0xFFFFFFFF}), -1},
                                         IntCase{Value(false), 0}, IntCase{Value(DateTime{3.0}), 0}));

struct TruncCase {
    double number;
    std::int32_t truncated;
};

void PrintTo(const TruncCase& c, std::ostream* out) { *out << std::setprecision(17) << c.number; }

class TruncToIntTest : public testing::TestWithParam<TruncCase> {};

TEST_P(TruncToIntTest, TruncatesAndKeepsTheLowThirtyTwoBits) {
    EXPECT_EQ(TruncToInt(GetParam().number), GetParam().truncated);
}

INSTANTIATE_TEST_SUITE_P(Numbers, TruncToIntTest,
                         testing::Values(TruncCase{20.9999, 20}, TruncCase{-20.9999, -20}, TruncCase{0.5, 0},
                                         TruncCase{-0.0, 0}, TruncCase{4294967296.0, 0},
                                         TruncCase{2147483648.0, -2147483647 - 1}, TruncCase{4294967295.0, -1},
                                         // The largest double below 2^63 still has a 64-bit value: 0x7FFFFFFFFFFFFC00.
                                         TruncCase{9223372036854774784.0, -1024}, TruncCase{-9223372036854775808.0, 0},
                                         TruncCase{9223372036854775808.0, 0}, TruncCase{1e300, 0}, TruncCase{-1e300, 0},
                                         TruncCase{kInfinity, 0}, TruncCase{-kInfinity, 0}, TruncCase{kNaN, 0}));

} // namespace
} // namespace ep
