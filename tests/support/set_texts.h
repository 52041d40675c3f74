#pragma once
/// Sets and files as the programs' tests write and read them: a set with some fields changed, a file's
/// bytes.

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>

namespace ep::testing {

/// The set with each (field 1..255, value) written as its three digits.
inline std::string WithFields(std::string set, std::initializer_list<std::pair<int, int>> changes) {
    for (const auto& [field, value] : changes) {
        char digits[12];
        std::snprintf(digits, sizeof digits, "%03d", value);
        set.replace(static_cast<std::size_t>(3 * field - 3), 3, digits);
    }
    return set;
}

/// The file's bytes; empty for a file that cannot be read.
inline std::string FileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace ep::testing
