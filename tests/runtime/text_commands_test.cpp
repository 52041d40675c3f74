#include "runtime/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace ep {
namespace {

struct MidCase {
    std::string text;
    int start;
    int length;
    std::string result;
};

void PrintTo(const MidCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text) << ' ' << c.start << ' ' << c.length;
}

class MidTextTest : public testing::TestWithParam<MidCase> {};

TEST_P(MidTextTest, TakesTheBytesFromStartOrNothing) {
    const auto& c = GetParam();
    EXPECT_EQ(MidText(c.text, c.start, c.length), c.result);
}

INSTANTIATE_TEST_SUITE_P(Positions, MidTextTest,
                         testing::Values(MidCase{"038030", 4, 3, "030"}, MidCase{"038030", 1, 3, "038"},
                                         MidCase{"038", 3, 3, "8"}, MidCase{"038", 0, 3, ""}, MidCase{"038", 4, 1, ""},
                                         MidCase{"038", 1, 0, ""}, MidCase{"038", 1, -1, ""},
                                         MidCase{"038", -5, 10, ""}, MidCase{"038", INT_MIN, 3, ""},
                                         MidCase{"038", 2, INT_MAX, "38"}, MidCase{"038", INT_MAX, 1, ""},
                                         MidCase{"", 1, 1, ""}, MidCase{std::string("a\0bc", 4), 1, 4, "a"},
                                         MidCase{std::string("a\0bc", 4), 3, 1, ""}, MidCase{"中文", 1, 3, "中"},
                                         MidCase{"中文", 2, 2, "\xB8\xAD"}));

struct ReplaceCase {
    std::string text;
    int start;
    int length;
    std::string replacement;
    std::string result;
};

void PrintTo(const ReplaceCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text) << ' ' << c.start << ' ' << c.length << ' '
         << testing::PrintToString(c.replacement);
}

class ReplaceTextTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, DeletesAtTheClampedStartAndInserts) {
    const auto& c = GetParam();
    EXPECT_EQ(ReplaceText(c.text, c.start, c.length, c.replacement), c.result);
}

INSTANTIATE_TEST_SUITE_P(Positions, ReplaceTextTest,
                         testing::Values(ReplaceCase{"038030", 4, 3, "099", "038099"},
                                         ReplaceCase{"", 46, 3, "001", "001"}, ReplaceCase{"038030", 1, 3, "1", "1030"},
                                         ReplaceCase{"abc", 0, 1, "X", "Xbc"}, ReplaceCase{"abc", -10, 2, "X", "Xc"},
                                         ReplaceCase{"abc", 2, -1, "X", "aXbc"}, ReplaceCase{"abc", 2, 0, "X", "aXbc"},
                                         ReplaceCase{"abc", 4, 5, "X", "abcX"},
                                         ReplaceCase{"abc", INT_MAX, 1, "X", "abcX"},
                                         ReplaceCase{"abc", INT_MIN, INT_MAX, "", ""}, ReplaceCase{"abc", 1, 3, "", ""},
                                         ReplaceCase{"abc", 3, 9, "YZ", "abYZ"},
                                         ReplaceCase{std::string("ab\0cd", 5), 3, 0, std::string("X\0Y", 3), "abX"}));

TEST(ReplaceText, WithoutReplacementOnlyDeletes) {
    EXPECT_EQ(ReplaceText("abc", 2, 1), "ac");
    EXPECT_EQ(ReplaceText("abc", 2, 100), "a");
    EXPECT_EQ(ReplaceText("abc", 0, 1), "bc");
    EXPECT_EQ(ReplaceText("abc", 4, 1), "abc");
    EXPECT_EQ(ReplaceText("abc", 2, -3), "abc");
}

TEST(ConcatText, JoinsThePartsInOrder) {
    EXPECT_EQ(ConcatText({"00", "7"}), "007");
    EXPECT_EQ(ConcatText({"a", "", "b", "c"}), "abc");
    EXPECT_EQ(ConcatText({""}), "");
    EXPECT_EQ(ConcatText({std::string("a\0b", 3), "c"}), "ac");
}

struct CompareCase {
    std::string a;
    std::string b;
    int order;
};

void PrintTo(const CompareCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.a) << ' ' << testing::PrintToString(c.b);
}

class CompareTextTest : public testing::TestWithParam<CompareCase> {};

TEST_P(CompareTextTest, ComparesUnsignedBytes) {
    EXPECT_EQ(CompareText(GetParam().a, GetParam().b), GetParam().order);
    EXPECT_EQ(CompareText(GetParam().b, GetParam().a), -GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Pairs, CompareTextTest,
                         testing::Values(CompareCase{"a", "b", -1}, CompareCase{"a", "a", 0}, CompareCase{"", "", 0},
                                         CompareCase{"a", "ab", -1}, CompareCase{"", "a", -1},
                                         CompareCase{"\x80", "\x7F", 1}, CompareCase{"A", "a", -1},
                                         CompareCase{"已联机", "未联机", -1}, CompareCase{"已联机", "已联机", 0},
                                         CompareCase{"100", "99", -1},
                                         CompareCase{std::string("a\0x", 3), std::string("a\0y", 3), 0}));

TEST(TextLength, CountsTheBytesBeforeTheZeroByte) {
    EXPECT_EQ(TextLength(""), 0);
    EXPECT_EQ(TextLength("abc"), 3);
    EXPECT_EQ(TextLength(std::string("ab\0c", 4)), 2);
    EXPECT_EQ(TextLength("中"), 3);
}

} // namespace
} // namespace ep
