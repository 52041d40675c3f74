#pragma once
/// The --com N=DEVICE option that the panel and the command-line tool share: N from 1 to 10, and a
/// DEVICE that is a serial device, a path where one may appear later, or a network serial server
/// "tcp:HOST:PORT".

#include "runtime/value.h"

#include <map>
#include <string_view>

namespace ep {

/// Why DEVICE cannot be a COM port, for the user; empty when it can. A path that does not exist yet is
/// taken, as an adapter may be plugged in later.
Text ComDeviceProblem(std::string_view device);

/// Reads "N=DEVICE" into the devices; the reason, for the user, when it is not of that form or DEVICE
/// cannot be a port; empty when it was taken.
Text ReadComMapping(std::string_view argument, std::map<int, Text>& devices);

/// The option's help lines, for both programs' --help.
Text ComOptionHelp();

} // namespace ep
