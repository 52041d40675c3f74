#pragma once
/// Replacing a file's contents so that a failure never leaves it truncated or half written: the bytes go
/// to a new file of a fresh name in the same folder, which is flushed to disk and renamed over the old one
/// only when complete. Nothing that already lies in the folder is written to. A link at the name is either
/// replaced through (its target gets the contents and the link stays) or refused. The old file keeps its
/// permissions and owner; a file that may not be written, or that is no regular file, is left as it is.

#include "runtime/value.h"

#include <optional>

namespace ep {

/// What a replacement does with a symbolic link at the name.
enum class LinkAtName {
    WriteThrough, ///< the file the user named through a link of theirs: its target is replaced
    Refuse,       ///< a file in a folder that others may write into: a link there is refused, never followed
};

/// The reason when it failed, for the user; empty on success. With LinkAtName::Refuse no link is followed
/// even when one appears at the name while the file is written: the rename replaces the link itself.
std::optional<Text> ReplaceFileContents(const Text& name, const Bytes& contents,
                                        LinkAtName link = LinkAtName::WriteThrough);

} // namespace ep
