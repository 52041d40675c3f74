#include "acceptance_fixture.h"

namespace ep::acceptance {
namespace {

TEST_F(OnlineAcceptance, APulledDeviceGoesOfflineAndComesBackOnlineWhenPluggedIn) {

    simulator.hangUp();
    EXPECT_TRUE(program.waitForValue("read 标签127", "未联机", 6000));
    EXPECT_EQ(program.value("colour 标签127"), "#FF0000");
    simulator.stop();

    // Plugged back in, with a knob turned meanwhile: the panel finds it and reads it again.
    sim::ServerOptions options;
    options.changedValues = {{2, 55}};
    plugDevice(options);
    expectOnlineWithTheDevicesSet();
    EXPECT_EQ(program.value("read Mic_Vol显示"), "55");
}

} // namespace
} // namespace ep::acceptance
