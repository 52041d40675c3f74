#include "handlers/panel_handlers.h"
#include "link/com_ports.h"
#include "link/connection.h"
#include "link/link_globals.h"
#include "link/send_all.h"
#include "model/controls.h"
#include "sim/simulated_device.h"
#include "window_fixture.h"

namespace ep {
namespace {

/// The panel's handlers on virtual time against the in-process simulated processor: its answers reach the
/// panel one line time (about 1 ms a byte at 9600 bit/s) after each write.
class SimulatorTimeline : public testing::WindowFixture {
  protected:
    /// The moment of each set shown: showing a set starts by highlighting the 均衡 tab.
    struct ShownAt : ControlView {
        explicit ShownAt(testing::TestHost& host) : host(host) {}
        void propertyChanged(int number) override {
            if (number == prop::translabel::TextColour)
                times.push_back(host.now());
        }
        testing::TestHost& host;
        std::vector<long long> times;
    };

    SimulatorTimeline() : WindowFixture(PanelHandlers()), shown(host) {
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
        ControlNamed(controls::EqualiserTab).setView(&shown);
        DumpActive = DumpCount = KeyChanged = FoundPort = 0;
    }
    ~SimulatorTimeline() override { ControlNamed(controls::EqualiserTab).setView(nullptr); }

    Text deviceText() const { return sim::ThreeDigitText(device.model().values()); }

    sim::SimulatedDevice device;
    ShownAt shown;
    std::vector<long long>& shownAt = shown.times;
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
