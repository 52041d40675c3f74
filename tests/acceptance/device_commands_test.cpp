#include "acceptance_fixture.h"

#include <QThread>

#include <atomic>
#include <memory>

namespace ep::acceptance {
namespace {

TEST_F(OnlineAcceptance, StoreKeepsTheCurrentEffectInTheDevice) {
    ASSERT_EQ(program.ask("key Music_Vol调节 Right 5"), "ok");
    ASSERT_TRUE(deviceFieldBecomes(3, 25));
    ASSERT_EQ(program.ask("click 按钮3"), "ok");
    EXPECT_EQ(answerMessageBox(), "信息：|当前效果已储存到设备");
    // The store frame has left the panel; the device may not have handled it yet.
    EXPECT_TRUE(Eventually([this] { return simulator.storedValues() == simulator.values(); }));
    EXPECT_EQ(simulator.storedValues()[2], 25);
}

TEST_F(OnlineAcceptance, RestoreDefaultsReturnsDeviceAndWindowToTheFactorySet) {
    const std::string designTimeSet = windowSet();
    ASSERT_EQ(program.ask("key Music_Vol调节 Right 5"), "ok");
    ASSERT_EQ(program.ask("click FBX"), "ok");
    ASSERT_TRUE(deviceFieldBecomes(17, 0));
    ASSERT_NE(windowSet(), designTimeSet);

    ASSERT_EQ(program.ask("click 按钮1"), "ok");
    EXPECT_EQ(answerMessageBox(), "恢复出厂设置|恢复出厂设置会用出厂设置替换设备中的全部当前设置，且无法撤销。\n"
                                  "确定要恢复吗？");
    EXPECT_TRUE(program.waitForValue("read 编辑框7", designTimeSet, 3000));
    EXPECT_EQ(program.value("read Music_Vol调节"), "20");
    EXPECT_EQ(program.value("colour FBX"), "#FF0000");
    EXPECT_TRUE(deviceFollowsTheWindow()) << "the device restores its own defaults";
}

/// Counts the panel's pings: an echo that arrives just after the read is pressed is taken as the dump's
/// first field, so the read is pressed just after an echo, half a second before the next ping.
class ReadDeviceAcceptance : public OnlineAcceptance {
  protected:
    sim::ServerOptions device() const override {
        sim::ServerOptions options;
        options.frameObserver = [pings = m_pings](const sim::ParsedFrame& frame) {
            if (frame.kind == sim::FrameKind::Ping)
                ++*pings;
        };
        return options;
    }
    void waitUntilAPingWasAnswered() {
        const int seen = *m_pings;
        for (int attempt = 0; attempt < 100 && *m_pings == seen; ++attempt)
            QThread::msleep(10);
        ASSERT_GT(*m_pings, seen) << "no ping within a second";
        QThread::msleep(kEchoDeliveryMs);
    }

  private:
    static constexpr int kEchoDeliveryMs = 30;
    std::shared_ptr<std::atomic<int>> m_pings = std::make_shared<std::atomic<int>>(0);
};

TEST_F(ReadDeviceAcceptance, ReadDeviceShowsWhatWasTurnedOnTheDevice) {
    // Knobs turned on the device itself, which the panel learns only by reading it.
    simulator.setValue(1, 70);
    simulator.setValue(18, 0);
    waitUntilAPingWasAnswered();
    // The read button is hidden in the window; the hook presses it as the program's own logic could.
    ASSERT_EQ(program.ask("click 按钮2"), "ok");
    EXPECT_TRUE(program.waitForValue("read Eff_Vol调节", "70", 3000));
    EXPECT_EQ(program.value("colour EX"), "#808080");
    EXPECT_TRUE(deviceFollowsTheWindow());
}

} // namespace
} // namespace ep::acceptance
