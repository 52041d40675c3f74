#pragma once
/// A host with virtual time for the tests. Nothing happens by itself: advance() moves the clock, running
/// posted callables and the timers that fall due, in time order; sleep() moves the clock with the UI
/// blocked (only device-side events run). Message boxes and file dialogs are recorded and answered by
/// the test; serial devices come from the opener that the test installs, child processes from its
/// starter.

#include "runtime/host.h"

#include <climits>
#include <cstdint>
#include <deque>
#include <map>
#include <vector>

namespace ep::testing {

class TestHost : public Host {
  public:
    TestHost();
    ~TestHost() override;

    long long now() const { return m_now; }
    /// Moves the clock by the milliseconds, running everything that falls due meanwhile.
    void advance(long long milliseconds);
    /// Runs what has been posted to the UI thread, without moving the clock.
    void runPending();

    /// Runs the callable at the virtual time, on the device side: also while the UI sleeps.
    void callAt(long long time, std::function<void()> callable);

    std::size_t runningTimerCount() const { return m_timers.size(); }
    /// Callables posted to the UI thread that have not run yet.
    std::size_t pendingCount() const { return m_posted.size(); }

    std::vector<MessageBoxRequest> messageBoxes;
    /// The answer to every message box; OK when not set. Runs nested, like a modal box.
    std::function<MessageBoxButton(const MessageBoxRequest&)> messageBoxAnswer;

    std::vector<FileDialogRequest> fileDialogs;
    std::deque<std::optional<Text>> fileDialogAnswers; ///< cancel when empty

    std::function<SerialOpenResult(const Text&, const SerialLineSettings&, SerialReceiver&)> serialOpener;
    std::vector<Text> serialOpenAttempts;

    /// Plays a child process: it calls ended (at a virtual time of its choice, through callAt) with the
    /// outcome; a process it never ends is killed at its bound. None: every start fails.
    std::function<void(const ProcessRequest&, std::function<void(const ProcessOutcome&)> ended)> processStarter;
    /// Each process's id is its place in this list, from 1.
    std::vector<ProcessRequest> processStarts;
    /// The processes asked to stop; one that its play does not end first ends, stopped, when its grace is over.
    std::vector<ProcessId> processStops;
    int processRoom = INT_MAX;

    /// What was written to the output streams, and how many more bytes they take before they wait for
    /// their reader; a test lets the reader read by raising it.
    std::map<OutputStream, Text> written;
    std::size_t writableBytes = SIZE_MAX;

    TimerId startTimer(int periodMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void postToUi(std::function<void()> callable) override;
    void sleep(int milliseconds) override;
    std::int64_t nowMs() const override { return m_now; }
    /// Moves the clock a millisecond at a time.
    bool runUntil(const std::function<bool()>& condition, int timeoutMs) override;
    MessageBoxButton showMessageBox(const MessageBoxRequest& request) override;
    std::optional<Text> showFileDialog(const FileDialogRequest& request) override;
    SerialOpenResult openSerial(const Text& devicePath, const SerialLineSettings& settings,
                                SerialReceiver& receiver) override;
    ProcessId startProcess(const ProcessRequest& request, std::function<void(const ProcessOutcome&)> ended) override;
    void stopProcess(ProcessId process, int graceMs) override;
    int childProcessRoom() const override { return processRoom; }
    std::size_t writeWithoutWaiting(OutputStream stream, std::string_view text) override;
    bool isTerminal(OutputStream) const override { return outputsAreTerminals; }
    /// What isTerminal says of every stream.
    bool outputsAreTerminals = false;

  private:
    struct Timer {
        int period = 0;
        long long due = 0;
        std::function<void()> tick;
    };
    void runDeviceEventsUntil(long long time);

    long long m_now = 0;
    TimerId m_nextTimer = 1;
    std::map<TimerId, Timer> m_timers;
    std::deque<std::function<void()>> m_posted;
    std::multimap<long long, std::function<void()>> m_deviceEvents;
    /// How each process that has started is ended, by its id.
    std::map<ProcessId, std::function<void(ProcessOutcome)>> m_processEnds;
};

} // namespace ep::testing
