#pragma once
/// What diff tells of two whole sets: one line per setting in which they differ, as the window shows
/// both values ("MIC2 1KHZ: +3dB → -2dB"), a field that neither set's selected modes use marked so, and
/// then their count; with --json "differences" and "count".

#include "tool/command_run.h"

namespace ep {

/// The exit code of diff for the sets: 0 equal, 1 different.
int ReportDiff(Run& run, const Text& first, const Text& second);

} // namespace ep
