#pragma once
/// The panel's trace: the bytes its port sends and those it hands to the window, decoded as the monitor
/// decodes them, appended to a file one line a frame. Off until started; the link feeds it on the window
/// thread.

#include "runtime/value.h"

#include <cstdint>
#include <optional>

namespace ep {

/// Appends to the file (made when missing) from now on; the reason when it cannot be opened.
std::optional<Text> StartTrafficTrace(const Text& path);

/// Writes what is still open, a partial frame or dump, and closes the file. Nothing when off.
void StopTrafficTrace();

void TraceSent(const Bytes& bytes);
void TraceReceived(std::uint8_t byte);

} // namespace ep
