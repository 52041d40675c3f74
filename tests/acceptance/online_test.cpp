#include "acceptance_fixture.h"
#include "sim/design_values.h"

namespace ep::acceptance {
namespace {

TEST_F(Acceptance, ComesOnlineAndShowsTheDevicesSet) {
    sim::ServerOptions options;
    // Effect volume 61, music volume 44, KTV block EFF2, MIC block MIC3, AUX, FBX off, key #3.
    options.changedValues = {{1, 61}, {3, 44}, {13, 5}, {14, 2}, {16, 2}, {17, 0}, {19, 8}};
    plugDevice(options);
    startProgram();
    EXPECT_EQ(program.value("read 标签127"), "未联机");
    EXPECT_EQ(program.value("colour 标签127"), "#FF0000");

    expectOnlineWithTheDevicesSet();
    EXPECT_EQ(program.value("read 编辑框"), "10") << "the port found";
    EXPECT_EQ(program.value("read Eff_Vol调节"), "61");
    EXPECT_EQ(program.value("read Eff_Vol显示"), "61");
    EXPECT_EQ(program.value("read Music_Vol调节"), "44");
    EXPECT_EQ(program.value("read Music_Vol显示"), "44");
    EXPECT_EQ(program.value("read KTV_MODE"), "5");
    EXPECT_EQ(program.value("read MIC_MODE"), "2");
    EXPECT_EQ(program.value("visible 滑块条23"), "1") << "the Rev H Cut sliders belong to the EFF modes";
    EXPECT_EQ(program.value("colour AUX"), "#FF0000");
    EXPECT_EQ(program.value("colour AUTO"), "#808080");
    EXPECT_EQ(program.value("colour FBX"), "#808080");
    EXPECT_EQ(program.value("colour key_井3"), "#FF0000");
    EXPECT_EQ(program.value("colour key_井0"), "#808080");
}

TEST_F(Acceptance, TheDemoModeIsOnlineWithTheSimulatorsSetWithinThreeSeconds) {
    // --simulate puts the program's own simulated processor on COM10, in place of the link above.
    startProgram({"--simulate"});
    ASSERT_TRUE(program.waitForValue("read 标签127", "已联机", 3000));
    const std::string factorySet = sim::ThreeDigitText(sim::DesignValues());
    EXPECT_TRUE(
        program.waitForValue("read 编辑框7", factorySet, 3000 - static_cast<int>(1000 * program.secondsSinceReady())));
    EXPECT_EQ(program.value("read 编辑框"), "10");
}

} // namespace
} // namespace ep::acceptance
