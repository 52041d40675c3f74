#include "runtime/conversions.h"

#include "value_printer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ep {
namespace {

TEST(ValueText, BoolsReadTrueAndFalse) {
    EXPECT_EQ(ToText(Value(true)), "真");
    EXPECT_EQ(ToText(Value(false)), "假");
}

struct DateTimeCase {
    double days;
    const char* text;
};

void PrintTo(const DateTimeCase& c, std::ostream* out) { *out << c.days; }

class DateTimeTextTest : public testing::TestWithParam<DateTimeCase> {};

TEST_P(DateTimeTextTest, ShowsTheDateAndTheTimeUpToItsLastNonzeroPart) {
    EXPECT_EQ(ToText(Value(DateTime{GetParam().days})), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(DateTimes, DateTimeTextTest,
                         testing::Values(DateTimeCase{0, "1899年12月30日"}, DateTimeCase{1.5, "1899年12月31日12时"},
                                         DateTimeCase{45000.75, "2023年3月15日18时"},
                                         DateTimeCase{36526, "2000年1月1日"}, DateTimeCase{60, "1900年2月28日"},
                                         DateTimeCase{61, "1900年3月1日"},
                                         DateTimeCase{2.0 + (5 * 60 + 7) / 86400.0, "1900年1月1日0时5分7秒"},
                                         DateTimeCase{2.0 + 5 / 1440.0, "1900年1月1日0时5分"},
                                         DateTimeCase{0.5 + 30 / 1440.0, "1899年12月30日12时30分"},
                                         DateTimeCase{0.5 + 1 / 1440.0, "1899年12月30日12时1分"},
                                         DateTimeCase{0.999999999, "1899年12月31日"},
                                         DateTimeCase{-1, "1899年12月29日"}, DateTimeCase{-1.25, "1899年12月29日6时"},
                                         DateTimeCase{-657434, "100年1月1日"}, DateTimeCase{2958465, "9999年12月31日"},
                                         DateTimeCase{3e6, "9999年12月31日"},
                                         DateTimeCase{2958465.75, "9999年12月31日"}, DateTimeCase{-1e7, "100年1月1日"},
                                         DateTimeCase{NAN, "1899年12月30日"}));

TEST(ValueText, TextIsCopiedUpToItsZeroByte) {
    EXPECT_EQ(ToText(Value("038")), "038");
    EXPECT_EQ(ToText(Value(Text("ab\0cd", 5))), "ab");
    EXPECT_EQ(ToText(Value("")), "");
}

TEST(ValueText, ByteStringIsShownUpToItsFirstZeroByte) {
    EXPECT_EQ(ToText(Value(Bytes{'a', 'b', 0, 'c'})), "ab");
    EXPECT_EQ(ToText(Value(Bytes{'x', 'y'})), "xy");
    EXPECT_EQ(ToText(Value(Bytes{})), "");
}

TEST(ValueText, NumericArrayIsShownAsItsRawBytes) {
    const ArrayValue shorts{ValueKind::Short, {Value(std::int16_t{0x4241}), Value(std::int16_t{0x0043})}};
    EXPECT_EQ(ToText(Value(shorts)), "ABC");
    const ArrayValue bytes{ValueKind::Byte, {Value(std::uint8_t{'h'}), Value(std::uint8_t{'i'})}};
    EXPECT_EQ(ToText(Value(bytes)), "hi");
}

TEST(ValueText, OtherKindsGiveTheEmptyText) {
    EXPECT_EQ(ToText(Value(ProcPointer{0x41414141})), "");
    const ArrayValue texts{ValueKind::Text, {Value("a"), Value("b")}};
    EXPECT_EQ(ToText(Value(texts)), "");
}

struct ByteStringCase {
    Value value;
    Bytes bytes;
};

void PrintTo(const ByteStringCase& c, std::ostream* out) { PrintTo(c.value, out); }

class ByteStringTest : public testing::TestWithParam<ByteStringCase> {};

TEST_P(ByteStringTest, GivesTheLittleEndianBytes) { EXPECT_EQ(ToByteString(GetParam().value), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(
    Kinds, ByteStringTest,
    testing::Values(ByteStringCase{Value(std::uint8_t{0x80}), {0x80}},
                    ByteStringCase{Value(std::int16_t{-2}), {0xFE, 0xFF}},
                    ByteStringCase{Value(std::int32_t{0x01020304}), {0x04, 0x03, 0x02, 0x01}},
                    ByteStringCase{Value(std::int64_t{0x0102030405060708}), {8, 7, 6, 5, 4, 3, 2, 1}},
                    ByteStringCase{Value(1.0f), {0x00, 0x00, 0x80, 0x3F}},
                    ByteStringCase{Value(1.0), {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
                    ByteStringCase{Value(true), {1, 0, 0, 0}},
                    ByteStringCase{Value(DateTime{2.0}), {0, 0, 0, 0, 0, 0, 0x00, 0x40}},
                    ByteStringCase{Value(ProcPointer{0xA1B2C3D4}), {0xD4, 0xC3, 0xB2, 0xA1}},
                    ByteStringCase{Value("0A\xE4\xB8\xAD"), {'0', 'A', 0xE4, 0xB8, 0xAD}},
                    ByteStringCase{Value(Text("ab\0c", 4)), {'a', 'b'}}, ByteStringCase{Value(""), {}},
                    ByteStringCase{Value(Bytes{0, 1, 0}), {0, 1, 0}},
                    ByteStringCase{Value(ArrayValue{ValueKind::Int, {Value(std::int32_t{1}), Value(std::int32_t{-1})}}),
                                   {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
                    ByteStringCase{Value(ArrayValue{ValueKind::Text, {Value("a")}}), {}}));

} // namespace
} // namespace ep
