#pragma once
/// Child processes for the core host: QProcess, with its output caught whole, standard input on the null
/// device, and a timer that kills it at its bound.

#include "runtime/host.h"

class QObject;

namespace ep::qt {

/// Starts the process, owned by the owner until it has ended; the outcome is posted to the owner's thread.
void StartChildProcess(QObject& owner, const ProcessRequest& request, std::function<void(const ProcessOutcome&)> ended);

} // namespace ep::qt
