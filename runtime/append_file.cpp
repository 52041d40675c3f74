#include "runtime/append_file.h"

#include "runtime/file_paths.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX // std::min, not the macro
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#elif defined(__unix__) || defined(__APPLE__)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#error "the appended file has no platform section for this system"
#endif

namespace ep {
namespace {

namespace fs = std::filesystem;

constexpr std::intptr_t kClosed = -1;
constexpr const char* kNoRegularFile = "it is no regular file (a FIFO, a device or a folder)";

#if defined(_WIN32)
// ==== Platform section: Windows handles ==========================================================
//
// A named pipe without its server fails to open at once, and GetFileType tells a disk file from the rest.

HANDLE HandleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

Text SystemReason() {
    const DWORD code = ::GetLastError();
    char text[256] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                     nullptr);
    return text[0] != 0 ? Text(text) : "error " + std::to_string(code);
}

std::optional<Text> OpenRegular(const fs::path& path, std::intptr_t& opened) {
    const HANDLE handle = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return SystemReason();
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return Text(kNoRegularFile);
    }
    opened = reinterpret_cast<std::intptr_t>(handle);
    return std::nullopt;
}

std::optional<Text> AppendAll(std::intptr_t handle, std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        if (!::WriteFile(HandleOf(handle), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
            return SystemReason();
        if (written == 0)
            return Text("the system took none of it");
        text.remove_prefix(written);
    }
    return std::nullopt;
}

void CloseHandleOf(std::intptr_t handle) { ::CloseHandle(HandleOf(handle)); }

#else
// ==== Platform section: POSIX descriptors ========================================================
//
// O_NONBLOCK keeps the open of a FIFO without a reader from waiting (it fails with ENXIO) and means nothing
// for a regular file; fstat then checks what was opened.

Text SystemReason() { return std::strerror(errno); }

std::optional<Text> OpenRegular(const fs::path& path, std::intptr_t& opened) {
    const int handle = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (handle < 0)
        return errno == ENXIO || errno == EISDIR ? Text(kNoRegularFile) : SystemReason();
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        return Text(kNoRegularFile);
    }
    opened = handle;
    return std::nullopt;
}

std::optional<Text> AppendAll(std::intptr_t handle, std::string_view text) {
    while (!text.empty()) {
        const ssize_t count = ::write(static_cast<int>(handle), text.data(), text.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return SystemReason();
        if (count == 0)
            return Text("the system took none of it");
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return std::nullopt;
}

void CloseHandleOf(std::intptr_t handle) { ::close(static_cast<int>(handle)); }

#endif
// ==== End of the platform sections ===============================================================

} // namespace

AppendFile::~AppendFile() { close(); }

std::optional<Text> AppendFile::open(const Text& name) {
    close();
    const fs::path path = PathOfName(name);
    if (path.empty())
        return Text("no file name");
    // Not even opened when it is known to be something else: opening a serial device may already set its
    // lines. The check after the open is what holds, should the file change in between.
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return Text(kNoRegularFile);
    return OpenRegular(path, m_handle);
}

std::optional<Text> AppendFile::append(std::string_view text) {
    if (m_handle == kClosed)
        return Text("the file is not open");
    return AppendAll(m_handle, text);
}

void AppendFile::close() {
    if (m_handle != kClosed)
        CloseHandleOf(m_handle);
    m_handle = kClosed;
}

} // namespace ep
