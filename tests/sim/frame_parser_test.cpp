#include "sim/frame_description.h"
#include "sim/frame_parser.h"

#include <gtest/gtest.h>

#include <vector>

namespace ep::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes Hello{0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8};
const Bytes DumpRequest{0x80, 0xBC, 0x88, 0x01, 0x80, 0x00};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

std::vector<FrameKind> Kinds(const std::vector<ParsedFrame>& frames) {
    std::vector<FrameKind> kinds;
    for (const ParsedFrame& frame : frames)
        kinds.push_back(frame.kind);
    return kinds;
}

TEST(FrameParser, HelloDumpRequestAndPing) {
    FrameParser parser;
    const auto frames = parser.feed(Join({Hello, {0x68}, DumpRequest}));
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::Hello, FrameKind::Ping, FrameKind::DumpRequest}));
    EXPECT_EQ(frames[0].bytes, Hello);
    EXPECT_EQ(frames[2].bytes, DumpRequest);
    EXPECT_EQ(parser.brokenFrames(), 0u);
    EXPECT_EQ(parser.state(), ParserState::AwaitingHeader);
}

TEST(FrameParser, ParameterAndWholeDeviceFrames) {
    FrameParser parser;
    const auto frames = parser.feed(Bytes{0x80, 0x02, 0xBB, 0x02, 0x16, 0x0F, 0x80, 0x05, 0xBD, 0x02, 0x42, 0x03,
                                          0x80, 0x00, 0x13, 0x02, 0x00, 0x00, 0x80, 0x00, 0x14, 0x02, 0x00, 0x00});
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::SetParameter, FrameKind::BulkParameter, FrameKind::StoreEffect,
                                          FrameKind::RestoreDefaults}));
    EXPECT_EQ(frames[0].channel, 2);
    EXPECT_EQ(frames[0].address, 22);
    EXPECT_EQ(frames[0].value, 15);
    EXPECT_EQ(frames[0].valueLength, 1);
    EXPECT_EQ(frames[1].channel, 5);
    EXPECT_EQ(frames[1].address, 66);
    EXPECT_EQ(frames[1].value, 3);
}

TEST(FrameParser, HeaderAndPingBytesInsideAFrameAreData) {
    FrameParser parser;
    const auto frames = parser.feed(Bytes{0x80, 0x00, 0xBB, 0x02, 0x01, 0x80, 0x80, 0x00, 0xBD, 0x02, 0x02, 0x68});
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::SetParameter, FrameKind::BulkParameter}));
    EXPECT_EQ(frames[0].value, 0x80);
    EXPECT_EQ(frames[1].value, 0x68);
}

TEST(FrameParser, FourByteValuesOfTheSwitchAndChoiceAddresses) {
    struct Case {
        std::uint8_t channel;
        std::uint8_t address;
    };
    for (const Case entry :
         {Case{0, 16}, Case{0, 17}, Case{0, 18}, Case{0, 19}, Case{0, 20}, Case{0, 21}, Case{3, 56}, Case{5, 57}}) {
        FrameParser parser;
        const auto frames =
            parser.feed(Join({{0x80, entry.channel, 0xBB, 0x02, entry.address, 0x01, 0x00, 0x00, 0x00}, {0x68}}));
        ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::SetParameter, FrameKind::Ping})) << int(entry.address);
        EXPECT_EQ(frames[0].value, 1);
        EXPECT_EQ(frames[0].valueLength, 4);
        EXPECT_FALSE(frames[0].valueCutShort);
        EXPECT_EQ(frames[0].bytes.size(), 9u);
        EXPECT_EQ(parser.brokenFrames(), 0u) << int(entry.address);
    }
}

TEST(FrameParser, NineByteFrameFedByteByByte) {
    FrameParser parser;
    const Bytes key{0x80, 0x00, 0xBB, 0x02, 0x13, 0x05, 0x00, 0x00, 0x00};
    for (std::size_t i = 0; i + 1 < key.size(); ++i)
        EXPECT_TRUE(parser.feed(std::span(&key[i], 1)).empty()) << i;
    EXPECT_EQ(parser.state(), ParserState::AwaitingValueTail);
    const auto frames = parser.feed(std::span(&key.back(), 1));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].address, 0x13);
    EXPECT_EQ(frames[0].value, 5);
    EXPECT_EQ(parser.state(), ParserState::AwaitingHeader);
}

TEST(FrameParser, OnlySetParameterCarriesFourByteValues) {
    FrameParser parser;
    const auto frames = parser.feed(Bytes{0x80, 0x00, 0xBD, 0x02, 0x13, 0x05, 0x68});
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::BulkParameter, FrameKind::Ping}));
    EXPECT_EQ(frames[0].valueLength, 1);
}

TEST(FrameParser, AShortFourByteValueEndsAtTheNextHeaderOrPing) {
    FrameParser parser;
    auto frames = parser.feed(Join({{0x80, 0x00, 0xBB, 0x02, 0x13, 0x07}, Hello}));
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::SetParameter, FrameKind::Hello}));
    EXPECT_TRUE(frames[0].valueCutShort);
    EXPECT_EQ(frames[0].valueLength, 1);
    EXPECT_EQ(frames[0].value, 7);

    frames = parser.feed(Bytes{0x80, 0x00, 0xBB, 0x02, 0x11, 0x01, 0x00, 0x00, 0x68});
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::SetParameter, FrameKind::Ping}));
    EXPECT_TRUE(frames[0].valueCutShort);
    EXPECT_EQ(frames[0].valueLength, 3);
    EXPECT_EQ(parser.brokenFrames(), 0u);
}

