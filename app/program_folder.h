#pragma once
/// The running program's file and folder: start-up makes the folder the current directory, and the
/// command-line tool starts the program again for each room.

#include "runtime/value.h"

namespace ep {

/// Empty when the platform does not tell it.
Text ProgramPath();

/// Empty when the platform does not tell it.
Text ProgramFolder();

} // namespace ep
