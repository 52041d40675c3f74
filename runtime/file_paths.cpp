#include "runtime/file_paths.h"

namespace ep {

std::filesystem::path PathOfName(const Text& name) {
    try {
        return std::filesystem::path(std::u8string(name.begin(), name.end()));
    } catch (const std::filesystem::filesystem_error&) {
        return {};
    }
}

Text NameOfPath(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return Text(name.begin(), name.end());
}

} // namespace ep
