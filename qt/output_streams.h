#pragma once
/// Writes to the process's standard output and error that never wait for a reader that does not read,
/// for the host's writeWithoutWaiting; POSIX only. They bypass the C library's buffers: a stream written
/// this way is not written through stdio as well. And whether a stream goes to a terminal, on every
/// platform.

#include "runtime/host.h"

namespace ep::qt {

/// As much of the text as the stream takes now; the number of bytes written.
std::size_t WriteWithoutWaiting(OutputStream stream, std::string_view text);

bool IsTerminal(OutputStream stream);

} // namespace ep::qt
