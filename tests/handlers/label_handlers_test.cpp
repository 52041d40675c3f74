#include "handler_test_window.h"
#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "model/colours.h"

namespace ep {
namespace {

class LabelHandlers : public testing::HandlerTestWindow {};

TEST_F(LabelHandlers, FbxTwiceSendsNineByteFrames) {
    online();
    press("FBX");
    EXPECT_EQ(colour("FBX"), kGrey);
    press("FBX");
    EXPECT_EQ(colour("FBX"), kRed);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 0x11, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0xBB, 0x02, 0x11,
                                    0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(field(49), "001");
}

TEST_F(LabelHandlers, AKeyPressedOfflineOnlyShows) {
    press("key_b2");
    EXPECT_EQ(colour("key_b2"), kRed);
    for (const char* other : {"key_井0", "key_井5", "key_b1", "key_b5"})
        EXPECT_EQ(colour(other), kGrey) << other;
    EXPECT_EQ(KeyChanged, 1);
    EXPECT_TRUE(takeWritten().empty());
    EXPECT_EQ(field(55), "005");
    press("key_井0");
    EXPECT_EQ(KeyChanged, 0);
}

TEST_F(LabelHandlers, AKeyPressedOnlineSendsItsValue) {
    online();
    press("key_井3");
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 0x13, 0x08, 0x00, 0x00, 0x00}));
    EXPECT_EQ(field(55), "008");
}

TEST_F(LabelHandlers, MuteAndUnmute) {
    online();
    takeWritten();
    named("Eff_Vol调节").write(prop::slider::Position, 44);
    press("Mute");
    EXPECT_EQ(colour("Mute"), kRed);
    for (const char* slider : {"Music_Vol调节", "Mic_Vol调节", "Eff_Vol调节"})
        EXPECT_EQ(position(slider), 0) << slider;
    EXPECT_EQ(content("Mic_Vol显示"), "0");
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 20, 1, 0, 0, 0}));
    press("Mute");
    EXPECT_EQ(position("Music_Vol调节"), 20);
    EXPECT_EQ(position("Mic_Vol调节"), 30);
    EXPECT_EQ(position("Eff_Vol调节"), 38) << "the stored volume, not the one before muting";
    EXPECT_EQ(content("Eff_Vol显示"), "38");
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 20, 0, 0, 0, 0}));
    EXPECT_EQ(field(1), "038");
}

TEST_F(LabelHandlers, CaptionSwitchesUseTheMusicModesField) {
    online();
    select("MUSIC_MODE", 1);
    takeWritten();
    press("标签22");
    EXPECT_EQ(caption("标签22"), " 180°");
    EXPECT_EQ(colour("标签22"), kRed);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x01, 0xBB, 0x02, 57, 1, 0, 0, 0}));
    EXPECT_EQ(field(496 + 24), "001");
    press("标签22");
    EXPECT_EQ(caption("标签22"), "  O°");
    EXPECT_EQ(colour("标签22"), kBlack);
    press("标签2");
    EXPECT_EQ(caption("标签2"), "ON");
}

TEST_F(LabelHandlers, ChoosingEff3ShowsTypeBAndSendsTheMode) {
    online();
    takeWritten();
    select("KTV_MODE", 6);
    EXPECT_EQ(caption("标签99"), "Echo Rep");
    EXPECT_TRUE(named("滑块条23").readBool(prop::Visible));
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 0x0D, 0x06}));
    EXPECT_EQ(field(37), "006");
}

TEST_F(LabelHandlers, ChoosingMusic4ReadsItsSwitchFields) {
    Text set = WithField(designSet, 148 + 3 * 18 + 7, 1);
    set = WithField(set, 148 + 3 * 18 + 8, 0);
    SetEffectSetText(set);
    ShowMusicAuxPage();
    select("MUSIC_MODE", 3);
    EXPECT_EQ(caption("标签2"), "ON");
    EXPECT_EQ(colour("标签2"), kBlack) << "the caption only";
    EXPECT_EQ(caption("标签22"), "  O°");
    EXPECT_EQ(colour("均衡"), kTabHighlight);
    EXPECT_EQ(caption("标签3"), "57HZ");
}

TEST_F(LabelHandlers, TopRowSelectorsSendOnlyTheirOwnAddress) {
    online();
    select("MIC_MODE1", 4);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 11, 4}));
    EXPECT_EQ(field(31), "004");
    EXPECT_EQ(named("MIC_MODE").readInt(prop::combo::Selection), 0);
}

