#pragma once
/// Where each (channel, address) pair of the processor lives in its 255-value memory, in the order of a
/// full dump. Pure lookup; it knows nothing of frames or of the values themselves.

#include <cstdint>
#include <optional>

namespace ep::sim {

inline constexpr int FieldCount = 255;

/// A parameter as the wire names it.
struct ParameterKey {
    std::uint8_t channel = 0;
    std::uint8_t address = 0;
    friend bool operator==(const ParameterKey&, const ParameterKey&) = default;
};

/// The 1-based field of (channel, address), or nothing when the processor has no such parameter.
std::optional<int> FieldOf(ParameterKey key);

/// The (channel, address) pair of field 1..255; nothing outside that range.
std::optional<ParameterKey> KeyOfField(int field);

} // namespace ep::sim
