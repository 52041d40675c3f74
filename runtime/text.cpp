#include "runtime/text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace ep {
namespace {

/// A text ends at its first zero byte, whatever the string holds after it.
std::string_view TextBytes(const Text& text) {
    return std::string_view(text.data(), static_cast<std::size_t>(TextLength(text)));
}

} // namespace

Text MidText(const Text& text, int start, int length) {
    const long long size = TextLength(text);
    const long long index = static_cast<long long>(start) - 1;
    if (index < 0 || index >= size || length <= 0)
        return {};
    const long long count = std::min<long long>(length, size - index);
    return Text(text, static_cast<std::size_t>(index), static_cast<std::size_t>(count));
}

Text ReplaceText(const Text& text, int start, int length, const Text& replacement) {
    const std::string_view bytes = TextBytes(text);
    const long long size = static_cast<long long>(bytes.size());
    const long long index = std::clamp<long long>(static_cast<long long>(start) - 1, 0, size);
    const long long count = std::min<long long>(std::max(length, 0), size - index);
    Text result(bytes.substr(0, static_cast<std::size_t>(index)));
    result.append(TextBytes(replacement));
    result.append(bytes.substr(static_cast<std::size_t>(index + count)));
    return result;
}

Text ReplaceText(const Text& text, int start, int length) { return ReplaceText(text, start, length, Text()); }

Text ConcatText(std::initializer_list<Text> parts) {
    std::size_t total = 0;
    for (const Text& part : parts)
        total += static_cast<std::size_t>(TextLength(part));
    Text result;
    result.reserve(total);
    for (const Text& part : parts)
        result.append(TextBytes(part));
    return result;
}

int CompareText(const Text& a, const Text& b) {
    // strcmp compares as unsigned char and stops at the zero byte, exactly the rule for texts.
    const int order = std::strcmp(a.c_str(), b.c_str());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int TextLength(const Text& text) { return static_cast<int>(std::strlen(text.c_str())); }

} // namespace ep