TEST_F(LabelHandlers, LimitBoxClamps) {
    named("Mic_Vol_set_Max").write(prop::editbox::Content, Text("80"));
    UserSteppedUpDown(named("Mic_Vol_set_Max"), +1);
    EXPECT_EQ(content("Mic_Vol_set_Max"), "80");
    named("Mic_Vol_set_Max").write(prop::editbox::Content, Text("25"));
    named("Mic_Vol_set_Min").write(prop::editbox::Content, Text("25"));
    UserSteppedUpDown(named("Mic_Vol_set_Min"), +1);
    EXPECT_EQ(content("Mic_Vol_set_Min"), "25");
    named("Eff_Vol_set_Min").write(prop::editbox::Content, Text("0"));
    UserSteppedUpDown(named("Eff_Vol_set_Min"), -1);
    EXPECT_EQ(content("Eff_Vol_set_Min"), "0");
    EXPECT_TRUE(takeWritten().empty()) << "offline";
}

TEST_F(LabelHandlers, AClampOnlineSendsTheFrameTwice) {
    online();
    named("Mic_Vol_set_Max").write(prop::editbox::Content, Text("80"));
    takeWritten();
    UserSteppedUpDown(named("Mic_Vol_set_Max"), +1);
    EXPECT_EQ(takeWritten(), (Bytes{0x80, 0x00, 0xBB, 0x02, 0x07, 0x50, 0x80, 0x00, 0xBB, 0x02, 0x07, 0x50}));
    EXPECT_EQ(field(19), "080");
}

TEST_F(LabelHandlers, LimitsAreNotClampedBeforeASetWasShown) {
    SetLoaded = 0;
    named("Mic_Vol_set_Max").write(prop::editbox::Content, Text("81"));
    EXPECT_EQ(content("Mic_Vol_set_Max"), "81");
}

/// A new set's minimum above the old set's maximum: each minimum is held against the new maximum, so the
/// loaded minimum stands. Shown once directly (offline and online) and once as a dump completes.
TEST_F(LabelHandlers, ShowingASetHoldsEachMinimumAgainstTheNewSetsMaximum) {
    Text oldSet = designSet;
    for (const int maximumField : {5, 7, 9})
        oldSet = WithField(oldSet, maximumField, 30);
    Text newSet = designSet;
    for (const auto& [field, value] : {std::pair{4, 50}, {5, 80}, {6, 45}, {7, 70}, {8, 40}, {9, 80}})
        newSet = WithField(newSet, field, value);
    const struct {
        const char* how;
        bool online;
        bool asDump;
    } cases[] = {{"offline", false, false}, {"online", true, false}, {"online, from a dump", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        named("标签127").write(prop::label::Caption, Text(c.online ? "已联机" : "未联机"));
        apply(oldSet);
        takeWritten();
        if (c.asDump) {
            StartDumpCollection();
            takeWritten();
            for (std::size_t field = 0; field < 255; ++field)
                named("端口").raise(event::DataArrived, {std::stoi(newSet.substr(3 * field, 3))});
        } else {
            apply(newSet);
        }
        EXPECT_EQ(EffectSetText(), newSet);
        for (const auto& [box, text] :
             {std::pair{"Music_Vol_set_Min", "40"}, {"Mic_Vol_set_Min", "45"}, {"Eff_Vol_set_Min", "50"}})
            EXPECT_EQ(content(box), text) << box;
        // The same six frames as before, each maximum's first.
        const Bytes frames = c.online ? Bytes{0x80, 0, 0xBB, 2, 9, 80, 0x80, 0, 0xBB, 2, 8, 40, 0x80, 0, 0xBB, 2, 7, 70,
                                              0x80, 0, 0xBB, 2, 6, 45, 0x80, 0, 0xBB, 2, 5, 80, 0x80, 0, 0xBB, 2, 4, 50}
                                      : Bytes{};
        EXPECT_EQ(takeWritten(), frames);
    }
}

TEST_F(LabelHandlers, TheEqualiserTabBringsItsPageBack) {
    apply(WithField(designSet, 148 + 14, 10));
    press("辅助");
    EXPECT_EQ(caption("标签3"), "C_Music_Vol");
    press("均衡");
    EXPECT_EQ(caption("标签3"), "57HZ");
    EXPECT_EQ(named("滑块条9").readInt(prop::slider::Maximum), 21);
    EXPECT_EQ(position("滑块条9"), 11);
    EXPECT_TRUE(named("标签15").readBool(prop::Visible));
    EXPECT_EQ(caption("标签61"), "2V");
    EXPECT_EQ(colour("均衡"), kTabHighlight);
    EXPECT_EQ(colour("辅助"), kBlack);
}

} // namespace
} // namespace ep
