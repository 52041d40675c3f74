#pragma once
/// The commands of effectpanel-cli on the headless panel: what each reads, sends and prints, and the
/// exit code (0 done, 1 the device did not answer or did not take what was sent, 2 bad usage or a
/// refused file). It needs a host to be set; the file dialog is the host's to answer with the preset of
/// a load.

#include "tool/cli_options.h"
#include "tool/command_run.h"

namespace ep {

int RunCliCommand(const CliOptions& options);

} // namespace ep
