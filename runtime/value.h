#pragma once
/// The typed values that the runtime commands take and return. A value knows its kind; texts are byte
/// strings (UTF-8 in this build), so every position and length counts bytes. This header does no conversion.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ep {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

enum class ValueKind { Byte, Short, Int, Long, Float, Double, Bool, DateTime, Text, ByteString, ProcPointer, Array };

/// A date-time: days since 1899-12-30 00:00, the fraction is the time of day.
struct DateTime {
    double days = 0;
};

/// A procedure pointer, carried only as its 32-bit address.
struct ProcPointer {
    std::uint32_t address = 0;
};

struct Value;

/// A one-dimensional array; every element has the element kind.
struct ArrayValue {
    ValueKind elementKind = ValueKind::Int;
    std::vector<Value> elements;
};

struct Value {
    using Storage = std::variant<std::uint8_t, std::int16_t, std::int32_t, std::int64_t, float, double, bool, DateTime,
                                 Text, Bytes, ProcPointer, ArrayValue>;

    Value() : storage(std::int32_t{0}) {}
    Value(std::uint8_t v) : storage(v) {}
    Value(std::int16_t v) : storage(v) {}
    Value(std::int32_t v) : storage(v) {}
    Value(std::int64_t v) : storage(v) {}
    Value(float v) : storage(v) {}
    Value(double v) : storage(v) {}
    Value(bool v) : storage(v) {}
    Value(DateTime v) : storage(v) {}
    Value(Text v) : storage(std::move(v)) {}
    Value(const char* v) : storage(Text(v)) {}
    Value(Bytes v) : storage(std::move(v)) {}
    Value(ProcPointer v) : storage(v) {}
    Value(ArrayValue v) : storage(std::move(v)) {}

    ValueKind kind() const { return static_cast<ValueKind>(storage.index()); }

    template <typename T> const T& as() const { return std::get<T>(storage); }
    template <typename T> bool holds() const { return std::holds_alternative<T>(storage); }

    Storage storage;
};

} // namespace ep
