#pragma once
/// The fatal runtime report: one box titled "错误", then the program ends with exit code -1 (255) without
/// running the exit clean-up. There is no recovery path.

#include "runtime/value.h"

#include <functional>

namespace ep {

/// The text of the report: "运行时出错!", the code when not 0, the message when not empty.
Text FatalReportText(const Text& message, int code);

/// Shows the report and ends the program.
[[noreturn]] void ReportFatal(const Text& message, int code = 0);

/// Raises a numbered runtime error (1..11) with the text of its number.
[[noreturn]] void RaiseRuntimeError(int code);

/// The text of a numbered runtime error; empty for an unknown number.
Text RuntimeErrorText(int code);

/// The allocation failure report, with the requested size.
[[noreturn]] void ReportAllocationFailure(long long byteCount);

/// The program's exit clean-up: registered once, run at most once. A later registration replaces an
/// earlier one; a fatal report clears it without running it.
void RegisterExitCleanup(std::function<void()> cleanup);
void RunExitCleanup();

/// The event-suppression count: while above zero no control event reaches a handler (the program is
/// ending, or a fatal error is being reported).
void SuppressEvents();
bool EventsSuppressed();

/// The rest of exit processing (suppressing events, closing the port, releasing the host), run both on a
/// normal end and after a fatal report. The program registers it at start-up.
void RegisterRuntimeShutdown(std::function<void()> shutdown);
void RunRuntimeShutdown();

} // namespace ep
