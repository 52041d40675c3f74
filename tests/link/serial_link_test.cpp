#include "fake_serial.h"
#include "link/com_ports.h"
#include "link/serial_link.h"
#include "link/serial_port_kind.h"
#include "ui/window.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

class SerialLinkTest : public ::testing::Test {
  protected:
    SerialLinkTest() : bus(host), window("MainWindow") {
        RegisterSerialPortKind();
        port = &window.addControl(ControlKind::SerialPort, "端口", 1);
        window.bind(1, event::DataArrived, "data");
        window.bind(1, event::LineEvent, "line");
        HandlerRegistry handlers;
        handlers.add("data", [this](const EventContext& context) {
            received.push_back(context.arguments.at(0));
            if (onData)
                onData(context.arguments.at(0));
        });
        handlers.add("line", [this](const EventContext& context) { lineEvents.push_back(context.arguments.at(0)); });
        window.resolveBindings(handlers);
        MapComPort(3, "/dev/fake3");
        bus.add("/dev/fake3");
        port->write(serialprop::PortNumber, 3);
    }

    SerialLink& link() { return LinkOf(*port); }

    testing::TestHost host;
    testing::FakeSerialBus bus;
    Window window;
    Control* port = nullptr;
    std::vector<int> received;
    std::function<void(int)> onData;
    std::vector<int> lineEvents;
};

TEST_F(SerialLinkTest, BytesArrivingTogetherAreDeliveredOneEventEachInOrderZeroIncluded) {
    ASSERT_EQ(link().Open(), 1);
    bus.inject("/dev/fake3", {0x68, 0x00, 0xA8});
    EXPECT_TRUE(received.empty()) << "delivery happens on the window thread, later";
    host.runPending();
    EXPECT_EQ(received, (std::vector<int>{0x68, 0x00, 0xA8}));
}

TEST_F(SerialLinkTest, OneDeliveryIsPostedAtATimeAndEachHandsOverABoundedBatch) {
    ASSERT_EQ(link().Open(), 1);
    Bytes bytes(600);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    bus.inject("/dev/fake3", bytes);
    EXPECT_EQ(host.pendingCount(), 1u);
    // An event that came while the bytes were arriving runs between two batches.
    std::size_t deliveredBeforeTheOtherEvent = 0;
    host.postToUi([&] { deliveredBeforeTheOtherEvent = received.size(); });
    host.runPending();
    EXPECT_EQ(deliveredBeforeTheOtherEvent, kDeliveryBatch);
    ASSERT_EQ(received.size(), bytes.size());
    EXPECT_TRUE(std::equal(received.begin(), received.end(), bytes.begin()));
    EXPECT_EQ(host.pendingCount(), 0u);
}

TEST_F(SerialLinkTest, BytesFindingTheQueueFullAreDroppedAndReportedOnceAStretchAsALineError) {
    ASSERT_EQ(link().Open(), 1);
    bus.inject("/dev/fake3", Bytes(kNotifyQueueBound + 1000, 0x11));
    bus.inject("/dev/fake3", {0x22});
    host.runPending();
    EXPECT_EQ(received.size(), kNotifyQueueBound);
    EXPECT_EQ(lineEvents, std::vector<int>{static_cast<int>(LineEventKind::LineError)});
    // Once there is room again, bytes are taken, and a new stretch is reported anew.
    bus.inject("/dev/fake3", Bytes(kNotifyQueueBound + 1, 0x33));
    host.runPending();
    EXPECT_EQ(received.back(), 0x33);
    EXPECT_EQ(lineEvents.size(), 2u);
}

