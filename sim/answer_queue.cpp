#include "sim/answer_queue.h"

#include <algorithm>

namespace ep::sim {

std::chrono::nanoseconds ByteDuration(int baud) {
    constexpr long long BitsPerByte = 10;
    if (baud <= 0)
        return std::chrono::nanoseconds{0};
    return std::chrono::nanoseconds{BitsPerByte * 1'000'000'000LL / baud};
}

void AnswerQueue::add(std::span<const std::uint8_t> answer, Clock::time_point earliest) {
    Clock::time_point arrival = std::max(earliest, m_lineFreeAt);
    for (std::uint8_t byte : answer) {
        arrival += m_byteDuration;
        m_bytes.emplace_back(byte, arrival);
    }
    m_lineFreeAt = arrival;
}

std::optional<Clock::time_point> AnswerQueue::nextDue() const {
    if (m_bytes.empty())
        return std::nullopt;
    return m_bytes.front().second;
}

std::vector<std::uint8_t> AnswerQueue::due(Clock::time_point now) const {
    std::vector<std::uint8_t> bytes;
    for (const auto& [byte, arrival] : m_bytes) {
        if (arrival > now)
            break;
        bytes.push_back(byte);
    }
    return bytes;
}

void AnswerQueue::consume(std::size_t count) {
    m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(std::min(count, m_bytes.size())));
}

} // namespace ep::sim
