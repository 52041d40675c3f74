#include "acceptance_fixture.h"

namespace ep::acceptance {
namespace {

TEST_F(OnlineAcceptance, StoreKeepsTheCurrentEffectInTheDevice) {
    ASSERT_EQ(program.ask("key Music_Vol调节 Right 5"), "ok");
    ASSERT_TRUE(deviceFieldBecomes(3, 25));
    ASSERT_EQ(program.ask("click 按钮3"), "ok");
    EXPECT_EQ(answerMessageBox(), "信息：|当前效果已储存到设备");
    EXPECT_EQ(simulator.storedValues(), simulator.values());
    EXPECT_EQ(simulator.storedValues()[2], 25);
}

TEST_F(OnlineAcceptance, RestoreDefaultsReturnsDeviceAndWindowToTheFactorySet) {
    const std::string designTimeSet = windowSet();
    ASSERT_EQ(program.ask("key Music_Vol调节 Right 5"), "ok");
    ASSERT_EQ(program.ask("click FBX"), "ok");
    ASSERT_TRUE(deviceFieldBecomes(17, 0));
    ASSERT_NE(windowSet(), designTimeSet);

    ASSERT_EQ(program.ask("click 按钮1"), "ok");
    EXPECT_TRUE(program.waitForValue("read 编辑框7", designTimeSet, 3000));
    EXPECT_EQ(program.value("read Music_Vol调节"), "20");
    EXPECT_EQ(program.value("colour FBX"), "#FF0000");
    EXPECT_TRUE(deviceFollowsTheWindow()) << "the device restores its own defaults";
}

TEST_F(OnlineAcceptance, ReadDeviceShowsWhatWasTurnedOnTheDevice) {
    // Knobs turned on the device itself, which the panel learns only by reading it.
    simulator.setValue(1, 70);
    simulator.setValue(18, 0);
    // The read button is hidden in the window; the hook presses it as the program's own logic could.
    ASSERT_EQ(program.ask("click 按钮2"), "ok");
    EXPECT_TRUE(program.waitForValue("read Eff_Vol调节", "70", 3000));
    EXPECT_EQ(program.value("colour EX"), "#808080");
    EXPECT_EQ(windowSet(), deviceSet());
}

} // namespace
} // namespace ep::acceptance
