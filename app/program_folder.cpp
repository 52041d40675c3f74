#include "app/program_folder.h"

#include "runtime/file_paths.h"

#include <filesystem>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <string>
#include <windows.h>
#elif defined(__linux__)
#include <system_error>
#endif

namespace ep {

// ==== Platform section: where the running program is named =====================================
//
// Windows names it through its module, Linux through /proc; other platforms do not, and give empty.

#if defined(_WIN32)
Text ProgramPath() {
    // The buffer grows until the name fits: a name cut to the buffer's size is not the program's.
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0)
            return {};
        if (length < program.size()) {
            program.resize(length);
            return NameOfPath(std::filesystem::path(program));
        }
        program.resize(program.size() * 2);
    }
}
#elif defined(__linux__)
Text ProgramPath() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? Text() : NameOfPath(program);
}
#else
Text ProgramPath() { return {}; }
#endif

// ==== End of the platform section ==============================================================

Text ProgramFolder() {
    const Text program = ProgramPath();
    return program.empty() ? Text() : NameOfPath(PathOfName(program).parent_path());
}

} // namespace ep
