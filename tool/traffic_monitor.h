#pragma once
/// The traffic monitor of effectpanel-cli: it stands between the panel and the device and offers the panel
/// a pseudo-terminal to open in the device's place. Every byte is forwarded unchanged by the reader thread
/// that received it, never through the main thread, so that the monitor adds no more than a thread's
/// hand-off to the line; the main thread prints each frame decoded (link/traffic_decoder.h) on standard
/// output. A reader of the output that stops reading holds nothing: what waits for it is bounded, and the
/// lines beyond are dropped and counted (line_output.h). It runs until SIGINT or SIGTERM, or until the
/// device goes away.

#include "tool/cli_options.h"

namespace ep {

/// `monitor [--listen PATH]` with one --com N=DEVICE: 0 when a signal ended it, 1 when the device or the
/// terminal could not be opened or went away, 2 for bad usage.
int RunMonitorCommand(const CliOptions& options);

} // namespace ep
