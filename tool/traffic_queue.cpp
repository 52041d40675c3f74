#include "tool/traffic_queue.h"

#include "runtime/host.h"

#include <utility>

namespace ep {

void TrafficQueue::push(Direction direction, std::uint8_t byte) {
    std::lock_guard lock(m_mutex);
    if (m_entries.size() < m_bound)
        m_entries.push_back({direction, byte, TrafficClock::now()});
    else
        ++m_beyondBound;
    if (m_deliveryPosted)
        return;
    m_deliveryPosted = true;
    CurrentHost().postToUi([this] { deliver(); });
}

bool TrafficQueue::deliveryPosted() {
    std::lock_guard lock(m_mutex);
    return m_deliveryPosted;
}

void TrafficQueue::deliver() {
    std::vector<Entry> entries;
    long long beyondBound = 0;
    {
        std::lock_guard lock(m_mutex);
        m_deliveryPosted = false;
        entries = std::exchange(m_entries, {});
        beyondBound = std::exchange(m_beyondBound, 0);
    }
    m_deliver(entries, beyondBound);
}

} // namespace ep
