#pragma once
/// The folder of the running program, which start-up makes the current directory.

#include "runtime/value.h"

namespace ep {

/// Empty when the platform does not tell it.
Text ProgramFolder();

} // namespace ep
