#pragma once
/// Replacing a file's contents so that a failure never leaves it truncated or half written: the bytes
/// go to a file beside it, which is renamed over the old one only when complete.

#include "runtime/value.h"

#include <optional>

namespace ep {

/// The reason when it failed; empty on success.
std::optional<Text> ReplaceFileContents(const Text& name, const Bytes& contents);

/// The name of the file beside it that a replacement is written to first.
Text PartialFileName(const Text& name);

} // namespace ep
