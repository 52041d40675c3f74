#include "runtime/files.h"

#include "runtime/text.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <new>
#include <optional>

#if defined(_WIN32)
#include "runtime/file_paths.h"

#include <filesystem>
#ifndef NOMINMAX
#define NOMINMAX // std::min, not the macro
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#elif defined(__unix__) || defined(__APPLE__)
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#error "the file commands have no platform section for this system"
#endif

namespace ep {
namespace {

enum class Access { Read, Write, ReadWrite };
enum class Creation { OpenExisting, CreateTruncating, CreateKeeping };
/// What other opens may do while the file is open: the share modes 1 to 4.
enum class OthersMay { ReadAndWrite, Write, Read, Nothing };

struct OpenRequest {
    Access access;
    Creation creation;
    OthersMay othersMay;
};

#if defined(_WIN32)
// ==== Platform section: Windows handles and the system's share modes ===========================
//
// The share modes are the system's own and hold against every program. The UTF-8 names reach the
// system in UTF-16 through their paths.

using Handle = HANDLE;

bool CloseFile(Handle handle) { return ::CloseHandle(handle) != 0; }

DWORD DesiredAccess(Access access) {
    switch (access) {
    case Access::Read:
        return GENERIC_READ;
    case Access::Write:
        return GENERIC_WRITE;
    case Access::ReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    }
    return 0;
}

DWORD ShareMode(OthersMay othersMay) {
    switch (othersMay) {
    case OthersMay::ReadAndWrite:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case OthersMay::Write:
        return FILE_SHARE_WRITE;
    case OthersMay::Read:
        return FILE_SHARE_READ;
    case OthersMay::Nothing:
        return 0;
    }
    return 0;
}

/// A refused open leaves the file as it was: the system checks the share modes before it truncates.
std::optional<Handle> OpenWithShareMode(const Text& name, const OpenRequest& request) {
    const std::filesystem::path path = PathOfName(name);
    if (path.empty())
        return std::nullopt;
    DWORD disposition = OPEN_EXISTING;
    if (request.creation == Creation::CreateTruncating)
        disposition = CREATE_ALWAYS;
    else if (request.creation == Creation::CreateKeeping)
        disposition = OPEN_ALWAYS;
    const Handle handle = ::CreateFileW(path.c_str(), DesiredAccess(request.access), ShareMode(request.othersMay),
                                        nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    return handle;
}

/// Reads at most the count; 0 at the end of the file, -1 on an error.
long long ReadSome(Handle handle, char* into, std::size_t count) {
    DWORD read = 0;
    if (!::ReadFile(handle, into, static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD)), &read, nullptr))
        return -1;
    return read;
}

std::optional<long long> FileSize(Handle handle) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle, &size))
        return std::nullopt;
    return size.QuadPart;
}

std::optional<long long> MovePosition(Handle handle, long long distance, DWORD from) {
    LARGE_INTEGER to{};
    to.QuadPart = distance;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(handle, to, &position, from))
        return std::nullopt;
    return position.QuadPart;
}

std::optional<long long> CurrentPosition(Handle handle) { return MovePosition(handle, 0, FILE_CURRENT); }

void SetPosition(Handle handle, long long position) { MovePosition(handle, position, FILE_BEGIN); }

void MoveToEnd(Handle handle) { MovePosition(handle, 0, FILE_END); }

// ==== End of the platform section ==============================================================
#else
// ==== Platform section: POSIX descriptors and advisory locks ====================================
//
// The system has no share modes, so they are emulated with flock() taken without waiting, which holds
// among the programs that open through these commands: share 1 (others may read and write) takes a
// shared lock, shares 2, 3 and 4 an exclusive one. Every pair of opens that the share modes forbid then
// conflicts; shares 2 and 3 also refuse the pairs the modes would allow (two readers where one denies
// writing), which errs on the side of keeping the file intact.

using Handle = int;

bool CloseFile(Handle handle) { return ::close(handle) == 0; }

/// Opens and locks the file; a truncating open truncates only once the lock is held, so that an open
/// refused by the share modes leaves the file as it was. O_NONBLOCK stays on, so that a FIFO or a device
/// makes neither the open nor a read wait for its other end; regular files do not notice it.
std::optional<Handle> OpenWithShareMode(const Text& name, const OpenRequest& request) {
    int flags = O_CLOEXEC | O_NONBLOCK;
    switch (request.access) {
    case Access::Read:
        flags |= O_RDONLY;
        break;
    case Access::Write:
        flags |= O_WRONLY;
        break;
    case Access::ReadWrite:
        flags |= O_RDWR;
        break;
    }
    if (request.creation != Creation::OpenExisting)
        flags |= O_CREAT;

    Handle handle = -1;
    do
        handle = ::open(name.c_str(), flags, 0666);
    while (handle < 0 && errno == EINTR);
    if (handle < 0)
        return std::nullopt;

    const int operation = (request.othersMay == OthersMay::ReadAndWrite ? LOCK_SH : LOCK_EX) | LOCK_NB;
    int locked = -1;
    do
        locked = ::flock(handle, operation);
    while (locked != 0 && errno == EINTR);
    if (locked != 0 || (request.creation == Creation::CreateTruncating && ::ftruncate(handle, 0) != 0)) {
        CloseFile(handle);
        return std::nullopt;
    }
    return handle;
}

/// Reads at most the count; 0 at the end of the file, -1 on an error.
long long ReadSome(Handle handle, char* into, std::size_t count) {
    ssize_t result = -1;
    do
        result = ::read(handle, into, count);
    while (result < 0 && errno == EINTR);
    return result;
}

