#pragma once
/// A fixed-size table read with 1-based indices; an index below 1 is runtime error 4, above the size 1.

#include "runtime/fatal.h"

#include <array>
#include <cstddef>

namespace ep {

template <typename T, std::size_t Size> class BoundedTable {
  public:
    const T& at(long long index) const {
        if (index < 1)
            RaiseRuntimeError(4);
        if (index > static_cast<long long>(Size))
            RaiseRuntimeError(1);
        return m_entries[static_cast<std::size_t>(index - 1)];
    }
    void set(long long index, T value) {
        if (index < 1)
            RaiseRuntimeError(4);
        if (index > static_cast<long long>(Size))
            RaiseRuntimeError(1);
        m_entries[static_cast<std::size_t>(index - 1)] = std::move(value);
    }
    static constexpr std::size_t size() { return Size; }

  private:
    std::array<T, Size> m_entries{};
};

} // namespace ep
