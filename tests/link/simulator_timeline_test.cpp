#include "fake_serial.h"
#include "link/com_ports.h"
#include "link/connection.h"
#include "link/device_commands.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "link/link_handlers.h"
#include "link/serial_port_kind.h"
#include "runtime/resources.h"
#include "sim/simulated_device.h"
#include "ui/window_definition.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

/// The link's handlers on virtual time against the in-process simulated processor: its answers reach the
/// panel one line time (about 1 ms a byte at 9600 bit/s) after each write.
class SimulatorTimeline : public ::testing::Test {
protected:
    SimulatorTimeline() : bus(host) {
        RegisterSerialPortKind();
        for (int number = 1; number <= 10; ++number)
            MapComPort(number, "/dev/sim" + std::to_string(number));
        auto& port = bus.add("/dev/sim4");
        port.onWrite = [this](const Bytes& bytes) {
            const sim::Reception reception = device.receive(bytes);
            long long at = host.now();
            for (const auto& answer : reception.answers) {
                at += static_cast<long long>(answer.size());
                host.callAt(at, [this, answer] { bus.inject("/dev/sim4", answer); });
            }
        };
        window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
        HandlerRegistry handlers;
        RegisterLinkHandlers(handlers);
        window->resolveBindings(handlers);
        SetLoadedWindow(window.get());
        SetApplyEffectSetRoutine([this] { shownAt.push_back(host.now()); });
        DumpActive = DumpCount = KeyChanged = FoundPort = 0;
    }
    ~SimulatorTimeline() override {
        window.reset();
        SetApplyEffectSetRoutine({});
    }

    Text deviceText() const { return sim::ThreeDigitText(device.model().values()); }

    testing::TestHost host;
    testing::FakeSerialBus bus;
    sim::SimulatedDevice device;
    std::unique_ptr<Window> window;
    std::vector<long long> shownAt;
};

TEST_F(SimulatorTimeline, StartToOnlineToTheDevicesSetShown) {
    device.model().setValue(1, 61);
    device.model().setValue(200, 7);
    PortScan();
    EXPECT_EQ(FoundPort, 4);
    ControlNamed("时钟3").write(prop::timer::Period, 1000);
    host.advance(999);
    EXPECT_FALSE(IsOnline());
    host.advance(600);
    EXPECT_TRUE(IsOnline());
    host.advance(400);
    ASSERT_EQ(shownAt.size(), 1u);
    EXPECT_EQ(EffectSetText(), deviceText());
    // Tick at 1000, 500 ms wait, hello answered after one byte, dump of 255 bytes after the request.
    EXPECT_EQ(shownAt.front(), 1000 + 500 + 1 + 255);
    host.advance(20000);
    EXPECT_TRUE(IsOnline()) << "the pings are answered";
}

TEST_F(SimulatorTimeline, SendAllPutsEveryValueIntoTheDevice) {
    PortScan();
    ControlNamed("时钟3").write(prop::timer::Period, 1000);
    host.advance(2000);
    ASSERT_TRUE(IsOnline());
    Text set = EffectSetText();
    set.replace(0, 3, "011");
    set.replace(762, 3, "002");
    SetEffectSetText(set);
    SendAll();
    EXPECT_EQ(device.model().value(1), 11);
    EXPECT_EQ(device.model().value(255), 2);
    EXPECT_EQ(deviceText(), set);
}

} // namespace
} // namespace ep
