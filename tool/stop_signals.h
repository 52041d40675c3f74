#pragma once
/// SIGINT and SIGTERM caught for as long as the object lives, so that a command with something to undo
/// (children to stop, files to remove, devices to close) ends on them in its own time: it looks at
/// caught() wherever it waits. The handlers from before are put back at its end. One at a time.

#include "runtime/value.h"

namespace ep {

class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    /// The first of the signals that came; 0 while none has.
    int caught() const;

  private:
    using Handler = void (*)(int);
    Handler m_interrupt;
    Handler m_terminate;
};

/// "SIGINT" or "SIGTERM".
Text SignalName(int signal);

/// The exit status of a command that a signal ended, as a shell gives it: 128 and the signal's number.
constexpr int ExitStatusOfSignal(int signal) { return 128 + signal; }

} // namespace ep
