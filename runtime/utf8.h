#pragma once
/// What the text and file commands need to know of UTF-8 bytes: where a character ends, and whether a text
/// is UTF-8 at all.

#include <cstddef>
#include <string_view>

namespace ep {

/// The length of the UTF-8 sequence that the byte starts; 1 for ASCII and for bytes that start none.
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xC0 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    return 1;
}

constexpr bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

/// Whether the bytes are well-formed UTF-8, which a program that takes its text as UTF-8 reads unchanged:
/// no stray or missing continuation byte, no overlong form, no surrogate, nothing above U+10FFFF.
constexpr bool IsWellFormedUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 || lead > 0xF4 ? 0 : Utf8SequenceLength(lead);
        if (length == 0 || at + length > bytes.size())
            return false;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<unsigned char>(bytes[at + next]);
            if (!IsContinuationByte(byte))
                return false;
            point = (point << 6) | (byte & 0x3F);
        }
        constexpr char32_t kLeastOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < kLeastOfLength[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        at += length;
    }
    return true;
}

} // namespace ep
