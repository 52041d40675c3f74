#pragma once
/// Replacing a file's contents so that a failure never leaves it truncated or half written: the bytes go
/// to a new file of a fresh name in the same folder, which is flushed to disk and renamed over the old one
/// only when complete. Nothing that already lies in the folder is written to. A link is replaced through:
/// its target gets the contents and the link stays. The old file keeps its permissions and owner; a file
/// that may not be written, or that is no regular file, is left as it is.

#include "runtime/value.h"

#include <optional>

namespace ep {

/// The reason when it failed, for the user; empty on success.
std::optional<Text> ReplaceFileContents(const Text& name, const Bytes& contents);

} // namespace ep
