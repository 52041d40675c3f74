#include "handler_test_window.h"
#include "model/blocks.h"
#include "model/colours.h"
#include "model/display_formats.h"
#include "model/parameters.h"

namespace ep {
namespace {

/// The field that carries the (channel, address) pair of a frame.
int FieldOfFrame(int channel, int address) {
    for (int field = 1; field <= EffectSetFieldCount; ++field)
        if (ChannelAddressOfField(field) == ChannelAddress{channel, address})
            return field;
    return 0;
}

class SliderHandlers : public testing::HandlerTestWindow {};

TEST_F(SliderHandlers, DraggingAMicBandWhileOnlineSendsEveryStep) {
    online();
    select("MIC_MODE", 2);
    takeWritten();
    Bytes expected;
    for (int position = 10; position >= 1; --position) {
        drag("滑块条17", position);
        expected.insert(expected.end(), {0x80, 0x02, 0xBB, 0x02, 0x18, static_cast<std::uint8_t>(21 - position)});
    }
    EXPECT_EQ(takeWritten(), expected);
    EXPECT_EQ(content("编辑框27"), "+10dB");
    EXPECT_EQ(field(124), "020");
}

TEST_F(SliderHandlers, TheSameDragOfflineOnlyShows) {
    select("MIC_MODE", 2);
    for (int position = 10; position >= 1; --position)
        drag("滑块条17", position);
    EXPECT_EQ(content("编辑框27"), "+10dB");
    EXPECT_TRUE(takeWritten().empty());
    EXPECT_EQ(EffectSetText(), designSet);
}

TEST_F(SliderHandlers, KtvSlidersFollowTheTypeOfTheSelectedMode) {
    online();
    select("KTV_MODE", 5);
    takeWritten();
    drag("滑块条26", 45);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x01, 0xBB, 0x02, 43, 15}));
    EXPECT_EQ(content("编辑框36"), "1.5S");
    EXPECT_EQ(field(364), "015");
    select("KTV_MODE", 1);
    takeWritten();
    drag("滑块条26", 45);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x01, 0xBB, 0x02, 35, 55}));
    EXPECT_EQ(content("编辑框36"), "55");
    EXPECT_EQ(field(262), "055");
}

TEST_F(SliderHandlers, EchoBDelayAtTheTop) {
    online();
    drag("滑块条24", 0);
    EXPECT_EQ(content("编辑框34"), "381ms");
    EXPECT_EQ(field(226 + 21), "127");
    takeWritten();
    named("滑块条24").raise(event::LeftButtonReleased, {1, 1, 0});
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 38, 127}));
}

TEST_F(SliderHandlers, TheReleaseResendsTheFieldNotTheSlider) {
    drag("滑块条24", 0);
    online();
    named("滑块条24").raise(event::LeftButtonReleased, {1, 1, 0});
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 38, 30}));
    EXPECT_EQ(content("编辑框34"), "381ms");
}

TEST_F(SliderHandlers, VolumeIsLimitedByItsMaximumBox) {
    online();
    named("Music_Vol_set_Max").write(prop::editbox::Content, Text("60"));
    takeWritten();
    drag("Music_Vol调节", 70);
    EXPECT_EQ(position("Music_Vol调节"), 60);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 3, 60}));
    EXPECT_EQ(content("Music_Vol显示"), "60");
    EXPECT_EQ(field(7), "060");
}

TEST_F(SliderHandlers, AVolumeChangeTurnsMuteGreyWithoutAFrameForIt) {
    online();
    named("Mute").write(prop::translabel::TextColour, kRed);
    drag("Eff_Vol调节", 50);
    EXPECT_EQ(colour("Mute"), kGrey);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 1, 50}));
    EXPECT_EQ(field(58), "000");
}

