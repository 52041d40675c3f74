#include "temp_path.h"

#include <random>

namespace ep::testing {

std::filesystem::path UniqueTempPath(const std::string& prefix) {
    static const std::string suffix = [] {
        std::random_device source;
        return std::to_string(std::uniform_int_distribution<unsigned long long>()(source));
    }();
    return std::filesystem::temp_directory_path() / (prefix + suffix);
}

} // namespace ep::testing
