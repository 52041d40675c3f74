#pragma once
/// Many child processes through the host, a bounded number at a time: each of the rest starts as soon as
/// one ends, and a process that hangs holds back only its own place, until its bound kills it.

#include "runtime/host.h"

#include <vector>

namespace ep {

/// Runs every request to its end, at most atOnce at a time (0: all at once), and returns the outcomes in
/// the order of the requests.
std::vector<ProcessOutcome> RunProcesses(const std::vector<ProcessRequest>& requests, int atOnce);

} // namespace ep
