#pragma once
/// A pseudo-terminal offered to another program as its serial device: POSIX posix_openpt in raw mode,
/// with a reader thread of its own that polls the master side. The host keeps a descriptor of the slave
/// side open, so that the other program closing its side never hangs the terminal up. Windows has none.

#include "runtime/host.h"

namespace ep::qt {

PseudoTerminalResult OpenPseudoTerminal(const Text& linkPath, SerialReceiver& receiver);

} // namespace ep::qt
