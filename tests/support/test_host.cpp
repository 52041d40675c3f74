#include "test_host.h"

#include <algorithm>
#include <memory>

namespace ep::testing {

TestHost::TestHost() { SetCurrentHost(this); }

TestHost::~TestHost() { SetCurrentHost(nullptr); }

void TestHost::runPending() {
    while (!m_posted.empty()) {
        auto callable = std::move(m_posted.front());
        m_posted.pop_front();
        callable();
    }
}

void TestHost::runDeviceEventsUntil(long long time) {
    while (!m_deviceEvents.empty() && m_deviceEvents.begin()->first <= time) {
        auto node = m_deviceEvents.extract(m_deviceEvents.begin());
        m_now = std::max(m_now, node.key());
        node.mapped()();
    }
}

void TestHost::advance(long long milliseconds) {
    const long long target = m_now + milliseconds;
    for (;;) {
        runPending();
        long long nextDevice = m_deviceEvents.empty() ? target + 1 : m_deviceEvents.begin()->first;
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
            if (next == m_timers.end() || it->second.due < next->second.due)
                next = it;
        const long long nextTimer = next == m_timers.end() ? target + 1 : next->second.due;
        if (std::min(nextDevice, nextTimer) > target)
            break;
        if (nextDevice <= nextTimer) {
            runDeviceEventsUntil(nextDevice);
            continue;
        }
        m_now = std::max(m_now, nextTimer);
        Timer& timer = next->second;
        // Ticks that fell due while the UI was busy merge into this one, as Qt's timers do.
        timer.due += timer.period;
        if (timer.due < m_now)
            timer.due = m_now + timer.period;
        auto tick = timer.tick;
        tick();
    }
    // A handler that slept may have carried the clock past the target.
    m_now = std::max(m_now, target);
    runPending();
}

void TestHost::callAt(long long time, std::function<void()> callable) {
    m_deviceEvents.emplace(time, std::move(callable));
}

Host::TimerId TestHost::startTimer(int periodMs, std::function<void()> tick) {
    const TimerId id = m_nextTimer++;
    m_timers[id] = Timer{std::max(periodMs, 1), m_now + std::max(periodMs, 1), std::move(tick)};
    return id;
}

void TestHost::stopTimer(TimerId timer) { m_timers.erase(timer); }

void TestHost::postToUi(std::function<void()> callable) { m_posted.push_back(std::move(callable)); }

void TestHost::sleep(int milliseconds) {
    const long long target = m_now + std::max(milliseconds, 0);
    runDeviceEventsUntil(target);
    m_now = target;
}

bool TestHost::runUntil(const std::function<bool()>& condition, int timeoutMs) {
    const long long deadline = m_now + timeoutMs;
    runPending();
    while (!condition()) {
        if (m_now >= deadline)
            return false;
        advance(1);
    }
    return true;
}

MessageBoxButton TestHost::showMessageBox(const MessageBoxRequest& request) {
    messageBoxes.push_back(request);
    return messageBoxAnswer ? messageBoxAnswer(request) : MessageBoxButton::Ok;
}

std::optional<Text> TestHost::showFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (fileDialogAnswers.empty())
        return std::nullopt;
    auto answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

SerialOpenResult TestHost::openSerial(const Text& devicePath, const SerialLineSettings& settings,
                                      SerialReceiver& receiver) {
    serialOpenAttempts.push_back(devicePath);
    if (!serialOpener)
        return {nullptr, SerialOpenError::Missing, "no such device"};
    return serialOpener(devicePath, settings, receiver);
}

Host::ProcessId TestHost::startProcess(const ProcessRequest& request,
                                       std::function<void(const ProcessOutcome&)> ended) {
    processStarts.push_back(request);
    const auto id = static_cast<ProcessId>(processStarts.size());
    const long long start = m_now;
    auto over = std::make_shared<bool>(false);
    // The first of the play's end, the bound and a stop ends the process; the outcome comes from the
    // message loop.
    auto finish = [this, over, start, ended = std::move(ended)](ProcessOutcome outcome) {
        if (*over)
            return;
        *over = true;
        outcome.elapsedMs = static_cast<int>(m_now - start);
        postToUi([ended, outcome] { ended(outcome); });
    };
    if (!processStarter) {
        finish(ProcessOutcome{ProcessOutcome::End::NotStarted, -1, {}, "no such program", 0});
        return id;
    }
    m_processEnds[id] = finish;
    callAt(m_now + request.killAfterMs, [finish] { finish(ProcessOutcome{ProcessOutcome::End::Killed}); });
    processStarter(request, finish);
    return id;
}

void TestHost::stopProcess(ProcessId process, int graceMs) {
    processStops.push_back(process);
    const auto found = m_processEnds.find(process);
    if (found != m_processEnds.end())
        callAt(m_now + graceMs, [finish = found->second] { finish(ProcessOutcome{ProcessOutcome::End::Stopped}); });
}

std::size_t TestHost::writeWithoutWaiting(OutputStream stream, std::string_view text) {
    const std::size_t taken = std::min(text.size(), writableBytes);
    written[stream].append(text.substr(0, taken));
    writableBytes -= taken;
    return taken;
}

} // namespace ep::testing
