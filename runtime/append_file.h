#pragma once
/// A file that text is appended to as things happen, such as a trace. Only a regular file is taken, made
/// when missing; the open never waits (for a FIFO's reader, a device) and what is opened is checked, so
/// that no other kind of file slips in between the check and the open. Each append is handed to the
/// system at once and checked; nothing is buffered here.

#include "runtime/value.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace ep {

class AppendFile {
  public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    /// Opens the file of that name for appending; the reason, for the user, when it cannot be.
    std::optional<Text> open(const Text& name);

    /// Appends the whole text; the reason when the system did not take it all.
    std::optional<Text> append(std::string_view text);

    void close();

  private:
    std::intptr_t m_handle = -1; ///< the system's descriptor or handle; -1 while closed
};

} // namespace ep
