#pragma once
/// The options of the effectpanel-sim executable. Parsing only; nothing is opened here.

#include "sim/pty_server.h"

#include <string>

namespace ep::sim {

struct SimCommandLine {
    bool help = false;
    bool quiet = false; ///< no frame log on stderr
    ServerOptions server;
    std::string error; ///< not empty when the arguments are wrong
};

SimCommandLine ParseSimCommandLine(int argc, const char* const* argv);
std::string SimHelpText();

} // namespace ep::sim
