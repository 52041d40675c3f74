// Which texts are UTF-8 that a program taking UTF-8 text reads unchanged: every malformed kind refused.

#include "runtime/utf8.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

TEST(Utf8, OnlyWellFormedTextsAreTaken) {
    const struct {
        const char* text;
        bool wellFormed;
    } cases[] = {
        {"", true},
        {"K01.tonset", true},
        {"包厢4", true},
        {"\xF0\x9F\x8E\xA4", true},  // U+1F3A4, four bytes
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF, the last
        {"\x80", false},             // a continuation byte alone
        {"\xFF", false},             // a byte that starts nothing
        {"\xC0\x80", false},         // NUL, overlong
        {"\xE0\x80\xAF", false},     // '/', overlong
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\xE5\x8C", false},         // cut short by the end
        {"\xE5\x8C!", false},        // cut short by a character
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsWellFormedUtf8(c.text), c.wellFormed) << testing::PrintToString(std::string(c.text));
}

} // namespace
} // namespace ep
