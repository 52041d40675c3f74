#pragma once
/// Lines for a stream whose reader may stop reading, such as the monitor's output piped into a pager that
/// is paused: they wait for the reader up to a bound, and the lines beyond it are dropped and counted; once
/// the reader has taken half of what may wait, a line with the count stands where they would have been. It writes
/// through the host, which never waits for the reader, so that its caller goes on meanwhile; the caller
/// flushes after each batch of lines, and now and then for a reader that has made room.

#include "runtime/host.h"

namespace ep {

class LineOutput {
  public:
    /// At most bound bytes wait for the reader, and the line with the count.
    LineOutput(OutputStream stream, std::size_t bound) : m_stream(stream), m_bound(bound) {}

    /// Adds the line, without its line break, to what waits; flush() writes it.
    void add(const Text& line);
    /// Writes what the stream takes of what waits; true when nothing waits any more.
    bool flush();

  private:
    void write();

    OutputStream m_stream;
    std::size_t m_bound;
    Text m_waiting;
    long long m_dropped = 0;
};

} // namespace ep
