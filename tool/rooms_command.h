#pragma once
/// A command of effectpanel-cli in every room of a rooms file (--rooms), or in those --only names: read,
/// load, store, get, set and diff, each room in a process of its own (the panel's globals are per
/// process, and a room that hangs or crashes takes no other with it), at most --jobs at once, and a
/// table of what each came to. Every word and file is checked before any room is touched.

#include "tool/cli_options.h"

namespace ep {

/// 0 when the command succeeded in every room (for diff: every room equals its preset), 1 when not,
/// 2 for bad usage or a refused file.
int RunRoomsCommand(const CliOptions& options);

} // namespace ep
