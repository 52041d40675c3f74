#pragma once
/// Many child processes through the host, a bounded number at a time: each of the rest starts as soon as
/// one ends, and a process that hangs holds back only its own place, until its bound kills it. A run can be
/// stopped: what runs is stopped and waited for, and nothing more starts.

#include "runtime/host.h"

#include <functional>
#include <vector>

namespace ep {

/// How many processes run at once for a number asked for (0: the default, four for each processor, as
/// they mostly wait for their devices): never more than the host has room for, and at least one.
int ProcessesAtOnce(int asked, unsigned processors, int hostRoom);

/// Runs every request to its end, at most atOnce at a time, and returns the outcomes in the order of the
/// requests. Once stopRequested holds, none starts any more and those that run are stopped (terminated,
/// and killed when they have not ended promptly) and waited for; those that never started are reported
/// as not started. Each process that ends is told to ended, with its index, as it ends.
std::vector<ProcessOutcome> RunProcesses(const std::vector<ProcessRequest>& requests, int atOnce,
                                         const std::function<bool()>& stopRequested,
                                         const std::function<void(std::size_t, const ProcessOutcome&)>& ended);

} // namespace ep
