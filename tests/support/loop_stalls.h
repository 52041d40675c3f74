#pragma once
/// How long the event loop of this thread, the window's, went without running a timer: the longest time
/// the window could not have answered a click, sampled every few milliseconds while it runs.

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace ep::testing {

class LoopStallWatch {
  public:
    LoopStallWatch() {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            m_gapsMs.push_back(now - m_lastTickMs);
            m_longestMs = std::max(m_longestMs, now - m_lastTickMs);
            m_lastTickMs = now;
        });
        m_clock.start();
        m_timer.start(kPeriodMs);
    }

    /// The longest time between two turns of the loop so far, the sampling period included.
    qint64 longestMs() const { return m_longestMs; }
    /// How often the loop was held longer than the time.
    long stallsLongerThan(qint64 milliseconds) const {
        return std::count_if(m_gapsMs.begin(), m_gapsMs.end(), [=](qint64 gap) { return gap > milliseconds; });
    }

  private:
    static constexpr int kPeriodMs = 10;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastTickMs = 0;
    qint64 m_longestMs = 0;
    std::vector<qint64> m_gapsMs;
};

} // namespace ep::testing
