// What the monitor holds for a reader that falls behind, on the test host: the lines that wait for its
// output are bounded, those beyond are dropped and counted where they would have been once the output
// moves again, and the bytes that wait to be decoded are bounded too.

#include "test_host.h"
#include "tool/line_output.h"
#include "tool/traffic_queue.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

/// "line 7" and dots: 20 bytes with its line break, 21 from line 10 on.
Text Line(int number) { return "line " + std::to_string(number) + Text(13, '.'); }

TEST(MonitorOutput, LinesBeyondTheBoundAreDroppedAndCountedWhereTheyWouldHaveBeen) {
    testing::TestHost host;
    LineOutput output(OutputStream::Standard, 200);
    const Text& written = host.written[OutputStream::Standard];
    output.add(Line(1));
    EXPECT_TRUE(output.flush());
    EXPECT_EQ(written, Line(1) + "\n") << "all out while the reader reads";

    host.writableBytes = 3; // the reader stops reading part of the way into a line
    for (int number = 2; number <= 12; ++number)
        output.add(Line(number));
    EXPECT_FALSE(output.flush());
    EXPECT_EQ(written, Line(1) + "\nlin") << "what waits is bounded: lines 11 and 12 are dropped";

    host.writableBytes = 97; // the reader takes some: half of what may wait is left, and the count goes in
    EXPECT_FALSE(output.flush());
    output.add(Line(13));
    host.writableBytes = SIZE_MAX;
    EXPECT_TRUE(output.flush());
    Text expected;
    for (int number = 1; number <= 10; ++number)
        expected += Line(number) + "\n";
    EXPECT_EQ(written, expected + "2 line(s) dropped: nothing read the output\n" + Line(13) + "\n");
}

TEST(MonitorOutput, NoLineGoesBeforeTheCountOfThoseDroppedBeforeIt) {
    testing::TestHost host;
    LineOutput output(OutputStream::Error, 20);
    for (const char* line : {"line 1", "line 2", "a line that finds no room", "l4"})
        output.add(line);
    EXPECT_TRUE(output.flush());
    EXPECT_EQ(host.written[OutputStream::Error], "line 1\nline 2\n2 line(s) dropped: nothing read the output\n")
        << "l4 had room, but would have stood before the count";
}

TEST(MonitorOutput, BytesBeyondTheQueuesBoundAreCountedInstead) {
    testing::TestHost host;
    TrafficQueue queue(3);
    std::vector<std::uint8_t> delivered;
    long long beyond = 0;
    queue.deliverTo([&](const std::vector<TrafficQueue::Entry>& entries, long long beyondBound) {
        for (const TrafficQueue::Entry& entry : entries)
            delivered.push_back(entry.byte);
        beyond += beyondBound;
    });
    for (std::uint8_t byte = 1; byte <= 5; ++byte)
        queue.push(Direction::ToPanel, byte);
    EXPECT_TRUE(queue.deliveryPosted());
    host.runPending();
    EXPECT_EQ(delivered, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(beyond, 2);
    queue.push(Direction::ToDevice, 6);
    host.runPending();
    EXPECT_EQ(delivered.back(), 6) << "room again once the main thread has taken them";
    EXPECT_EQ(beyond, 2);
}

} // namespace
} // namespace ep
