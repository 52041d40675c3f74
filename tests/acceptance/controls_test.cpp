#include "acceptance_fixture.h"

namespace ep::acceptance {
namespace {

TEST_F(OnlineAcceptance, EachKindOfControlChangesTheDevice) {
    // A level slider, three steps to the right from the design-time 38.
    EXPECT_EQ(program.ask("key Eff_Vol调节 Right 3"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(1, 41));
    EXPECT_EQ(program.value("read Eff_Vol显示"), "41");

    // A vertical block slider: up raises the microphone's 57 Hz band of MIC1 from 10 to 12.
    EXPECT_EQ(program.ask("key 滑块条19 Up 2"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(22, 12));
    EXPECT_EQ(program.value("read 编辑框29"), "+2dB");

    // A limit box's down arrow.
    EXPECT_EQ(program.ask("arrow Mic_Vol_set_Max down"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(7, 79));
    EXPECT_EQ(program.value("read Mic_Vol_set_Max"), "79");

    // A switch label: FBX starts on.
    EXPECT_EQ(program.ask("click FBX"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(17, 0));
    EXPECT_EQ(program.value("colour FBX"), "#808080");

    // A choice label: the key to b2.
    EXPECT_EQ(program.ask("click key_b2"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(19, 3));
    EXPECT_EQ(program.value("colour key_b2"), "#FF0000");
    EXPECT_EQ(program.value("colour key_井0"), "#808080");

    // A caption switch of the music block: EFF In C of MUSIC1, field 148 + 7.
    EXPECT_EQ(program.ask("click 标签2"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(155, 1));
    EXPECT_EQ(program.value("read 标签2"), "ON");

    // A drop-down list.
    EXPECT_EQ(program.ask("choose MIC_MODE1 4"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(11, 4));
    EXPECT_EQ(program.value("read MIC_MODE1"), "4");

    EXPECT_TRUE(deviceFollowsTheWindow());
}

TEST_F(OnlineAcceptance, MuteSilencesTheLevelsAndUnmuteBringsThemBack) {
    EXPECT_EQ(program.ask("click Mute"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(20, 1));
    EXPECT_EQ(program.value("colour Mute"), "#FF0000");
    for (const char* level : {"Music_Vol", "Mic_Vol", "Eff_Vol"}) {
        EXPECT_EQ(program.value(std::string("read ") + level + "调节"), "0") << level;
        EXPECT_EQ(program.value(std::string("read ") + level + "显示"), "0") << level;
    }
    EXPECT_EQ(deviceField(1), 38) << "muting keeps the stored levels";

    EXPECT_EQ(program.ask("click Mute"), "ok");
    EXPECT_TRUE(deviceFieldBecomes(20, 0));
    EXPECT_EQ(program.value("colour Mute"), "#808080");
    EXPECT_EQ(program.value("read Eff_Vol调节"), "38");
    EXPECT_EQ(program.value("read Mic_Vol显示"), "30");
    EXPECT_EQ(program.value("read Music_Vol调节"), "20");
    EXPECT_TRUE(deviceFollowsTheWindow());
}

} // namespace
} // namespace ep::acceptance
