#pragma once
/// The program's command-line options. Options of the form "--name" are ours; single-dash options are
/// left to the platform toolkit (for example "-platform offscreen").

#include "runtime/value.h"

#include <map>

namespace ep {

struct CommandLine {
    bool help = false;
    bool version = false;
    bool simulate = false;
    std::map<int, Text> comDevices; ///< --com N=DEVICE
    Text error;                     ///< not empty when the arguments are wrong
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
Text HelpText();
Text VersionText();

} // namespace ep
