#include "app/program_folder.h"

#include <filesystem>
#include <system_error>

namespace ep {

// Platform-specific: Linux names the running program through /proc; other platforms fall back to empty.
Text ProgramFolder() {
    std::error_code error;
#if defined(__linux__)
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return program.parent_path().string();
#endif
    return {};
}

} // namespace ep
