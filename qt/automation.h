#pragma once
/// A test-only remote control of the running program, for acceptance tests and benchmarks that run it as
/// a separate process. It is on only when the environment variable EFFECTPANEL_AUTOMATION is 1.
///
/// The program writes "ready" on its standard output once the window is shown. Then it reads one
/// command a line from its standard input and answers each with one line, "ok[ VALUE]" or "error WHY". A
/// backslash, line feed or carriage return in an answer (a box text may hold line breaks) is written as
/// \\, \n or \r, so that every answer stays one line:
///   read NAME            what the control's widget shows (text, slider position, list index)
///   colour NAME          the control's text colour (labels: the background) as #RRGGBB
///   visible NAME         1 or 0
///   click NAME           a left click on the widget (a button hidden in the window is clicked too)
///   key NAME KEY [N]     N presses of Up, Down, Left, Right, PageUp, PageDown, Home or End
///   arrow NAME up|down   a click on an edit box's up or down arrow
///   choose NAME INDEX    opens the list, moves to item INDEX with the arrow keys and presses Return
///   box                  the open message box as TITLE|TEXT, or "none"
///   answer               clicks the open message box's default button
///   file PATH            enters PATH into the open file dialog and accepts it
///   quit                 closes the window, as its close button does
/// Input commands are answered before their input is delivered, so an input that opens a modal box
/// does not hold back the answer; the next command is handled inside the box's event loop.

#include <iosfwd>
#include <memory>
#include <string>

namespace ep {
class Window;
}

namespace ep::qt {

class MainWindowView;

/// True when the environment asks for the automation hook.
bool AutomationRequested();

class Automation {
  public:
    /// Starts reading commands for the shown view; the view and window must outlive this object.
    Automation(MainWindowView& view, Window& window);
    ~Automation();
    Automation(const Automation&) = delete;
    Automation& operator=(const Automation&) = delete;

    /// Carries out one command line and returns the answer line (escaped, without the line end).
    std::string handle(const std::string& line);

  private:
    struct Channel;

    std::string answer(const std::string& line);

    std::string handleControlCommand(const std::string& command, std::istringstream& words);

    MainWindowView& m_view;
    Window& m_window;
    std::shared_ptr<Channel> m_channel;
};

} // namespace ep::qt
