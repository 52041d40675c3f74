#pragma once
/// The panel program run as a separate process with its test-only automation hook on: commands go to its
/// standard input, each answer is one line of its standard output.

#include <QElapsedTimer>
#include <QProcess>

#include <string>
#include <vector>

namespace ep::acceptance {

class ProgramProcess {
  public:
    ~ProgramProcess();

    /// Starts the program with these arguments (offscreen, automation on, HOME in homeFolder) and waits
    /// for its "ready" line; false when it did not come within the time.
    bool start(const std::vector<std::string>& arguments, const std::string& homeFolder);
    /// Sends one command and returns its answer, unescaped; "no answer" when none came within the time.
    std::string ask(const std::string& command);
    /// The value of an "ok VALUE" answer; the whole answer line when it is not one.
    std::string value(const std::string& command);
    /// Asks until the value equals the expected one; false when the time ran out.
    bool waitForValue(const std::string& command, const std::string& expected, int timeoutMs);
    /// Waits for the program to end by itself and returns its exit code; -1 when it did not end in time.
    int waitForExit(int timeoutMs);
    qint64 processId() const { return m_process.processId(); }
    /// Milliseconds since the "ready" line.
    qint64 sinceReadyMs() const { return m_sinceReady.elapsed(); }
    /// Milliseconds from the start to the "ready" line.
    qint64 readyAfterMs() const { return m_readyAfterMs; }

  private:
    std::string readLine(int timeoutMs);

    QProcess m_process;
    QElapsedTimer m_sinceReady;
    qint64 m_readyAfterMs = 0;
};

} // namespace ep::acceptance
