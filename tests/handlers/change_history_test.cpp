// Undo and redo work the controls as the user did, so the device gets the frames of the user's own input.

#include "handler_test_window.h"
#include "handlers/change_history.h"

namespace ep {
namespace {

class ChangeHistory : public testing::HandlerTestWindow {
  protected:
    ChangeHistory() {
        ForgetChanges();
        online();
        takeWritten();
    }
    /// MIC1's 57HZ (field 22 at character 64): SetParameter on channel 0, address 22.
    static Bytes Mic57Frame(std::uint8_t value) { return {0x80, 0x00, 0xBB, 0x02, 22, value}; }
};

TEST_F(ChangeHistory, ADragIsOneStepUndoneAndRedoneWithTheSlidersOwnFrames) {
    const Text before = field(64);
    for (int position : {9, 8, 7})
        drag("滑块条19", position);
    const Text after = field(64);
    takeWritten();

    ASSERT_TRUE(UndoChange());
    EXPECT_EQ(field(64), before);
    EXPECT_EQ(position("滑块条19"), 11);
    EXPECT_EQ(takeWritten(), Mic57Frame(static_cast<std::uint8_t>(std::stoi(before))));
    EXPECT_FALSE(UndoChange()) << "the drag was one step";

    ASSERT_TRUE(RedoChange());
    EXPECT_EQ(field(64), after);
    EXPECT_EQ(takeWritten(), Mic57Frame(static_cast<std::uint8_t>(std::stoi(after))));
    EXPECT_FALSE(RedoChange());
}

TEST_F(ChangeHistory, StepsOfSeveralControlsAreUndoneLastFirstAndAModeShownSinceGetsItsFrame) {
    press("FBX");
    drag("滑块条19", 4);
    select("MIC_MODE", 1);
    const Text mic2 = EffectSetText();
    takeWritten();

    ASSERT_TRUE(UndoChange());
    EXPECT_EQ(named("MIC_MODE").readInt(prop::combo::Selection), 0);
    ASSERT_TRUE(UndoChange());
    EXPECT_EQ(position("滑块条19"), 11);
    ASSERT_TRUE(UndoChange());
    EXPECT_EQ(field(49), "001") << "FBX on again";
    EXPECT_EQ(EffectSetText(), designSet);

    for (int step = 0; step < 3; ++step)
        ASSERT_TRUE(RedoChange());
    EXPECT_EQ(EffectSetText(), mic2);
}

TEST_F(ChangeHistory, AFieldWhosePageIsNoLongerShownGetsItsFrameAndTheOtherPageStays) {
    drag("滑块条4", 7);
    press("辅助");
    const int auxiliaryPosition = position("滑块条4");
    takeWritten();
    ASSERT_TRUE(UndoChange());
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 49, 10})) << "MUSIC1 57HZ back to 0dB";
    EXPECT_EQ(position("滑块条4"), auxiliaryPosition);
}

TEST_F(ChangeHistory, NothingIsUndoneOfflineNorAfterAPresetLoadOrARestore) {
    drag("滑块条19", 4);
    named("标签127").write(prop::label::Caption, Text("未联机"));
    EXPECT_FALSE(UndoChange());
    online();
    ControlNamed("按钮1").raise(event::Clicked);
    EXPECT_FALSE(UndoChange());
    drag("滑块条19", 4);
    ForgetChanges();
    EXPECT_FALSE(UndoChange());
}

} // namespace
} // namespace ep