std::optional<long long> FileSize(Handle handle) {
    struct stat status {};
    if (::fstat(handle, &status) != 0)
        return std::nullopt;
    return static_cast<long long>(status.st_size);
}

std::optional<long long> CurrentPosition(Handle handle) {
    const off_t position = ::lseek(handle, 0, SEEK_CUR);
    if (position < 0)
        return std::nullopt;
    return static_cast<long long>(position);
}

void SetPosition(Handle handle, long long position) { ::lseek(handle, static_cast<off_t>(position), SEEK_SET); }

void MoveToEnd(Handle handle) { ::lseek(handle, 0, SEEK_END); }

// ==== End of the platform section ==============================================================
#endif

/// Access and creation of the modes 1 to 6.
constexpr std::array<std::pair<Access, Creation>, 6> kModes = {{
    {Access::Read, Creation::OpenExisting},
    {Access::Write, Creation::OpenExisting},
    {Access::ReadWrite, Creation::OpenExisting},
    {Access::Write, Creation::CreateTruncating},
    {Access::Write, Creation::CreateKeeping},
    {Access::ReadWrite, Creation::CreateKeeping},
}};

/// What others may do under the shares 1 to 4.
constexpr std::array<OthersMay, 4> kShares = {OthersMay::ReadAndWrite, OthersMay::Write, OthersMay::Read,
                                              OthersMay::Nothing};

/// The table of open files. Like every runtime command it is used from the interface thread only.
std::map<FileNumber, Handle>& OpenFiles() {
    static std::map<FileNumber, Handle> files;
    return files;
}

FileNumber NewFileNumber() {
    static FileNumber last = 0;
    do
        last = last == std::numeric_limits<FileNumber>::max() ? 1 : last + 1;
    while (OpenFiles().contains(last));
    return last;
}

std::optional<Handle> OpenHandle(FileNumber file) {
    const auto found = OpenFiles().find(file);
    if (found == OpenFiles().end())
        return std::nullopt;
    return found->second;
}

bool IsEndByte(unsigned char byte) { return byte == 0x00 || byte == 0x1A; }

/// Where the text in the bytes read ends and where the next read is to start, both as offsets.
struct TextEnd {
    std::size_t textLength;
    std::size_t nextReadOffset;
};

enum class ReadStop { LengthReached, FileEnded };

/// Finds the first end byte (0x00 or 0x1A) outside a multi-byte character. A character cut by an end
/// byte ends the text at its lead byte, and the next read starts at that end byte. A character cut by
/// the length is left whole for the next read; one cut by the end of the file can never be completed
/// and is passed over.
std::optional<TextEnd> FindTextEnd(const Text& bytes, ReadStop stop) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (IsEndByte(byte))
            return TextEnd{at, at};
        const std::size_t length = Utf8SequenceLength(byte);
        std::size_t taken = 1;
        while (taken < length) {
            if (at + taken == bytes.size())
                return TextEnd{at, stop == ReadStop::LengthReached ? at : bytes.size()};
            const auto next = static_cast<unsigned char>(bytes[at + taken]);
            if (IsEndByte(next))
                return TextEnd{at, at + taken};
            if (!IsContinuationByte(next))
                break;
            ++taken;
        }
        at += taken;
    }
    return std::nullopt;
}

} // namespace

FileNumber FileOpen(const Text& name, int mode, int share) {
    if (TextLength(name) == 0 || mode < 1 || mode > 6 || share < 1 || share > 4)
        return 0;
    const auto [access, creation] = kModes[static_cast<std::size_t>(mode - 1)];
    const auto handle = OpenWithShareMode(name, {access, creation, kShares[static_cast<std::size_t>(share - 1)]});
    if (!handle)
        return 0;
    const FileNumber file = NewFileNumber();
    OpenFiles().emplace(file, *handle);
    return file;
}

Text FileReadText(FileNumber file) {
    const auto handle = OpenHandle(file);
    if (!handle)
        return {};
    const auto size = FileSize(*handle);
    if (!size)
        return {};
    return FileReadText(file, static_cast<int>(std::min<long long>(*size, std::numeric_limits<int>::max())));
}

Text FileReadText(FileNumber file, int length) {
    const auto handle = OpenHandle(file);
    if (!handle || length < 1)
        return {};
    const auto start = CurrentPosition(*handle);
    if (!start)
        return {};

    // Read in steps rather than taking the whole length at once: the length may be far beyond the file.
    constexpr std::size_t kStep = std::size_t{64} * 1024;
    const auto wanted = static_cast<std::size_t>(length);
    Text bytes;
    try {
        while (bytes.size() < wanted) {
            const std::size_t before = bytes.size();
            const std::size_t step = std::min(kStep, wanted - before);
            bytes.resize(before + step);
            const long long count = ReadSome(*handle, bytes.data() + before, step);
            bytes.resize(before + static_cast<std::size_t>(std::max(count, 0LL)));
            if (count <= 0)
                break;
        }
    } catch (const std::bad_alloc&) {
        MoveToEnd(*handle);
        return {};
    }

    const auto end = FindTextEnd(bytes, bytes.size() == wanted ? ReadStop::LengthReached : ReadStop::FileEnded);
    if (!end)
        return bytes;
    SetPosition(*handle, *start + static_cast<long long>(end->nextReadOffset));
    bytes.resize(end->textLength);
    return bytes;
}

void FileClose(FileNumber file) {
    const auto found = OpenFiles().find(file);
    if (found == OpenFiles().end())
        return;
    CloseFile(found->second);
    OpenFiles().erase(found);
}

} // namespace ep