TEST_F(SliderHandlers, OutLimitOnTheEqualiserPageSendsEvenOffline) {
    select("MUSIC_MODE", 2);
    takeWritten();
    drag("滑块条11", 6);
    EXPECT_EQ(content("编辑框21"), "OFF");
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x02, 0xBB, 0x02, 0x42, 0x00}));
    EXPECT_EQ(field(442 + 2 * 54 + 51), "000");
}

TEST_F(SliderHandlers, SubFrequencyOnTheAuxiliaryPage) {
    online();
    ShowMusicAuxPage();
    drag("滑块条9", 2);
    EXPECT_EQ(content("编辑框19"), "230HZ");
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 63, 23}));
    drag("滑块条9", 23);
    EXPECT_EQ(content("编辑框19"), "20HZ");
    EXPECT_EQ(field(442 + 42), "002");
}

TEST_F(SliderHandlers, WithoutAPageHighlightedAPageSliderDoesNothing) {
    online();
    named("均衡").write(prop::translabel::TextColour, kBlack);
    const Text before = content("编辑框14");
    drag("滑块条4", 1);
    EXPECT_TRUE(takeWritten().empty());
    EXPECT_EQ(content("编辑框14"), before);
}

TEST_F(SliderHandlers, ABlockSliderWithoutASelectedModeOnlyShows) {
    online();
    named("MIC_MODE").write(prop::combo::Selection, -1);
    drag("滑块条19", 1);
    EXPECT_EQ(content("编辑框29"), "+10dB");
    EXPECT_TRUE(takeWritten().empty());
    EXPECT_EQ(EffectSetText(), designSet);
    named("KTV_MODE").write(prop::combo::Selection, 8);
    drag("滑块条30", 1);
    EXPECT_TRUE(takeWritten().empty()) << "the empty ninth item selects no mode";
    EXPECT_EQ(EffectSetText(), designSet);
}

/// Every slider in every mode and page, at its minimum, middle and maximum: the frame's (channel,
/// address), mapped through the send-all order, names the field the handler wrote, with the frame's value.
TEST_F(SliderHandlers, FramesAndFieldsAgreeForEverySliderInEveryMode) {
    online();
    struct Context {
        const char* selector;
        int modes;
        const char* page;
    };
    const Context contexts[] = {
        {"MIC_MODE", 6, nullptr}, {"KTV_MODE", 8, nullptr}, {"MUSIC_MODE", 6, "均衡"}, {"MUSIC_MODE", 6, "辅助"}};
    int checked = 0;
    for (const Context& context : contexts) {
        for (int mode = 0; mode < context.modes; ++mode) {
            select(context.selector, mode);
            if (context.page != nullptr && Text(context.page) == "辅助")
                ShowMusicAuxPage();
            for (const ParameterRow& row : ParameterRows()) {
                if (row.editKind != EditKind::Slider || Text(LayoutOf(row.block).selector) != context.selector)
                    continue;
                Control& slider = named(Text(row.editControl));
                if (!slider.readBool(prop::Visible))
                    continue;
                const int minimum = slider.readInt(prop::slider::Minimum);
                const int maximum = slider.readInt(prop::slider::Maximum);
                for (const int position : {minimum, (minimum + maximum) / 2, maximum}) {
                    SetEffectSetText(designSet);
                    takeWritten();
                    drag(Text(row.editControl), position);
                    const Bytes frame = takeWritten();
                    if (frame.empty())
                        continue;
                    ASSERT_EQ(frame.size(), 6u) << row.editControl;
                    const int fieldNumber = FieldOfFrame(frame[1], frame[4]);
                    ASSERT_NE(fieldNumber, 0) << row.editControl;
                    EXPECT_EQ(field(3 * fieldNumber - 2), ThreeDigitText(frame[5]))
                        << row.editControl << " mode " << mode << " position " << position;
                    Text expected = designSet;
                    expected.replace(static_cast<std::size_t>(3 * fieldNumber - 3), 3, ThreeDigitText(frame[5]));
                    EXPECT_EQ(EffectSetText(), expected) << "only that field changed: " << row.editControl;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 600);
}

} // namespace
} // namespace ep
