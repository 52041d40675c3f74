#include "runtime/safe_file.h"

#include "runtime/file_paths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace ep {

Text PartialFileName(const Text& name) { return name + ".part"; }

std::optional<Text> ReplaceFileContents(const Text& name, const Bytes& contents) {
    if (name.empty())
        return Text("no file name");
    const std::filesystem::path target = PathOfName(name);
    const std::filesystem::path partial = PathOfName(PartialFileName(name));
    {
        errno = 0;
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out)
            return Text(errno != 0 ? std::strerror(errno) : "cannot create the file");
        out.write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
        out.close();
        if (!out) {
            const Text reason = errno != 0 ? std::strerror(errno) : "write failed";
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return reason;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return Text(error.message());
    }
    return std::nullopt;
}

} // namespace ep
