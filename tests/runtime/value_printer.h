#pragma once
/// Readable test names for values: the kind and the stored content, printed without the conversions
/// under test.

#include "runtime/value.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <ostream>

namespace ep {

inline void PrintTo(const Value& value, std::ostream* out);

inline void PrintStored(const std::uint8_t& v, std::ostream* out) { *out << "byte " << unsigned{v}; }
inline void PrintStored(const std::int16_t& v, std::ostream* out) { *out << "short " << v; }
inline void PrintStored(const std::int32_t& v, std::ostream* out) { *out << "int " << v; }
inline void PrintStored(const std::int64_t& v, std::ostream* out) { *out << "long " << v; }
inline void PrintStored(const float& v, std::ostream* out) { *out << "float " << std::setprecision(9) << v; }
inline void PrintStored(const double& v, std::ostream* out) { *out << "double " << std::setprecision(17) << v; }
inline void PrintStored(const bool& v, std::ostream* out) { *out << "bool " << v; }
inline void PrintStored(const DateTime& v, std::ostream* out) { *out << "date-time " << v.days; }
inline void PrintStored(const Text& v, std::ostream* out) { *out << "text " << testing::PrintToString(v); }
inline void PrintStored(const Bytes& v, std::ostream* out) { *out << "bytes " << testing::PrintToString(v); }
inline void PrintStored(const ProcPointer& v, std::ostream* out) { *out << "procedure " << v.address; }
inline void PrintStored(const ArrayValue& v, std::ostream* out) {
    *out << "array of kind " << static_cast<int>(v.elementKind) << " {";
    for (const Value& element : v.elements) {
        *out << ' ';
        PrintTo(element, out);
    }
    *out << " }";
}

inline void PrintTo(const Value& value, std::ostream* out) {
    std::visit([out](const auto& stored) { PrintStored(stored, out); }, value.storage);
}

} // namespace ep
