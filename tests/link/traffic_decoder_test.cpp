#include "link/traffic_decoder.h"
#include "model/lookup_tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

namespace ep {
namespace {

using namespace std::chrono_literals;

constexpr Direction kOut = Direction::ToDevice;
constexpr Direction kIn = Direction::ToPanel;

/// Bytes that come in one direction, a millisecond apart, after a pause.
struct Step {
    Direction direction;
    Bytes bytes;
    std::chrono::milliseconds pauseBefore{0};
};

struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<Text> lines; ///< the frames' texts once the traffic has ended
};

const Bytes kHello = {0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8};
const Bytes kDumpRequest = {0x80, 0xBC, 0x88, 0x01, 0x80, 0x00};

/// 255 values that hold every byte the device sends on its own: 63, 68, 88, A8.
Bytes DumpValues() {
    Bytes values;
    for (int value = 1; value <= 255; ++value)
        values.push_back(static_cast<std::uint8_t>(value));
    return values;
}

Text Hex(const Bytes& bytes) {
    Text text;
    for (const std::uint8_t byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%s%02X", text.empty() ? "" : " ", byte);
        text += digits;
    }
    return text;
}

Bytes Prefix(const Bytes& bytes, std::size_t count) { return Bytes(bytes.begin(), bytes.begin() + count); }

std::vector<Text> Decode(const std::vector<Step>& steps) {
    TrafficDecoder decoder;
    auto time = TrafficClock::time_point() + 1000h;
    std::vector<Text> lines;
    const auto tell = [&lines](const std::vector<DecodedFrame>& frames) {
        for (const DecodedFrame& frame : frames)
            lines.push_back(FrameText(frame));
    };
    for (const Step& step : steps) {
        time += step.pauseBefore;
        for (const std::uint8_t byte : step.bytes) {
            tell(decoder.feed(step.direction, byte, time));
            time += 1ms;
        }
    }
    tell(decoder.finish());
    return lines;
}

class TrafficDecoderTest : public ::testing::Test {
  protected:
    void SetUp() override { FillLookupTables(); }
};

TEST_F(TrafficDecoderTest, EachKindOfFrameIsToldAsThePanelSendsOrTakesIt) {
    const Bytes dump = DumpValues();
    Bytes markedDump = Prefix(dump, 254);
    markedDump.insert(markedDump.begin(), 0x63);
    const std::vector<Case> cases = {
        {"hello and its answer", {{kOut, kHello}, {kIn, {0xA8}}}, {"→ 80 BC 88 00 00 A8  hello", "← A8  hello answer"}},
        {"dump request and the whole dump",
         {{kOut, kDumpRequest}, {kIn, dump}},
         {"→ 80 BC 88 01 80 00  dump request", "← dump, 255 bytes: " + Hex(dump)}},
        {"a dump that starts with the marker",
         {{kOut, kDumpRequest}, {kIn, markedDump}},
         {"→ 80 BC 88 01 80 00  dump request", "← dump, 255 bytes starting with the marker: " + Hex(markedDump)}},
        {"ping and echo", {{kOut, {0x68}}, {kIn, {0x68}}}, {"→ 68  ping", "← 68  echo"}},
        {"store", {{kOut, {0x80, 0x00, 0x13, 0x02, 0x00, 0x00}}}, {"→ 80 00 13 02 00 00  store"}},
        {"restore", {{kOut, {0x80, 0x00, 0x14, 0x02, 0x00, 0x00}}}, {"→ 80 00 14 02 00 00  restore defaults"}},
        {"key reset request and the panel's 32-bit answer",
         {{kIn, {0x88}}, {kOut, {0x80, 0x00, 0xBB, 0x02, 0x13, 0x05, 0x00, 0x00, 0x00}}},
         {"← 88  key reset request", "→ 80 00 BB 02 13 05 00 00 00  Key = #0"}},
        {"a mode's slider", {{kOut, {0x80, 0x01, 0xBB, 0x02, 0x16, 0x0D}}}, {"→ 80 01 BB 02 16 0D  MIC2 57HZ = +3dB"}},
        {"a send-all frame",
         {{kOut, {0x80, 0x00, 0xBD, 0x02, 0x13, 0x07}}},
         {"→ 80 00 BD 02 13 07  Key = #2 (send-all)"}},
        {"a channel that the address's block does not have",
         {{kOut, {0x80, 0x06, 0xBB, 0x02, 0x16, 0x0D}}},
         {"→ 80 06 BB 02 16 0D  address 22 on channel 6: no such setting"}},
        {"stray bytes between frames, told as one",
         {{kOut, {0x13, 0x37}}, {kOut, {0x68}}, {kIn, {0x42}}},
         {"→ 13 37  no frame", "→ 68  ping", "← 42  no frame"}},
        {"the device's stray bytes before the panel's next frame",
         {{kIn, {0x0A, 0x28}}, {kOut, {0x68}}, {kIn, {0x68}}},
         {"← 0A 28  no frame", "→ 68  ping", "← 68  echo"}},
        {"a frame that begins inside bytes that began as another",
         {{kOut, {0x80, 0x00, 0x80, 0x01, 0xBB, 0x02, 0x16, 0x0D}}},
         {"→ 80 00  no frame", "→ 80 01 BB 02 16 0D  MIC2 57HZ = +3dB"}},
        {"a switch frame whose 32-bit value is cut off",
         {{kOut, {0x80, 0x00, 0xBB, 0x02, 0x13, 0x05, 0x00, 0x07}}},
         {"→ 80 00 BB 02 13 05 00 07  no frame"}},
        {"a frame split across deliveries",
         {{kOut, {0x80, 0x01, 0xBB}}, {kOut, {0x02, 0x16, 0x0D}, 50ms}},
         {"→ 80 01 BB 02 16 0D  MIC2 57HZ = +3dB"}},
        {"a frame broken off by a pause",
         {{kOut, {0x80, 0x01, 0xBB}}, {kOut, {0x68}, kFrameGap}},
         {"→ 80 01 BB  no frame", "→ 68  ping"}},
        {"a dump cut short by the panel's deadline",
         {{kOut, kDumpRequest}, {kIn, Prefix(dump, 10)}, {kIn, {0xA8}, 2s}},
         {"→ 80 BC 88 01 80 00  dump request", "← dump cut short, 10 of 255 bytes: " + Hex(Prefix(dump, 10)),
          "← A8  hello answer"}},
        {"a dump cut short by the panel's next hello",
         {{kOut, kDumpRequest}, {kIn, Prefix(dump, 3)}, {kOut, kHello}},
         {"→ 80 BC 88 01 80 00  dump request", "← dump cut short, 3 of 255 bytes: 01 02 03",
          "→ 80 BC 88 00 00 A8  hello"}},
        {"what is open at the end",
         {{kOut, {0x80, 0x01}}, {kOut, kDumpRequest}, {kIn, {0x05}}},
         {"→ 80 01  no frame", "→ 80 BC 88 01 80 00  dump request", "← dump cut short, 1 of 255 bytes: 05"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.steps), c.lines) << c.what;
}

TEST_F(TrafficDecoderTest, APartialFrameIsToldOnceItsDirectionIsQuiet) {
    TrafficDecoder decoder;
    const auto start = TrafficClock::time_point() + 1000h;
    for (const std::uint8_t byte : {0x80, 0x01, 0xBB})
        EXPECT_TRUE(decoder.feed(kOut, byte, start).empty());
    EXPECT_TRUE(decoder.expire(start + kFrameGap - 1ms).empty()) << "still within a frame's time";
    const std::vector<DecodedFrame> told = decoder.expire(start + kFrameGap);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(FrameText(told[0]), "→ 80 01 BB  no frame");
    EXPECT_EQ(told[0].time, start);
    EXPECT_TRUE(decoder.finish().empty());
}

TEST_F(TrafficDecoderTest, ALineStartsWithTheLocalTimeOfDayOfTheFirstByte) {
    const DecodedFrame ping{kOut, FrameKind::Ping, {0x68}, TrafficClock::time_point() + 1000h + 250ms};
    const Text line = TrafficLine(ping);
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d\d:\d\d:\d\d\.250 → 68  ping)"))) << line;
}

} // namespace
} // namespace ep
