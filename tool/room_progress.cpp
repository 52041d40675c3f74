#include "tool/room_progress.h"

#include "runtime/host.h"

#include <cstdio>

namespace ep {

RoomProgress::RoomProgress(std::size_t rooms)
    : m_rooms(rooms), m_toTerminal(CurrentHost().isTerminal(OutputStream::Error)) {}

RoomProgress::~RoomProgress() {
    if (m_countLength > 0)
        overCount("");
    std::fflush(stderr);
}

void RoomProgress::overCount(const Text& text) {
    // The count is overwritten with blanks where the text is shorter.
    const std::size_t blanks = m_countLength > text.size() ? m_countLength - text.size() : 0;
    std::fprintf(stderr, "\r%s%s\r", text.c_str(), Text(blanks, ' ').c_str());
    m_countLength = 0;
}

void RoomProgress::roomEnded(const RoomRow& row) {
    ++m_ended;
    const Text line = "effectpanel-cli: " + RoomLine(row);
    if (!m_toTerminal) {
        std::fprintf(stderr, "%s\n", line.c_str());
        return;
    }
    overCount(line);
    std::fputs("\n", stderr);
    const Text count = std::to_string(m_ended) + " of " + std::to_string(m_rooms) + " rooms ended";
    std::fputs(count.c_str(), stderr);
    m_countLength = count.size();
    std::fflush(stderr);
}

} // namespace ep
