#include "runtime/safe_file.h"

#include "runtime/file_paths.h"

#include <cstdio>
#include <filesystem>
#include <random>
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
#error "the file replacement has no platform section for this system"
#endif

namespace ep {
namespace {

namespace fs = std::filesystem;

/// As many links as the system itself follows before it gives up.
constexpr int kMostLinks = 40;

/// Follows the links that the path names, also to a target that does not exist yet; the reason when it
/// cannot.
std::optional<Text> FollowLinks(fs::path& path) {
    for (int followed = 0; followed < kMostLinks; ++followed) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (status.type() == fs::file_type::not_found)
            return std::nullopt;
        if (error)
            return error.message();
        if (!fs::is_symlink(status))
            return std::nullopt;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return error.message();
        path = path.parent_path() / target;
    }
    return std::make_error_code(std::errc::too_many_symbolic_link_levels).message();
}

/// A fresh short name for the new file, one that nobody has used.
fs::path FreshName(const fs::path& folder) {
    static std::random_device random;
    char name[16];
    std::snprintf(name, sizeof name, ".part-%08x", random());
    return folder / name;
}

constexpr int kFreshNameAttempts = 100;

#if defined(_WIN32)
// ==== Platform section: Windows handles ==========================================================
//
// The new file is created with CREATE_NEW under a name nobody has used, so no path that existed before
// is ever opened; MoveFileExW replaces the old file and writes the move through to the disk. The new
// file inherits the folder's permissions, as Windows gives every new file.

struct OldFile {};

Text SystemReason() {
    const DWORD code = ::GetLastError();
    char text[256] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                     nullptr);
    return text[0] != 0 ? Text(text) : "error " + std::to_string(code);
}

std::optional<Text> InspectOld(const fs::path& path, std::optional<OldFile>& old) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? std::nullopt : std::optional<Text>(SystemReason());
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return Text("不是普通文件");
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return Text("文件是只读的");
    old = OldFile{};
    return std::nullopt;
}

std::optional<Text> WriteAndRename(const fs::path& target, const Bytes& contents, const std::optional<OldFile>&) {
    fs::path partial;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kFreshNameAttempts && handle == INVALID_HANDLE_VALUE; ++attempt) {
        partial = FreshName(target.parent_path());
        handle = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return SystemReason();
    }
    if (handle == INVALID_HANDLE_VALUE)
        return SystemReason();
    std::optional<Text> problem;
    DWORD written = 0;
    if (!::WriteFile(handle, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) ||
        written != contents.size() || !::FlushFileBuffers(handle))
        problem = SystemReason();
    if (!::CloseHandle(handle) && !problem)
        problem = SystemReason();
    if (!problem && !::MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        problem = SystemReason();
    if (problem)
        ::DeleteFileW(partial.c_str());
    return problem;
}

#else
// ==== Platform section: POSIX descriptors ========================================================
//
// The new file is created with O_EXCL under a name nobody has used, so no path that existed before is
// ever opened: not a FIFO that would make the open wait, nor a link to some other file. Its mode 0666 is
// narrowed by the umask as any new file's is; one that replaces a file takes that file's owner and mode.

/// Who owns the file being replaced and who may use it.
struct OldFile {
    uid_t owner;
    gid_t group;
    mode_t mode;
};

Text SystemReason() { return std::strerror(errno); }

/// The file being replaced, left empty when there is none yet; or the reason it is to stay as it is. A
/// link at the name was followed or refused before; one that appeared since is no regular file.
std::optional<Text> InspectOld(const fs::path& path, std::optional<OldFile>& old) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return errno == ENOENT ? std::nullopt : std::optional<Text>(SystemReason());
    if (!S_ISREG(status.st_mode))
        return Text("不是普通文件");
    // The mode bits first: root may write any file, yet a file that nobody may write is meant to stay.
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return Text("文件是只读的");
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES ? Text("没有改写这个文件的权限") : SystemReason();
    old = OldFile{status.st_uid, status.st_gid, static_cast<mode_t>(status.st_mode & 07777)};
    return std::nullopt;
}

/// Creates a file of a fresh short name in the folder, open for writing, and gives its path.
std::optional<int> CreateFresh(const fs::path& folder, fs::path& created) {
    for (int attempt = 0; attempt < kFreshNameAttempts; ++attempt) {
        created = FreshName(folder);
        const int handle = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (handle >= 0)
            return handle;
        if (errno != EEXIST && errno != EINTR)
            return std::nullopt;
    }
    return std::nullopt;
}

bool WriteAll(int handle, const Bytes& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(handle, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

/// Gives the new file the old one's owner and mode, then the contents, on the disk.
std::optional<Text> Fill(int handle, const Bytes& contents, const std::optional<OldFile>& old) {
    // The owner before the mode, since a change of owner clears the set-user and set-group bits.
    if (old && (::fchown(handle, old->owner, old->group) != 0 || ::fchmod(handle, old->mode) != 0))
        return "无法保留文件的所有者和权限：" + SystemReason();
    if (!WriteAll(handle, contents) || ::fsync(handle) != 0)
        return SystemReason();
    return std::nullopt;
}

std::optional<Text> WriteAndRename(const fs::path& target, const Bytes& contents, const std::optional<OldFile>& old) {
    fs::path partial;
    const auto handle = CreateFresh(target.parent_path(), partial);
    if (!handle)
        return SystemReason();
    std::optional<Text> problem = Fill(*handle, contents, old);
    if (::close(*handle) != 0 && !problem)
        problem = SystemReason();
    if (!problem && ::rename(partial.c_str(), target.c_str()) != 0)
        problem = SystemReason();
    if (problem)
        ::unlink(partial.c_str());
    return problem;
}

#endif
// ==== End of the platform sections ===============================================================

} // namespace

std::optional<Text> ReplaceFileContents(const Text& name, const Bytes& contents, LinkAtName link) {
    if (name.empty())
        return Text("没有文件名");
    fs::path target = PathOfName(name);
    if (link == LinkAtName::WriteThrough) {
        if (auto problem = FollowLinks(target))
            return problem;
    } else {
        std::error_code error;
        if (fs::is_symlink(fs::symlink_status(target, error)))
            return Text("是符号链接，不写入它指向的文件");
    }
    std::optional<OldFile> old;
    if (auto problem = InspectOld(target, old))
        return problem;
    return WriteAndRename(target, contents, old);
}

} // namespace ep
