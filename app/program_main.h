#pragma once
/// The program's main routine: runtime initialisation, the globals, the exit clean-up, the start window
/// with its created event, the message loop, and exit processing in order.

#include "ui/window.h"

#include <functional>
#include <memory>

namespace ep {

/// Runs the message loop for the loaded window until the program ends.
using MessageLoop = std::function<void(Window&)>;

/// Returns 0 when the loop has ended and exit processing has run. A preset file, when given, is opened
/// once the window is up.
int ProgramMain(const MessageLoop& runMessageLoop, const Text& presetFile = {});

/// Every handler of the program, by the names the window definition binds.
HandlerRegistry ProgramHandlers();

/// The panel's window as the program starts it: the port kind registered, the window built from its
/// definition with every handler bound, made the loaded window, and its created event raised. For the
/// program and for whatever runs the same panel without it (the tests, the tools).
std::unique_ptr<Window> OpenMainWindow();
/// The same with these handlers bound instead.
std::unique_ptr<Window> OpenMainWindow(const HandlerRegistry& handlers);

} // namespace ep
