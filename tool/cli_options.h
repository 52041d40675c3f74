#pragma once
/// The options of effectpanel-cli: the global ones (--com, --device, --json, --timeout, --trace, --help,
/// --version, and --rooms with --only and --jobs), the command, and the command's own words, which the
/// command reads itself. Parsing only.

#include "runtime/value.h"

#include <map>
#include <vector>

namespace ep {

struct CliOptions {
    bool help = false;
    bool version = false;
    bool json = false;
    int timeoutSeconds = 10;        ///< how long the device has to answer
    std::map<int, Text> comDevices; ///< --com N=DEVICE
    Text traceFile;                 ///< --trace FILE: the panel's traffic decoded, appended to FILE
    Text device;                    ///< --device DEVICE: that device alone, no port scan
    Text roomsFile;                 ///< --rooms FILE: the command in every room of the file
    std::vector<Text> onlyRooms;    ///< --only NAME,...: in these rooms only
    int jobs = 0;                   ///< --jobs N: rooms at once; 0 for the default
    Text command;
    std::vector<Text> arguments; ///< the command's own words, in order
    Text error;                  ///< not empty when the arguments are wrong
};

CliOptions ParseCliOptions(int argc, const char* const* argv);

/// The preset that the command loads through the panel's file dialog; empty for the other commands.
Text PresetToLoad(const CliOptions& options);

Text CliHelpText();
Text CliVersionText();

} // namespace ep
