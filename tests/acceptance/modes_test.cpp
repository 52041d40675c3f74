#include "acceptance_fixture.h"

#include <array>

namespace ep::acceptance {
namespace {

constexpr int kMicBlockFirstField = 22;
constexpr int kKtvTypeAFirstField = 76;
constexpr int kKtvTypeBFirstField = 108;
constexpr int kMusicBlockFirstField = 148;

/// Values that tell the blocks apart, each in a field whose display shows the value itself.
sim::ServerOptions DeviceWithDistinctBlocks() {
    sim::ServerOptions options;
    for (int block = 0; block < 6; ++block) {
        options.changedValues.emplace_back(kMicBlockFirstField + 9 * block + 8, 3 + block);     // MIC Lowcut
        options.changedValues.emplace_back(kMusicBlockFirstField + 18 * block + 9, 50 + block); // C_Music_Vol
        options.changedValues.emplace_back(kMusicBlockFirstField + 18 * block + 17, block);     // Out Limit
    }
    for (int block = 0; block < 4; ++block) {
        options.changedValues.emplace_back(kKtvTypeAFirstField + 8 * block, 2 + block);  // EchoA Rep
        options.changedValues.emplace_back(kKtvTypeBFirstField + 10 * block, 8 + block); // Echo Rep
    }
    return options;
}

class ModesAcceptance : public OnlineAcceptance {
  protected:
    sim::ServerOptions device() const override { return DeviceWithDistinctBlocks(); }
};

TEST_F(ModesAcceptance, TheTopRowSelectorsSetTheirModes) {
    const struct {
        const char* selector;
        int field;
        int items;
    } rows[] = {{"KTV_MODE1", 10, 9}, {"MIC_MODE1", 11, 6}, {"MUSIC_MODE1", 12, 6}};
    for (const auto& row : rows) {
        for (int index = row.items - 1; index >= 0; --index) {
            ASSERT_EQ(program.ask("choose " + std::string(row.selector) + " " + std::to_string(index)), "ok");
            EXPECT_TRUE(deviceFieldBecomes(row.field, index)) << row.selector << " " << index;
            EXPECT_EQ(program.value("read " + std::string(row.selector)), std::to_string(index));
        }
    }
    EXPECT_TRUE(deviceFollowsTheWindow());
}

TEST_F(ModesAcceptance, TheBlockSelectorsShowTheChosenBlock) {
    for (int mode = 0; mode < 8; ++mode) {
        ASSERT_EQ(program.ask("choose KTV_MODE " + std::to_string(mode)), "ok");
        EXPECT_TRUE(deviceFieldBecomes(13, mode)) << "KTV mode " << mode;
        const int echoRepeats = mode < 4 ? 2 + mode : 8 + mode - 4;
        EXPECT_EQ(program.value("read 编辑框40"), std::to_string(echoRepeats)) << "KTV mode " << mode;
        EXPECT_EQ(program.value("visible 滑块条23"), mode < 4 ? "0" : "1") << "KTV mode " << mode;
    }
    for (int mode = 0; mode < 6; ++mode) {
        ASSERT_EQ(program.ask("choose MIC_MODE " + std::to_string(mode)), "ok");
        EXPECT_TRUE(deviceFieldBecomes(14, mode)) << "MIC mode " << mode;
        EXPECT_EQ(program.value("read 编辑框22"), std::to_string(3 + mode) + "0HZ") << "MIC mode " << mode;
    }
    EXPECT_TRUE(deviceFollowsTheWindow());
}

TEST_F(ModesAcceptance, EachMusicModeShowsBothPages) {
    const std::array<std::string, 6> outLimits{"OFF", "0.775V", "1V", "1.2V", "1.5V", "1.75V"};
    for (int mode = 0; mode < 6; ++mode) {
        ASSERT_EQ(program.ask("choose MUSIC_MODE " + std::to_string(mode)), "ok");
        EXPECT_TRUE(deviceFieldBecomes(15, mode)) << "MUSIC mode " << mode;
        EXPECT_EQ(program.value("colour 均衡"), "#0088FF") << "a new mode opens on the equaliser page";
        EXPECT_EQ(program.value("read 编辑框21"), outLimits[static_cast<std::size_t>(mode)]) << "MUSIC mode " << mode;

        ASSERT_EQ(program.ask("click 辅助"), "ok");
        EXPECT_TRUE(program.waitForValue("colour 辅助", "#0088FF", 2000));
        EXPECT_EQ(program.value("colour 均衡"), "#000000");
        EXPECT_EQ(program.value("read 编辑框14"), std::to_string(50 + mode)) << "MUSIC mode " << mode;

        ASSERT_EQ(program.ask("click 均衡"), "ok");
        EXPECT_TRUE(program.waitForValue("colour 均衡", "#0088FF", 2000));
        EXPECT_EQ(program.value("read 编辑框21"), outLimits[static_cast<std::size_t>(mode)]);
    }
    EXPECT_TRUE(deviceFollowsTheWindow());
}

} // namespace
} // namespace ep::acceptance
