#pragma once
/// What a run in every room tells while it runs: each room's result on standard error as the room's
/// process ends, and on a terminal a count of the rooms ended so far, updated in place under those lines
/// and cleared at the end, so that a venue's run is never silent until its last room.

#include "tool/rooms_table.h"

#include <cstddef>

namespace ep {

class RoomProgress {
  public:
    explicit RoomProgress(std::size_t rooms);
    ~RoomProgress();
    RoomProgress(const RoomProgress&) = delete;
    RoomProgress& operator=(const RoomProgress&) = delete;

    void roomEnded(const RoomRow& row);

  private:
    /// Writes the text over the count, which it ends.
    void overCount(const Text& text);

    std::size_t m_rooms;
    std::size_t m_ended = 0;
    bool m_toTerminal;
    std::size_t m_countLength = 0; ///< what the count on the terminal takes now
};

} // namespace ep