TEST_F(SerialLinkTest, ItemsPutTheirBytesOnTheLine) {
    ASSERT_EQ(link().Open(), 1);
    const struct {
        Value item;
        Bytes bytes;
    } cases[] = {
        {Value(std::uint8_t{0x80}), {0x80}},
        {Value(std::int32_t{0x01020304}), {0x04, 0x03, 0x02, 0x01}},
        {Value(std::int32_t{5}), {0x05, 0x00, 0x00, 0x00}},
        {Value(std::int16_t{-2}), {0xFE, 0xFF}},
        {Value("abc"), {'a', 'b', 'c'}},
        {Value(1.0), {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {Value(true), {1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        bus.port("/dev/fake3").written.clear();
        EXPECT_EQ(link().Send(c.item), 1);
        EXPECT_EQ(bus.port("/dev/fake3").written, c.bytes);
    }
}

TEST_F(SerialLinkTest, EmptyAndUnsendableItems) {
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(link().Send(Value("")), 1);
    EXPECT_EQ(link().Send(Value(Bytes{})), 1);
    EXPECT_EQ(link().Send(Value(ProcPointer{7})), 0);
    EXPECT_TRUE(bus.port("/dev/fake3").written.empty());
}

TEST_F(SerialLinkTest, AfterAWriteTimedOutItemsGetAShortTryUntilTheDeviceTakesOneAgain) {
    ASSERT_EQ(link().Open(), 1);
    bus.port("/dev/fake3").stalled = true;
    const auto sendTakes = [this](int expected) {
        const long long start = host.now();
        EXPECT_EQ(link().Send(Value(std::uint8_t{0x68})), expected);
        return host.now() - start;
    };
    EXPECT_EQ(sendTakes(0), 2000) << "1000 ms x 1 byte + 1000 ms";
    EXPECT_EQ(sendTakes(0), kNotReadingTryMs);
    // Neither what the device sends (a flood) nor reopening it makes it read.
    bus.inject("/dev/fake3", {0x68});
    EXPECT_EQ(sendTakes(0), kNotReadingTryMs);
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(sendTakes(0), kNotReadingTryMs);
    bus.port("/dev/fake3").stalled = false;
    EXPECT_EQ(sendTakes(1), 0);
    bus.port("/dev/fake3").stalled = true;
    EXPECT_EQ(sendTakes(0), 2000) << "a device that read again has the whole time-out again";
}

TEST_F(SerialLinkTest, WhatWasReceivedBeforeADiscardIsNeverDelivered) {
    onData = [this](int byte) {
        if (byte == 0xA8)
            link().DiscardReceived();
    };
    ASSERT_EQ(link().Open(), 1);
    Bytes bytes(600, 0x11);
    bytes[1] = 0xA8;
    bus.inject("/dev/fake3", bytes);
    host.runPending();
    EXPECT_EQ(received, (std::vector<int>{0x11, 0xA8})) << "neither the rest of the batch nor the queue";
    bus.inject("/dev/fake3", {0x22});
    host.runPending();
    EXPECT_EQ(received.back(), 0x22) << "what comes after it is";
}

TEST_F(SerialLinkTest, SendOnAClosedPortReturnsZeroAtOnce) {
    EXPECT_EQ(link().Send(Value(std::uint8_t{1})), 0);
    EXPECT_EQ(link().Send(Value("")), 0);
    EXPECT_TRUE(bus.port("/dev/fake3").written.empty());
}

TEST_F(SerialLinkTest, OpenOnAnOpenPortReopensIt) {
    ASSERT_EQ(link().Open(), 1);
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(bus.port("/dev/fake3").opens, 2);
    EXPECT_TRUE(bus.port("/dev/fake3").open);
}

TEST_F(SerialLinkTest, CloseDiscardsWhatWasNotDeliveredYet) {
    ASSERT_EQ(link().Open(), 1);
    bus.inject("/dev/fake3", {1, 2, 3});
    link().Close();
    link().Close();
    host.runPending();
    EXPECT_TRUE(received.empty());
}

TEST_F(SerialLinkTest, OpenFailsSilentlyForAMissingPortOrANumberBelowOne) {
    port->write(serialprop::PortNumber, 4);
    EXPECT_EQ(link().Open(), 0);
    EXPECT_FALSE(link().isOpen());
    port->write(serialprop::PortNumber, 0);
    EXPECT_EQ(port->readInt(serialprop::PortNumber), 1) << "the property never holds 0";
}

TEST_F(SerialLinkTest, SettingsTakeEffectOnlyAtTheNextOpen) {
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(bus.port("/dev/fake3").settings.baudRate, 19200);
    port->write(serialprop::BaudRate, 9600);
    EXPECT_EQ(bus.port("/dev/fake3").settings.baudRate, 19200);
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(bus.port("/dev/fake3").settings.baudRate, 9600);
}

TEST_F(SerialLinkTest, AfterAHangUpSendsFailAndTheNextOpenWorksWhenTheDeviceIsBack) {
    ASSERT_EQ(link().Open(), 1);
    bus.hangUp("/dev/fake3");
    EXPECT_EQ(link().Send(Value(std::uint8_t{0x68})), 0);
    bus.port("/dev/fake3").present = true;
    EXPECT_EQ(link().Open(), 1);
    EXPECT_EQ(link().Send(Value(std::uint8_t{0x68})), 1);
}

TEST_F(SerialLinkTest, DeliveryStopsWhenTheWindowIsGone) {
    ASSERT_EQ(link().Open(), 1);
    bus.inject("/dev/fake3", {1, 2});
    window.removeControl(*port);
    host.runPending();
    EXPECT_TRUE(received.empty());
}

TEST(ComPorts, DefaultTableAndMappings) {
#if defined(_WIN32)
    EXPECT_EQ(DefaultComDevicePath(1), "\\\\.\\COM1");
    EXPECT_EQ(DefaultComDevicePath(10), "\\\\.\\COM10");
#else
    EXPECT_EQ(DefaultComDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(DefaultComDevicePath(4), "/dev/ttyS3");
    EXPECT_EQ(DefaultComDevicePath(5), "/dev/ttyUSB0");
    EXPECT_EQ(DefaultComDevicePath(8), "/dev/ttyUSB3");
    EXPECT_EQ(DefaultComDevicePath(9), "/dev/ttyACM0");
    EXPECT_EQ(DefaultComDevicePath(10), "/dev/ttyACM1");
#endif
    EXPECT_EQ(DefaultComDevicePath(0), "");
    EXPECT_EQ(DefaultComDevicePath(11), "");
    EXPECT_EQ(ComDevicePath(11), "");
    MapComPort(7, "/dev/pts/9");
    EXPECT_EQ(ComDevicePath(7), "/dev/pts/9");
}

} // namespace
} // namespace ep