TEST(FrameParser, ZeroTailAfterAOneByteAddressIsSkipped) {
    FrameParser parser;
    const auto frames = parser.feed(Join({{0x80, 0x00, 0xBB, 0x02, 0x01, 0x05, 0x00, 0x00, 0x00}, Hello}));
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::SetParameter, FrameKind::Broken, FrameKind::Hello}));
    EXPECT_EQ(frames[1].reason, BrokenReason::StrayByte);
    EXPECT_EQ(parser.brokenFrames(), 1u);
    EXPECT_EQ(parser.skippedBytes(), 3u);
}

struct BrokenCase {
    Bytes bytes;
    BrokenReason reason;
};

TEST(FrameParser, BrokenFramesAreSkippedUpToTheNextHeaderAndCounted) {
    const std::vector<BrokenCase> cases{
        {{0x80, 0x06, 0xBB, 0x02, 0x16, 0x0A}, BrokenReason::BadChannel},
        {{0x80, 0x00, 0x99, 0x02, 0x01, 0x0A}, BrokenReason::BadCommand},
        {{0x80, 0x01, 0x13, 0x02, 0x00, 0x00}, BrokenReason::BadCommand},
        {{0x80, 0xBC, 0xBB, 0x02, 0x01, 0x00}, BrokenReason::BadCommand},
        {{0x80, 0x00, 0xBB, 0x03, 0x01, 0x0A}, BrokenReason::BadMarker},
        {{0x80, 0xBC, 0x88, 0x02, 0x00, 0xA8}, BrokenReason::BadMarker},
        {{0x80, 0x00, 0xBB, 0x02, 0x00, 0x0A}, BrokenReason::BadAddress},
        {{0x80, 0x00, 0xBB, 0x02, 0x43, 0x0A}, BrokenReason::BadAddress},
        {{0x80, 0x04, 0xBB, 0x02, 0x1F, 0x0A}, BrokenReason::BadAddress},
        {{0x80, 0x04, 0xBD, 0x02, 0x30, 0x0A}, BrokenReason::BadAddress},
        {{0x80, 0x01, 0xBB, 0x02, 0x01, 0x0A}, BrokenReason::BadAddress},
        {{0x80, 0x00, 0x13, 0x02, 0x01, 0x00}, BrokenReason::BadAddress},
        {{0x80, 0xBC, 0x88, 0x00, 0x01, 0xA8}, BrokenReason::BadAddress},
        {{0x80, 0xBC, 0x88, 0x00, 0x00, 0xA9}, BrokenReason::BadValue},
        {{0x80, 0xBC, 0x88, 0x01, 0x80, 0x01}, BrokenReason::BadValue},
        {{0x80, 0x00, 0x14, 0x02, 0x00, 0x01}, BrokenReason::BadValue},
        {{0x13, 0x02, 0x00, 0x00, 0x68, 0x05}, BrokenReason::StrayByte},
    };
    for (const BrokenCase& entry : cases) {
        FrameParser parser;
        const auto frames = parser.feed(Join({entry.bytes, Hello}));
        const std::string name = DescribeFrame(frames.front());
        ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::Broken, FrameKind::Hello})) << name;
        EXPECT_EQ(frames[0].reason, entry.reason) << name;
        EXPECT_EQ(parser.brokenFrames(), 1u) << name;
        EXPECT_EQ(parser.skippedBytes(), 6u) << name;
    }
}

TEST(FrameParser, AHeaderThatBreaksAFrameStartsTheNextOne) {
    FrameParser parser;
    const auto frames = parser.feed(Join({{0x80, 0x00, 0xBB}, Hello}));
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::Broken, FrameKind::Hello}));
    EXPECT_EQ(frames[0].reason, BrokenReason::BadMarker);
    EXPECT_EQ(frames[0].bytes, (Bytes{0x80, 0x00, 0xBB}));
    EXPECT_EQ(parser.skippedBytes(), 3u);
}

TEST(FrameParser, APingWhileSkippingIsTakenAsPartOfTheBrokenFrame) {
    FrameParser parser;
    const auto frames = parser.feed(Join({{0x80, 0x07, 0x68}, DumpRequest, {0x68}}));
    ASSERT_EQ(Kinds(frames), (std::vector{FrameKind::Broken, FrameKind::DumpRequest, FrameKind::Ping}));
    EXPECT_EQ(parser.skippedBytes(), 3u);
}

TEST(FrameParser, NoiseBetweenFramesIsSkipped) {
    FrameParser parser;
    const auto frames = parser.feed(Join({{0x01, 0x0F}, Hello, {0x05}, {0x80, 0x01, 0xBB, 0x02, 0x17, 0x0C}}));
    ASSERT_EQ(Kinds(frames),
              (std::vector{FrameKind::Broken, FrameKind::Hello, FrameKind::Broken, FrameKind::SetParameter}));
    EXPECT_EQ(frames[3].channel, 1);
    EXPECT_EQ(frames[3].address, 23);
    EXPECT_EQ(frames[3].value, 12);
    EXPECT_EQ(parser.brokenFrames(), 2u);
    EXPECT_EQ(parser.skippedBytes(), 3u);
}

TEST(FrameDescription, NamesTheParameterAndItsField) {
    FrameParser parser;
    const auto frames = parser.feed(Bytes{0x80, 0x00, 0xBB, 0x02, 0x13, 0x05, 0x00, 0x00, 0x00, 0x80, 0x09});
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(DescribeFrame(frames[0]),
              "SetParameter channel 0 address 19 value 5 field 19 (4-byte value) [80 00 BB 02 13 05 00 00 00]");
    EXPECT_EQ(DescribeFrame(frames[1]), "broken frame (bad channel) [80 09]");
}

} // namespace
} // namespace ep::sim
