#pragma once
/// The program's command-line options. Options of the form "--name" (and -h) are ours. Of the single-dash
/// options only those that the platform toolkit documents as its own are taken, with their values, and
/// left to it (for example "-platform offscreen"); any other option is an error. One argument that is no
/// option names a preset file.

#include "runtime/value.h"

#include <map>

namespace ep {

struct CommandLine {
    bool help = false;
    bool version = false;
    bool simulate = false;
    std::map<int, Text> comDevices; ///< --com N=DEVICE
    Text presetFile;                ///< the one FILE argument: a preset to open once the window is up
    Text traceFile;                 ///< --trace FILE: the traffic on the port decoded, appended to FILE
    Text error;                     ///< not empty when the arguments are wrong
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
Text HelpText();
Text VersionText();

} // namespace ep
