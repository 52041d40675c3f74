#include "panel_fixture.h"
#include "program_run.h"
#include "ser2net_server.h"

namespace ep {
namespace {

/// The panel reaching the simulated processor through Debian's ser2net, as it reaches a room's processor
/// behind a network serial server.
class NetworkEndToEnd : public testing::PanelFixture {
  protected:
    void TearDown() override {
        ser2net.stop();
        PanelFixture::TearDown();
    }
    testing::Ser2Net ser2net;
};

TEST_F(NetworkEndToEnd, ThePanelComesOnlineThroughSer2netAndFollowsItsPresence) {
    sim::ServerOptions options;
    options.changedValues = {{1, 61}, {34, 13}};
    startSimulator(options);
    const int port = testing::FreeTcpPort();
    ASSERT_TRUE(ser2net.start(simulator.path(), port)) << "ser2net did not come up";
    testing::MapTestPorts(ser2net.address());
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    EXPECT_TRUE(deviceAgreesWithThePanel());
    EXPECT_EQ(ControlNamed("Eff_Vol调节").readInt(prop::slider::Position), 61);

    ser2net.stop();
    EXPECT_TRUE(waitUntil([this] { return !online(); }, 5000)) << "the closed connection went quiet";
    ASSERT_TRUE(ser2net.start(simulator.path(), port));
    EXPECT_TRUE(waitUntil([this] { return setShown(); }, 5000)) << "online again when it returns";
    EXPECT_TRUE(deviceAgreesWithThePanel());
}

} // namespace
} // namespace ep
