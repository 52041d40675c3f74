#include "link/serial_port_kind.h"
#include "test_host.h"
#include "ui/window.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

using namespace serialprop;

Bytes Words(std::initializer_list<std::int32_t> words) {
    Bytes bytes;
    for (const std::int32_t word : words)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(word) >> (8 * i)));
    return bytes;
}

class SerialPortKind : public ::testing::Test {
  protected:
    SerialPortKind() : window("MainWindow") {
        RegisterSerialPortKind();
        port = &window.addControl(ControlKind::SerialPort, "端口", 1);
    }
    testing::TestHost host;
    Window window;
    Control* port = nullptr;
};

TEST_F(SerialPortKind, DefaultsOfTheKind) {
    EXPECT_EQ(port->readInt(PortNumber), 1);
    EXPECT_EQ(port->readInt(BaudRate), 19200);
    EXPECT_EQ(port->readInt(DataBits), 8);
    EXPECT_EQ(port->readInt(StopBits), 1);
    EXPECT_EQ(port->readInt(Timeout), 1000);
    EXPECT_FALSE(port->readBool(AutoOpen));
}

TEST_F(SerialPortKind, ClampingOnWrite) {
    const struct {
        int number;
        std::int32_t written;
        std::int32_t stored;
    } cases[] = {{PortNumber, 0, 1},   {PortNumber, -4, 1}, {PortNumber, 12, 12}, {BaudRate, -1, 0},
                 {StopBits, 0, 1},     {StopBits, 9, 3},    {Timeout, -5, 0},     {Parity, 7, 4},
                 {FlowControl, -1, 0}, {FlowControl, 6, 5}, {RtsControl, 3, 2},   {DtrControl, -2, 0},
                 {DataBits, 99, 99}};
    for (const auto& c : cases) {
        port->write(c.number, c.written);
        EXPECT_EQ(port->readInt(c.number), c.stored) << c.number << " " << c.written;
    }
}

TEST_F(SerialPortKind, TheStoredBlockOfThePort) {
    const Bytes block = Words({4, 1, 9600, 8, 1, 0, 1000, 0, 0, 0, 0, 0, 0});
    ASSERT_EQ(block.size(), 52u);
    ASSERT_TRUE(LoadSerialPortBlock(*port, block));
    EXPECT_EQ(port->readInt(BaudRate), 9600);
    const SerialLineSettings settings = LineSettingsOf(*port);
    EXPECT_EQ(settings.baudRate, 9600);
    EXPECT_EQ(settings.dataBits, 8);
    EXPECT_EQ(settings.parity, SerialLineSettings::Parity::None);
    EXPECT_EQ(settings.stopBits, SerialLineSettings::StopBits::One);
    EXPECT_EQ(settings.flow, SerialLineSettings::Flow::None);
    EXPECT_TRUE(settings.rtsOn);
    EXPECT_FALSE(settings.dtrOn.has_value());
    EXPECT_EQ(settings.timeoutMs, 1000);
}

TEST_F(SerialPortKind, OlderVersionsKeepTheDefaultsOfWhatTheyLack) {
    port->write(Parity, 2);
    Bytes block = Words({1, 5, 4800, 7, 3, 1, 200, 0, 2});
    block.push_back('A');
    block.push_back('B');
    ASSERT_TRUE(LoadSerialPortBlock(*port, block));
    EXPECT_EQ(port->readInt(PortNumber), 5);
    EXPECT_EQ(port->readInt(StopBits), 3);
    EXPECT_EQ(port->readText(EventChar), "AB");
    EXPECT_EQ(port->readInt(Parity), 0) << "loading resets to the kind's defaults first";
    EXPECT_EQ(LineSettingsOf(*port).stopBits, SerialLineSettings::StopBits::Two);
}

TEST_F(SerialPortKind, AVersionAboveFourOrAShortBlockIsRejected) {
    EXPECT_FALSE(LoadSerialPortBlock(*port, Words({5, 1, 9600, 8, 1, 0, 1000, 0, 0, 0, 0, 0, 0})));
    EXPECT_FALSE(LoadSerialPortBlock(*port, Words({4, 1, 9600})));
}

TEST_F(SerialPortKind, RtsAndDtrModes) {
    port->write(RtsControl, 1);
    port->write(DtrControl, 2);
    EXPECT_FALSE(LineSettingsOf(*port).rtsOn);
    EXPECT_EQ(LineSettingsOf(*port).dtrOn, true);
    port->write(DtrControl, 1);
    EXPECT_EQ(LineSettingsOf(*port).dtrOn, false);
    port->write(FlowControl, 5);
    EXPECT_EQ(LineSettingsOf(*port).flow, SerialLineSettings::Flow::Software);
}

} // namespace
} // namespace ep
