#include "model/colours.h"
#include "window_fixture.h"

namespace ep {
namespace {

class ApplyEffectSetTest : public testing::WindowFixture {};

TEST_F(ApplyEffectSetTest, TheDesignTimeSet) {
    apply(designSet);
    const struct {
        const char* slider;
        int position;
        const char* box;
        const char* text;
    } rows[] = {
        {"Eff_Vol调节", 38, "Eff_Vol显示", "38"},
        {"Mic_Vol调节", 30, "Mic_Vol显示", "30"},
        {"Music_Vol调节", 20, "Music_Vol显示", "20"},
        {"滑块条4", 11, "编辑框14", "0dB"},
        {"滑块条10", 11, "编辑框20", "0dB"},
        {"滑块条11", 3, "编辑框21", "1.2V"},
        {"滑块条19", 11, "编辑框29", "0dB"},
        {"滑块条13", 11, "编辑框23", "0dB"},
        {"滑块条14", 2, "编辑框24", "1dB"},
        {"滑块条12", 7, "编辑框22", "100HZ"},
        {"滑块条30", 6, "编辑框40", "10"},
        {"滑块条29", 6, "编辑框39", "135ms"},
        {"滑块条28", 40, "编辑框38", "40"},
        {"滑块条27", 40, "编辑框37", "40"},
        {"滑块条26", 50, "编辑框36", "50"},
        {"滑块条21", 77, "编辑框31", "50"},
        {"滑块条25", 50, "编辑框35", "50"},
        {"滑块条24", 97, "编辑框34", "90ms"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(position(row.slider), row.position) << row.slider;
        EXPECT_EQ(content(row.box), row.text) << row.box;
    }
    for (const auto& [box, text] :
         {std::pair{"Eff_Vol_set_Min", "38"}, std::pair{"Mic_Vol_set_Min", "30"}, std::pair{"Music_Vol_set_Min", "20"},
          std::pair{"Eff_Vol_set_Max", "80"}, std::pair{"Mic_Vol_set_Max", "80"}, std::pair{"Music_Vol_set_Max", "80"}})
        EXPECT_EQ(content(box), text) << box;
    for (const char* selector : {"MUSIC_MODE1", "MIC_MODE1", "KTV_MODE1", "MUSIC_MODE", "MIC_MODE", "KTV_MODE"})
        EXPECT_EQ(named(selector).readInt(prop::combo::Selection), 0) << selector;
    for (const auto& [label, expected] :
         {std::pair{"AUTO", kRed}, std::pair{"BGM", kGrey}, std::pair{"AUX", kGrey}, std::pair{"FBX", kRed},
          std::pair{"EX", kRed}, std::pair{"key_井0", kRed}, std::pair{"key_b1", kGrey}, std::pair{"Mute", kGrey},
          std::pair{"Lock", kGrey}, std::pair{"标签2", kBlack}, std::pair{"标签22", kBlack},
          std::pair{"均衡", kTabHighlight}, std::pair{"辅助", kBlack}})
        EXPECT_EQ(colour(label), expected) << label;
    EXPECT_EQ(caption("标签2"), "OFF");
    EXPECT_EQ(caption("标签22"), "  O°");
    EXPECT_EQ(caption("标签99"), "EchoA Rep");
    EXPECT_FALSE(named("滑块条23").readBool(prop::Visible));
    EXPECT_EQ(SetLoaded, 1);
    EXPECT_EQ(EffectSetText(), designSet) << "showing a set offline changes nothing in it";
}

TEST_F(ApplyEffectSetTest, AChoiceFieldOutsideItsValuesHighlightsNothing) {
    named("AUTO").write(prop::translabel::TextColour, kGrey);
    named("BGM").write(prop::translabel::TextColour, kRed);
    apply(WithField(designSet, 16, 5));
    EXPECT_EQ(colour("AUTO"), kGrey);
    EXPECT_EQ(colour("BGM"), kRed);
    EXPECT_EQ(colour("AUX"), kGrey);
}

TEST_F(ApplyEffectSetTest, TheEmptySet) {
    apply("");
    EXPECT_EQ(position("滑块条19"), 21);
    EXPECT_EQ(position("滑块条12"), 17) << "stored as written, shown at the range's end";
    EXPECT_EQ(content("编辑框22"), "20HZ");
    EXPECT_EQ(position("滑块条28"), 80);
    EXPECT_EQ(position("Music_Vol调节"), 0);
    EXPECT_EQ(content("Music_Vol_set_Max"), "0");
    EXPECT_EQ(named("KTV_MODE").readInt(prop::combo::Selection), 0);
}

TEST_F(ApplyEffectSetTest, MusicAuxPageShowsTheFieldsOfTheSelectedBlock) {
    apply(WithField(designSet, 148 + 14, 10));
    ShowMusicAuxPage();
    EXPECT_EQ(content("编辑框19"), "100HZ");
    EXPECT_EQ(position("滑块条9"), 15);
    EXPECT_EQ(named("滑块条9").readInt(prop::slider::Maximum), 23);
    EXPECT_EQ(named("滑块条9").readInt(prop::slider::Minimum), 2);
    EXPECT_EQ(caption("标签3"), "C_Music_Vol");
    EXPECT_EQ(caption("标签9"), "SUB Vol");
    EXPECT_EQ(named("滑块条4").readInt(prop::slider::Maximum), 81);
    EXPECT_EQ(position("滑块条4"), 41);
    EXPECT_EQ(content("编辑框14"), "40");
    EXPECT_EQ(caption("标签55"), "230HZ");
    EXPECT_FALSE(named("标签15").readBool(prop::Visible));
    EXPECT_EQ(colour("辅助"), kTabHighlight);
    EXPECT_EQ(colour("均衡"), kBlack);
}

TEST_F(ApplyEffectSetTest, MicLowCutValues) {
    apply(WithField(designSet, 22 + 8, 15));
    EXPECT_EQ(content("编辑框22"), "150HZ");
    EXPECT_EQ(position("滑块条12"), 2);
    apply(WithField(designSet, 22 + 8, 10));
    EXPECT_EQ(content("编辑框22"), "100HZ");
    EXPECT_EQ(position("滑块条12"), 7);
}

TEST_F(ApplyEffectSetTest, ReverbTimesInTheTypeBLayout) {
    const struct {
        int value;
        int position;
        const char* text;
    } cases[] = {{25, 35, "2.5S"}, {60, 0, "6.0S"}, {5, 55, "0.5S"}, {0, 60, "0S"}};
    for (const auto& c : cases) {
        apply(WithField(WithField(designSet, 13, 4), 108 + 4, c.value));
        EXPECT_EQ(position("滑块条26"), c.position) << c.value;
        EXPECT_EQ(content("编辑框36"), c.text) << c.value;
    }
}

TEST_F(ApplyEffectSetTest, TheTwoKtvLayouts) {
    apply(WithField(designSet, 13, 6));
    EXPECT_EQ(caption("标签103"), "Rev1 Time");
    EXPECT_EQ(named("标签103").readInt(prop::Left), 364);
    EXPECT_EQ(named("滑块条24").readInt(prop::Left), 596);
    EXPECT_EQ(named("编辑框34").readInt(prop::Left), 597);
    EXPECT_EQ(named("标签121").readInt(prop::Left), 635);
    EXPECT_EQ(caption("标签121"), "40");
    EXPECT_EQ(named("滑块条24").readInt(prop::slider::Maximum), 40);
    EXPECT_EQ(named("滑块条21").readInt(prop::slider::TickFrequency), 3);
    for (const char* control : {"标签97", "标签106", "编辑框33", "编辑框32", "滑块条23", "滑块条22", "标签126"})
        EXPECT_TRUE(named(control).readBool(prop::Visible)) << control;
    EXPECT_EQ(position("滑块条23"), 50);
    EXPECT_EQ(content("编辑框32"), "50");
    EXPECT_EQ(position("滑块条24"), 0);
    EXPECT_EQ(content("编辑框34"), "40");

    apply(WithField(designSet, 13, 1));
    EXPECT_EQ(caption("标签98"), "EchoB Dly");
    EXPECT_EQ(named("标签98").readInt(prop::Left), 727);
    EXPECT_EQ(named("滑块条24").readInt(prop::Left), 738);
    EXPECT_EQ(named("滑块条24").readInt(prop::slider::Maximum), 127);
    EXPECT_EQ(caption("标签121"), "381");
    for (const char* control : {"标签97", "标签106", "编辑框33", "编辑框32", "滑块条23", "滑块条22", "标签126"})
        EXPECT_FALSE(named(control).readBool(prop::Visible)) << control;
}

TEST_F(ApplyEffectSetTest, MusicSwitchesOfTheSelectedBlock) {
    Text set = WithField(designSet, 15, 3);
    set = WithField(set, 148 + 3 * 18 + 7, 1);
    set = WithField(set, 148 + 3 * 18 + 8, 1);
    apply(set);
    EXPECT_EQ(named("MUSIC_MODE").readInt(prop::combo::Selection), 3);
    EXPECT_EQ(caption("标签2"), "ON");
    EXPECT_EQ(colour("标签2"), kRed);
    EXPECT_EQ(caption("标签22"), " 180°");
    EXPECT_EQ(colour("标签22"), kRed);
}

TEST_F(ApplyEffectSetTest, ASelectionOutsideTheListsReadsFromTheStart) {
    apply(WithField(designSet, 14, 9));
    EXPECT_EQ(named("MIC_MODE").readInt(prop::combo::Selection), 5) << "lowered to the last item";
}

TEST_F(ApplyEffectSetTest, AVolumeFieldBeyondItsSliderShowsWhereTheSliderStops) {
    apply(WithField(WithField(designSet, 1, 95), 3, 200));
    EXPECT_EQ(content("Eff_Vol显示"), "80");
    EXPECT_EQ(content("Music_Vol显示"), "80");
    EXPECT_EQ(EffectSetText().substr(0, 3), "095") << "the set itself is not changed";
}

} // namespace
} // namespace ep
