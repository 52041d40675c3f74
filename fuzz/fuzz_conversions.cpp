// The conversions on arbitrary text: no crash, no undefined behaviour, and the results within their
// ranges.
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ep;
    const Text text(reinterpret_cast<const char*>(data), size);
    const double number = ToNumber(Value(text));
    ToByte(Value(text));
    ToInt(Value(text));
    TruncToInt(number);
    const Text shown = ToText(Value(number));
    // Thirteen significant digits read back within their rounding.
    if (std::abs(number) < 1e300 && std::abs(ToNumber(Value(shown)) - number) > std::abs(number) * 1e-12)
        std::abort();
    ToText(Value(static_cast<float>(number)));
    FoldFullWidth(text);
    if (size >= 2)
        MidText(text, static_cast<std::int8_t>(data[0]), static_cast<std::int8_t>(data[1]));
    return 0;
}
