#pragma once
/// The TCP side of the simulated processor's line: a listening socket on the loopback address, and the
/// one connection it takes at a time. POSIX sockets; no bytes are interpreted here.

#include <string>

namespace ep::sim {

/// Listens on 127.0.0.1 at the port (0: a free one, which `port` then holds); the descriptor, or -1 with
/// the reason in `error`.
int OpenListener(int& port, std::string& error);

/// Takes the next waiting connection, non-blocking and without delaying small writes; -1 when none waits.
int AcceptConnection(int listener);

/// Writes to a connection without a SIGPIPE when the other side has gone.
long SendToConnection(int connection, const void* bytes, unsigned long count);

} // namespace ep::sim
