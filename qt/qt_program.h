#pragma once
/// Runs the program on Qt: the application object, the host, and the message loop that shows the main
/// window's view until it is closed. No Qt type crosses this header.

#include <functional>

namespace ep {
class Window;
}

namespace ep::qt {

/// The program's main routine, given the message loop to run for its window.
using ProgramMainFunction = std::function<int(const std::function<void(Window&)>& messageLoop)>;

int RunQtProgram(int& argc, char** argv, const ProgramMainFunction& programMain);

} // namespace ep::qt
