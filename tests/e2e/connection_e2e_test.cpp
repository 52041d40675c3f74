#include "panel_fixture.h"

#include <QElapsedTimer>

namespace ep {
namespace {

class ConnectionEndToEnd : public testing::PanelFixture {};

TEST_F(ConnectionEndToEnd, ComesOnlineShowsTheDevicesSetAndFollowsItsPresence) {
    sim::ServerOptions options;
    options.changedValues = {{1, 61}, {3, 44}, {22, 15}, {76, 3}};
    startSimulator(options);
    QElapsedTimer clock;
    clock.start();
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return online(); }, 4000));
    const qint64 onlineAt = clock.elapsed();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 3000));
    const qint64 shownAt = clock.elapsed();
    std::printf("start to online: %lld ms; online to set shown: %lld ms\n", static_cast<long long>(onlineAt),
                static_cast<long long>(shownAt - onlineAt));
    EXPECT_TRUE(deviceAgreesWithThePanel());
    EXPECT_EQ(ControlNamed("Eff_Vol调节").readInt(prop::slider::Position), 61);
    EXPECT_EQ(ControlNamed("Music_Vol显示").readText(prop::editbox::Content), "44");
    EXPECT_EQ(ControlNamed("编辑框").readText(prop::editbox::Content), "10");

    sim::FaultOptions silent;
    silent.silent = true;
    simulator.setFaults(silent);
    clock.restart();
    ASSERT_TRUE(waitUntil([this] { return !online(); }, 6000));
    const qint64 offlineAfter = clock.elapsed();
    std::printf("silent to offline: %lld ms\n", static_cast<long long>(offlineAfter));
    EXPECT_GE(offlineAfter, 2900);
    EXPECT_LE(offlineAfter, 4000);

    simulator.setFaults({});
    EXPECT_TRUE(waitUntil([this] { return setShown(); }, 5000)) << "online again when the device answers";
}

TEST_F(ConnectionEndToEnd, AHangUpIsSurvivedAndTheDeviceIsFoundAgain) {
    startSimulator();
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    simulator.hangUp();
    ASSERT_TRUE(waitUntil([this] { return !online(); }, 6000));
    simulator.stop();
    startSimulator();
    EXPECT_TRUE(waitUntil([this] { return setShown(); }, 5000));
}

} // namespace
} // namespace ep
