#include "sim/answer_queue.h"

#include <gtest/gtest.h>

namespace ep::sim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const Clock::time_point Start = Clock::time_point{} + 10s;

TEST(LinePacing, TenBitsPerByte) {
    EXPECT_EQ(ByteDuration(9600), 1'041'666ns);
    EXPECT_EQ(ByteDuration(115200), 86'805ns);
    EXPECT_EQ(ByteDuration(0), 0ns);
}

TEST(AnswerQueue, BytesArriveOneByteTimeApart) {
    const auto byte = ByteDuration(9600);
    AnswerQueue queue(byte);
    queue.add(Bytes{1, 2, 3}, Start);
    EXPECT_EQ(queue.nextDue(), Start + byte);
    EXPECT_TRUE(queue.due(Start).empty());
    EXPECT_TRUE(queue.due(Start + byte - 1ns).empty());
    EXPECT_EQ(queue.due(Start + byte), Bytes{1});
    EXPECT_EQ(queue.due(Start + 2 * byte + 1us), (Bytes{1, 2}));
    EXPECT_EQ(queue.due(Start + 1s), (Bytes{1, 2, 3}));
}

TEST(AnswerQueue, AnAnswerWaitsForTheOneBeforeIt) {
    const auto byte = ByteDuration(9600);
    AnswerQueue queue(byte);
    queue.add(Bytes{1, 2}, Start);
    queue.add(Bytes{3}, Start);
    EXPECT_EQ(queue.due(Start + 2 * byte), (Bytes{1, 2}));
    queue.consume(2);
    EXPECT_EQ(queue.nextDue(), Start + 3 * byte);
}

TEST(AnswerQueue, LateAnswerStartsAtItsEarliestTime) {
    const auto byte = ByteDuration(9600);
    AnswerQueue queue(byte);
    queue.add(Bytes{0xA8}, Start + 50ms);
    EXPECT_TRUE(queue.due(Start + 50ms).empty());
    EXPECT_EQ(queue.nextDue(), Start + 50ms + byte);
}

TEST(AnswerQueue, AnIdleLineDoesNotDelayTheNextAnswer) {
    const auto byte = ByteDuration(9600);
    AnswerQueue queue(byte);
    queue.add(Bytes{1}, Start);
    queue.consume(1);
    EXPECT_TRUE(queue.empty());
    EXPECT_FALSE(queue.nextDue());
    queue.add(Bytes{2}, Start + 1s);
    EXPECT_EQ(queue.nextDue(), Start + 1s + byte);
}

TEST(AnswerQueue, UnpacedBytesAreAllDueAtOnce) {
    AnswerQueue queue(ByteDuration(0));
    queue.add(Bytes(255, 7), Start);
    EXPECT_EQ(queue.due(Start).size(), 255u);
    queue.consume(100);
    EXPECT_EQ(queue.due(Start).size(), 155u);
    queue.consume(1000);
    EXPECT_TRUE(queue.empty());
}

} // namespace
} // namespace ep::sim
