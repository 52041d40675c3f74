#pragma once
/// The two facts about UTF-8 bytes that the text and file commands need to keep characters whole.

#include <cstddef>

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

} // namespace ep
