#pragma once
/// The monitor's bytes on their way from the reader threads to the main thread, each with its direction
/// and the time it came, in the order they came. At most a bound of them wait: a main thread that falls
/// behind a flood is told how many came beyond it instead, so that the memory does not grow with it.

#include "link/traffic_decoder.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace ep {

class TrafficQueue {
  public:
    struct Entry {
        Direction direction;
        std::uint8_t byte;
        TrafficClock::time_point time;
    };
    /// The bytes that came, and then how many more came beyond the bound.
    using Delivery = std::function<void(const std::vector<Entry>& entries, long long beyondBound)>;

    explicit TrafficQueue(std::size_t bound) : m_bound(bound) {}

    /// Where the bytes go, on the main thread; before the first push.
    void deliverTo(Delivery deliver) { m_deliver = std::move(deliver); }
    /// From a reader thread, before the byte is forwarded, so that a request is queued before its answer.
    void push(Direction direction, std::uint8_t byte);
    bool deliveryPosted();

  private:
    void deliver();

    const std::size_t m_bound;
    Delivery m_deliver;
    std::mutex m_mutex; ///< guards the members below
    std::vector<Entry> m_entries;
    long long m_beyondBound = 0;
    bool m_deliveryPosted = false;
};

} // namespace ep
