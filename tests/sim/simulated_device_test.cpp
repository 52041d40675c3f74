#include "sim/simulated_device.h"

#include <gtest/gtest.h>

#include <set>

namespace ep::sim {
namespace {

const Bytes Hello{0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8};
const Bytes DumpRequest{0x80, 0xBC, 0x88, 0x01, 0x80, 0x00};
const Bytes Ping{0x68};
const Bytes Store{0x80, 0x00, 0x13, 0x02, 0x00, 0x00};
const Bytes Restore{0x80, 0x00, 0x14, 0x02, 0x00, 0x00};

Bytes DesignDump() { return {DesignValues().begin(), DesignValues().end()}; }

Bytes OnlyAnswer(SimulatedDevice& device, const Bytes& request) {
    const Reception reception = device.receive(request);
    EXPECT_EQ(reception.answers.size(), 1u);
    return reception.answers.empty() ? Bytes{} : reception.answers.front();
}

TEST(SimulatedDevice, AnswersHelloAndPing) {
    SimulatedDevice device;
    EXPECT_EQ(OnlyAnswer(device, Hello), Bytes{0xA8});
    EXPECT_EQ(OnlyAnswer(device, Ping), Bytes{0x68});
}

TEST(SimulatedDevice, DumpsTheValuesInFieldOrder) {
    SimulatedDevice device;
    EXPECT_EQ(OnlyAnswer(device, DumpRequest), DesignDump());
}

TEST(SimulatedDevice, DumpWithMarker) {
    DeviceOptions options;
    options.dumpStart = DumpStart::WithMarker;
    SimulatedDevice device(options);
    Bytes expected{0x63};
    const Bytes values = DesignDump();
    expected.insert(expected.end(), values.begin(), values.end());
    EXPECT_EQ(OnlyAnswer(device, DumpRequest), expected);
}

TEST(SimulatedDevice, ParameterFramesChangeTheirFieldAndNothingElse) {
    SimulatedDevice device;
    // MIC3 H_Cure, MUSIC6 Out Limit, the first field, and the key as a nine-byte frame.
    const Reception reception =
        device.receive(Bytes{0x80, 0x02, 0xBB, 0x02, 0x1D, 0x03, 0x80, 0x05, 0xBD, 0x02, 0x42, 0x06, 0x80, 0x00,
                             0xBD, 0x02, 0x01, 0x09, 0x80, 0x00, 0xBB, 0x02, 0x13, 0x07, 0x00, 0x00, 0x00});
    EXPECT_TRUE(reception.answers.empty());
    Bytes expected = DesignDump();
    expected[47 - 1] = 3;
    expected[255 - 1] = 6;
    expected[1 - 1] = 9;
    expected[19 - 1] = 7;
    EXPECT_EQ(OnlyAnswer(device, DumpRequest), expected);
}

TEST(SimulatedDevice, ValueOfACutShortFrameStillCounts) {
    SimulatedDevice device;
    const Reception reception = device.receive(Bytes{0x80, 0x00, 0xBB, 0x02, 0x14, 0x01, 0x68});
    EXPECT_EQ(reception.answers, std::vector<Bytes>{Ping});
    EXPECT_EQ(device.model().value(20), 1);
    EXPECT_EQ(device.counters().cutShortValues, 1u);
}

TEST(SimulatedDevice, StoreAndRestoreDefaults) {
    SimulatedDevice device;
    device.receive(Bytes{0x80, 0x00, 0xBB, 0x02, 0x02, 0x41});
    device.receive(Store);
    device.receive(Bytes{0x80, 0x00, 0xBB, 0x02, 0x02, 0x11});
    EXPECT_EQ(device.model().storedValues()[1], 0x41);
    EXPECT_EQ(device.model().value(2), 0x11);
    const Reception reception = device.receive(Restore);
    EXPECT_TRUE(reception.answers.empty());
    EXPECT_EQ(OnlyAnswer(device, DumpRequest), DesignDump());
    EXPECT_EQ(device.model().storedValues()[1], 0x41);
}

TEST(SimulatedDevice, SilentDeviceAppliesFramesButAnswersNothing) {
    SimulatedDevice device({.faults = {.silent = true}});
    const Reception reception = device.receive(Bytes{0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8, 0x68, 0x80, 0x00, 0xBB, 0x02,
                                                     0x03, 0x2A, 0x80, 0xBC, 0x88, 0x01, 0x80, 0x00});
    EXPECT_EQ(reception.frames.size(), 4u);
    EXPECT_TRUE(reception.answers.empty());
    EXPECT_EQ(device.model().value(3), 0x2A);
    EXPECT_TRUE(device.keyResetRequest().empty());
    EXPECT_EQ(device.counters().answers, 0u);
}

TEST(SimulatedDevice, NoiseGoesInFrontOfEachAnswer) {
    SimulatedDevice device({.faults = {.noise = true}, .noiseSeed = 7});
    std::set<std::size_t> noiseLengths;
    for (int i = 0; i < 40; ++i) {
        const Bytes answer = OnlyAnswer(device, i % 2 ? Hello : Ping);
        ASSERT_GE(answer.size(), 2u);
        ASSERT_LE(answer.size(), 4u);
        EXPECT_EQ(answer.back(), i % 2 ? 0xA8 : 0x68);
        for (std::size_t j = 0; j + 1 < answer.size(); ++j) {
            EXPECT_GE(answer[j], 0x01);
            EXPECT_LE(answer[j], 0x0F);
        }
        noiseLengths.insert(answer.size() - 1);
    }
    EXPECT_EQ(noiseLengths, (std::set<std::size_t>{1, 2, 3}));

    const Bytes dump = OnlyAnswer(device, DumpRequest);
    ASSERT_GE(dump.size(), 256u);
    EXPECT_TRUE(std::equal(DesignValues().begin(), DesignValues().end(), dump.end() - 255));
}

TEST(SimulatedDevice, NoiseRepeatsWithTheSameSeed) {
    SimulatedDevice first({.faults = {.noise = true}, .noiseSeed = 3});
    SimulatedDevice second({.faults = {.noise = true}, .noiseSeed = 3});
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(OnlyAnswer(first, Ping), OnlyAnswer(second, Ping));
}

TEST(SimulatedDevice, DropsTheChosenDumpByte) {
    for (int position : {1, 19, 255}) {
        SimulatedDevice device({.dumpStart = DumpStart::WithMarker, .faults = {.dropDumpByte = position}});
        device.model().setValue(position, 0xEE);
        Bytes expected{0x63};
        for (int field = 1; field <= FieldCount; ++field)
            if (field != position)
                expected.push_back(DesignValues()[std::size_t(field - 1)]);
        EXPECT_EQ(OnlyAnswer(device, DumpRequest), expected) << position;
    }
}

TEST(SimulatedDevice, KeyResetRequestLeavesTheKeyToThePanel) {
    SimulatedDevice device;
    device.model().setValue(19, 8);
    EXPECT_EQ(device.keyResetRequest(), Bytes{0x88});
    EXPECT_EQ(device.model().value(19), 8);
    device.receive(Bytes{0x80, 0x00, 0xBB, 0x02, 0x13, 0x05, 0x00, 0x00, 0x00});
    EXPECT_EQ(device.model().value(19), 5);
}

TEST(SimulatedDevice, LogsUnderstoodFramesAndCountsTheRest) {
    SimulatedDevice device;
    const Reception reception = device.receive(
        Bytes{0x22, 0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8, 0x80, 0x09, 0x02, 0x68, 0x80, 0x00, 0x13, 0x02, 0x00, 0x00});
    EXPECT_EQ(reception.frames.size(), 4u);
    const std::vector<ParsedFrame> log = device.frameLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, FrameKind::Hello);
    EXPECT_EQ(log[1].kind, FrameKind::StoreEffect);
    const DeviceCounters counters = device.counters();
    EXPECT_EQ(counters.bytesReceived, 17u);
    EXPECT_EQ(counters.framesUnderstood, 2u);
    EXPECT_EQ(counters.brokenFrames, 2u);
    EXPECT_EQ(counters.skippedBytes, 5u);
    EXPECT_EQ(counters.answers, 1u);
}

TEST(SimulatedDevice, FrameLogKeepsTheLatestFrames) {
    SimulatedDevice device;
    device.receive(Hello);
    device.receive(Bytes(SimulatedDevice::FrameLogLimit, 0x68));
    const std::vector<ParsedFrame> log = device.frameLog();
    ASSERT_EQ(log.size(), SimulatedDevice::FrameLogLimit);
    EXPECT_EQ(log.front().kind, FrameKind::Ping);
    EXPECT_EQ(device.counters().framesUnderstood, SimulatedDevice::FrameLogLimit + 1);
}

} // namespace
} // namespace ep::sim
