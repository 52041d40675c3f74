#pragma once
/// The outgoing side of a simulated serial line: answers wait here until the moment a real line would
/// have delivered each byte. Time is passed in, so this holds no clock and does no I/O.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace ep::sim {

using Clock = std::chrono::steady_clock;

/// Time one byte takes on an 8N1 line (start bit, 8 data bits, stop bit); zero for baud 0 (unpaced).
std::chrono::nanoseconds ByteDuration(int baud);

class AnswerQueue {
  public:
    explicit AnswerQueue(std::chrono::nanoseconds byteDuration) : m_byteDuration(byteDuration) {}

    /// Queues an answer that may not start before `earliest`; it also waits for what is queued before it.
    void add(std::span<const std::uint8_t> answer, Clock::time_point earliest);

    bool empty() const { return m_bytes.empty(); }
    /// When the first queued byte has fully arrived at the far end; nothing when the queue is empty.
    std::optional<Clock::time_point> nextDue() const;
    /// The bytes due at `now`, oldest first; they stay queued until consumed.
    std::vector<std::uint8_t> due(Clock::time_point now) const;
    /// Removes the first `count` bytes, once written.
    void consume(std::size_t count);

  private:
    std::chrono::nanoseconds m_byteDuration;
    Clock::time_point m_lineFreeAt{};
    std::deque<std::pair<std::uint8_t, Clock::time_point>> m_bytes;
};

} // namespace ep::sim
