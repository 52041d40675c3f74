#pragma once
/// The panel's trace: the bytes its port sends and those it hands to the window, decoded as the monitor
/// decodes them, appended to a file one line a frame. Off until started; the link feeds it on the window
/// thread. A write that fails is told once on standard error, and the trace ends there, so that the file
/// never holds a gap that looks like silence on the line.

#include "runtime/value.h"

#include <cstdint>
#include <optional>

namespace ep {

/// Appends to the file (made when missing) from now on; the reason when it cannot be opened or is no
/// regular file. A failed write is told on standard error after the program's name.
std::optional<Text> StartTrafficTrace(const Text& path, const Text& programName);

/// Writes what is still open, a partial frame or dump, and closes the file. The message of a failed write,
/// which was told already, when the trace is not whole; nothing when it is, or when the trace is off.
std::optional<Text> StopTrafficTrace();

void TraceSent(const Bytes& bytes);
void TraceReceived(std::uint8_t byte);

} // namespace ep
