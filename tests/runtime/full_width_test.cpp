#include "runtime/conversions.h"

#include <gtest/gtest.h>

#include <string>

namespace ep {
namespace {

struct FoldCase {
    std::string text;
    std::string folded;
};

void PrintTo(const FoldCase& c, std::ostream* out) { *out << testing::PrintToString(c.text); }

class FullWidthTest : public testing::TestWithParam<FoldCase> {};

TEST_P(FullWidthTest, FoldsFullWidthFormsToAscii) { EXPECT_EQ(FoldFullWidth(GetParam().text), GetParam().folded); }

const FoldCase kFoldCases[] = {
    {"038", "038"},
    {"", ""},
    {"！", "!"}, // U+FF01, the first full-width form
    {"｝", "}"}, // U+FF5D, the last one folded by its offset
    {"Ａｚ０９＋－．", "Az09+-."},
    {"＄", "＄"},                     // U+FF04 stays
    {"￥", "$"},                      // U+FFE5
    {"￣", "~"},                      // U+FFE3
    {"～", "~"},                      // U+FF5E
    {"　", " "},                      // U+3000
    {"☆★", "**"},                     // U+2606, U+2605
    {"｟", "｟"},                     // U+FF5F, after the folded range
    {"\xEF\xBC\x80", "\xEF\xBC\x80"}, // U+FF00, before it
    {"中文１", "中文1"},
    {"é", "é"},
    {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    {"A\xEF\xBC", "A"}, // a character cut by the end of the text is dropped
    {"A\xE4", "A"},
    {"\xF0\x9F\x98", ""},
    {std::string("１\0２", 5), "1"},          // the text ends at the zero byte
    {std::string("7\xEF\xBC\0x", 5), "7"},    // a character cut by the zero byte
    {"\x80\x41", "\x80\x41"},                 // a stray continuation byte stays
    {"\xEF\x41１", "\xEF\x41\x31"},           // so does an interrupted sequence
    {"\xF0\xBC\x81\x81", "\xF0\xBC\x81\x81"}, // four bytes are never read as three
    {"\xFF\xFE", "\xFF\xFE"},
};

INSTANTIATE_TEST_SUITE_P(Texts, FullWidthTest, testing::ValuesIn(kFoldCases));

} // namespace
} // namespace ep
