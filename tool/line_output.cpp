#include "tool/line_output.h"

namespace ep {

void LineOutput::add(const Text& line) {
    // After a gap its count comes first, so no line goes in while the count waits to.
    if (m_dropped > 0 || m_waiting.size() + line.size() + 1 > m_bound) {
        ++m_dropped;
        return;
    }
    m_waiting += line;
    m_waiting += '\n';
}

bool LineOutput::flush() {
    write();
    // Not only once all that waited has gone: a reader slower than the lines come would never see the count.
    if (m_dropped > 0 && m_waiting.size() <= m_bound / 2) {
        m_waiting += std::to_string(m_dropped) + " line(s) dropped: nothing read the output\n";
        m_dropped = 0;
        write();
    }
    return m_waiting.empty() && m_dropped == 0;
}

void LineOutput::write() {
    if (!m_waiting.empty())
        m_waiting.erase(0, CurrentHost().writeWithoutWaiting(m_stream, m_waiting));
}

} // namespace ep
