#include "fatal_exit.h"
#include "model/colours.h"
#include "model/lookup_tables.h"
#include "model/parameters.h"
#include "test_host.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ep {
namespace {

int ModeCount(Block block) {
    switch (block) {
    case Block::Global:
        return 1;
    case Block::KtvTypeA:
    case Block::KtvTypeB:
        return 4;
    case Block::Mic:
    case Block::Music:
        break;
    }
    return 6;
}

int FirstSelectorIndex(Block block) { return block == Block::KtvTypeB ? 4 : 0; }

class ParameterTable : public ::testing::Test {
  protected:
    void SetUp() override { FillLookupTables(); }
};

TEST(ParameterRows, ThereIsOneRowPerAddressAndTheirModesMake255Fields) {
    const std::span<const ParameterRow> rows = ParameterRows();
    ASSERT_EQ(rows.size(), 66u);
    int fields = 0;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        EXPECT_EQ(rows[index].address, static_cast<int>(index) + 1);
        EXPECT_EQ(&Row(rows[index].address), &rows[index]);
        fields += ModeCount(rows[index].block);
    }
    EXPECT_EQ(fields, 255);
}

TEST(ParameterRows, EveryRowAndModeLandsOnTheFieldThatSendAllSendsForIt) {
    std::set<int> fields;
    for (const ParameterRow& row : ParameterRows()) {
        for (int mode = 0; mode < ModeCount(row.block); ++mode) {
            const int index = FirstSelectorIndex(row.block) + mode;
            const std::optional<FieldLocation> location = LocateField(row, index);
            ASSERT_TRUE(location) << row.address << " index " << index;
            EXPECT_EQ(location->channel, mode);
            EXPECT_EQ(location->position, FieldPosition(location->field));
            EXPECT_EQ(ChannelAddressOfField(location->field), (ChannelAddress{mode, row.address}));
            EXPECT_TRUE(fields.insert(location->field).second) << location->field;
        }
    }
    EXPECT_EQ(fields.size(), 255u);
    EXPECT_EQ(*fields.begin(), 1);
    EXPECT_EQ(*fields.rbegin(), 255);
}

TEST(ParameterRows, GlobalFieldsLieAtThreeTimesTheAddressLessTwo) {
    for (int address = 1; address <= 21; ++address) {
        const std::optional<FieldLocation> location = LocateField(Row(address), 3);
        ASSERT_TRUE(location);
        EXPECT_EQ(location->channel, 0);
        EXPECT_EQ(location->field, address);
        EXPECT_EQ(location->position, 3 * address - 2);
    }
}

TEST(ParameterRows, Eff1AndKtv1BothSendChannelZeroForTheirOwnAddresses) {
    for (int address = 39; address <= 48; ++address) {
        const std::optional<FieldLocation> location = LocateField(Row(address), 4);
        ASSERT_TRUE(location);
        EXPECT_EQ(location->channel, 0);
        EXPECT_EQ(location->field, 108 + address - 39);
    }
    for (int address = 31; address <= 38; ++address) {
        const std::optional<FieldLocation> location = LocateField(Row(address), 0);
        ASSERT_TRUE(location);
        EXPECT_EQ(location->channel, 0);
        EXPECT_EQ(location->field, 76 + address - 31);
    }
}

TEST(ParameterRows, KtvRowsHaveNoFieldInAModeOfTheOtherType) {
    EXPECT_EQ(LocateField(Row(35), 5), std::nullopt);
    EXPECT_EQ(LocateField(Row(43), 1), std::nullopt);
    EXPECT_EQ(LocateField(Row(43), 8), std::nullopt) << "the empty ninth item of KTV_MODE";
    EXPECT_EQ(LocateField(Row(22), -1), std::nullopt);
    EXPECT_EQ(LocateField(Row(66), 6), std::nullopt);
}

TEST(ParameterRows, OnlyTheLabelRowsSendTheirValueAsFourBytes) {
    const std::set<int> fourByteAddresses = {16, 17, 18, 19, 20, 21, 56, 57};
    for (const ParameterRow& row : ParameterRows())
        EXPECT_EQ(row.valueWidth == ValueWidth::FourBytes, fourByteAddresses.count(row.address) == 1) << row.address;
}

TEST(ParameterRows, MusicPageSlidersTestTheOnlineStateOnlyWhereTheirHandlersDo) {
    const struct {
        const char* slider;
        int equaliserAddress;
        bool equaliserTested;
        int auxiliaryAddress;
        bool auxiliaryTested;
    } cases[] = {
        {"滑块条4", 49, true, 58, true},    {"滑块条5", 50, false, 59, true},   {"滑块条6", 51, false, 60, false},
        {"滑块条7", 52, false, 61, false},  {"滑块条8", 53, false, 62, false},  {"滑块条9", 54, false, 63, false},
        {"滑块条10", 55, false, 64, false}, {"滑块条11", 66, false, 65, false},
    };
    for (const auto& c : cases) {
        const ParameterRow* equaliser = RowOfControl(c.slider, {0, MusicPage::Equaliser});
        const ParameterRow* auxiliary = RowOfControl(c.slider, {0, MusicPage::Auxiliary});
        ASSERT_NE(equaliser, nullptr) << c.slider;
        ASSERT_NE(auxiliary, nullptr) << c.slider;
        EXPECT_EQ(equaliser->address, c.equaliserAddress) << c.slider;
        EXPECT_EQ(auxiliary->address, c.auxiliaryAddress) << c.slider;
        EXPECT_EQ(equaliser->onlineTest == OnlineTest::Present, c.equaliserTested) << c.slider;
        EXPECT_EQ(auxiliary->onlineTest == OnlineTest::Present, c.auxiliaryTested) << c.slider;
        EXPECT_EQ(RowOfControl(c.slider, {0, MusicPage::None}), nullptr) << c.slider;
    }
}

TEST(ParameterRows, EveryRowOutsideTheMusicPagesTestsTheOnlineState) {
    for (const ParameterRow& row : ParameterRows())
        if (row.page == MusicPage::None) {
            EXPECT_EQ(row.onlineTest, OnlineTest::Present) << row.address;
        }
}

TEST(ParameterRows, KtvSlidersEditTheRowOfTheSelectedType) {
    const struct {
        const char* slider;
        int typeA;
        int typeB;
    } cases[] = {{"滑块条30", 31, 39}, {"滑块条29", 32, 40}, {"滑块条28", 33, 41}, {"滑块条27", 34, 42},
                 {"滑块条26", 35, 43}, {"滑块条21", 36, 44}, {"滑块条25", 37, 45}, {"滑块条24", 38, 46}};
    for (const auto& c : cases) {
        for (int index : {-1, 0, 3})
            EXPECT_EQ(RowOfControl(c.slider, {index, MusicPage::Equaliser})->address, c.typeA) << c.slider;
        for (int index : {4, 7})
            EXPECT_EQ(RowOfControl(c.slider, {index, MusicPage::Equaliser})->address, c.typeB) << c.slider;
        const std::vector<const ParameterRow*> rows = RowsOfControl(c.slider);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0]->address, c.typeA);
        EXPECT_EQ(rows[1]->address, c.typeB);
    }
}

TEST(ParameterRows, RevHighCutSlidersAlwaysEditTheTypeBRows) {
    EXPECT_EQ(RowOfControl("滑块条23", {0, MusicPage::Equaliser})->address, 47);
    EXPECT_EQ(RowOfControl("滑块条22", {1, MusicPage::Auxiliary})->address, 48);
    EXPECT_EQ(RowOfControl("滑块条22", {6, MusicPage::None})->address, 48);
}

TEST(ParameterRows, LabelsAndBoxesFindTheirRows) {
    const struct {
        const char* control;
        int address;
    } cases[] = {{"Eff_Vol调节", 1},
                 {"Mic_Vol调节", 2},
                 {"Music_Vol调节", 3},
                 {"Eff_Vol_set_Min", 4},
                 {"Music_Vol_set_Max", 9},
                 {"KTV_MODE1", 10},
                 {"MUSIC_MODE", 15},
                 {"AUTO", 16},
                 {"BGM", 16},
                 {"AUX", 16},
                 {"FBX", 17},
                 {"EX", 18},
                 {"key_b5", 19},
                 {"key_井5", 19},
                 {"Mute", 20},
                 {"Lock", 21},
                 {"滑块条19", 22},
                 {"滑块条12", 30},
                 {"标签2", 56},
                 {"标签22", 57}};
    for (const auto& c : cases) {
        const ParameterRow* row = RowOfControl(c.control, {});
        ASSERT_NE(row, nullptr) << c.control;
        EXPECT_EQ(row->address, c.address) << c.control;
    }
    EXPECT_EQ(RowOfControl("编辑框29", {}), nullptr) << "a value box edits nothing";
    EXPECT_EQ(RowOfControl("标签62", {}), nullptr) << "nor does a caption label";
    EXPECT_EQ(RowOfControl("", {}), nullptr);
    EXPECT_TRUE(RowsOfControl("按钮1").empty());
}

TEST(ParameterRows, ChoiceLabelsSetTheirValues) {
    const struct {
        const char* label;
        int address;
        int value;
    } cases[] = {{"AUTO", 16, 0},    {"BGM", 16, 1},     {"AUX", 16, 2},     {"key_b5", 19, 0},  {"key_b4", 19, 1},
                 {"key_b3", 19, 2},  {"key_b2", 19, 3},  {"key_b1", 19, 4},  {"key_井0", 19, 5}, {"key_井1", 19, 6},
                 {"key_井2", 19, 7}, {"key_井3", 19, 8}, {"key_井4", 19, 9}, {"key_井5", 19, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(ChoiceValueOfLabel(Row(c.address), c.label), c.value) << c.label;
    EXPECT_EQ(ChoiceValueOfLabel(Row(16), "key_b5"), std::nullopt);
    EXPECT_EQ(ChoiceValueOfLabel(Row(17), "FBX"), std::nullopt) << "a switch is not a choice";
}

TEST(ParameterRows, SwitchLabelsShowTheirStates) {
    const ParameterRow& invert = Row(57);
    EXPECT_EQ(invert.editControl, "标签22");
    EXPECT_EQ(invert.on.caption, " 180\u00b0");
    EXPECT_EQ(invert.off.caption, "  O\u00b0");
    EXPECT_EQ(invert.on.colour, kRed);
    EXPECT_EQ(invert.off.colour, kBlack);
    EXPECT_TRUE(SwitchIsOn(invert, 1));
    EXPECT_FALSE(SwitchIsOn(invert, 2)) << "only 1 turns the inversion on";
    const ParameterRow& effectInCentre = Row(56);
    EXPECT_EQ(effectInCentre.on.caption, "ON");
    EXPECT_EQ(effectInCentre.off.caption, "OFF");
    EXPECT_TRUE(SwitchIsOn(effectInCentre, 2));
    for (int address : {17, 18, 20, 21}) {
        const ParameterRow& row = Row(address);
        EXPECT_EQ(row.on.colour, kRed) << address;
        EXPECT_EQ(row.off.colour, kGrey) << address;
        EXPECT_TRUE(row.on.caption.empty()) << address;
    }
}

// One handler run: the slider's row in the view, its field and the value and text for a position.
struct SliderCase {
    const char* slider;
    ActiveView view;
    int selectorIndex;
    int position;
    int channel;
    int address;
    int value;
    std::optional<std::string> text;
    int fieldPosition;
};

TEST_F(ParameterTable, SliderPositionsBecomeFramesFieldsAndTexts) {
    const SliderCase cases[] = {
        // MIC 400HZ at the top with MIC3 selected.
        {"滑块条17", {}, 2, 1, 2, 0x18, 20, "+10dB", 124},
        // Signed dB rows: middle, top, bottom.
        {"滑块条19", {}, 0, 11, 0, 22, 10, "0dB", 64},
        {"滑块条19", {}, 0, 1, 0, 22, 20, "+10dB", 64},
        {"滑块条19", {}, 0, 21, 0, 22, 0, "-10dB", 64},
        // Rev1 Time with EFF2 selected, and the same slider as EchoB H_Cut with KTV2.
        {"滑块条26", {5, MusicPage::Equaliser}, 5, 45, 1, 43, 15, "1.5S", 364},
        {"滑块条26", {1, MusicPage::Equaliser}, 1, 45, 1, 35, 55, "55", 262},
        {"滑块条26", {4, MusicPage::Equaliser}, 4, 60, 0, 43, 0, "0S", 334},
        {"滑块条26", {4, MusicPage::Equaliser}, 4, 55, 0, 43, 5, "0.5S", 334},
        {"滑块条26", {4, MusicPage::Equaliser}, 4, 50, 0, 43, 10, "1.0S", 334},
        {"滑块条26", {4, MusicPage::Equaliser}, 4, 0, 0, 43, 60, "6.0S", 334},
        // EchoB Dly at the top with KTV1.
        {"滑块条24", {0, MusicPage::Equaliser}, 0, 0, 0, 38, 127, "381ms", 247},
        // Echo Dly at the top and the bottom with EFF1.
        {"滑块条29", {4, MusicPage::Equaliser}, 4, 1, 0, 40, 15, "196ms", 325},
        {"滑块条29", {4, MusicPage::Equaliser}, 4, 16, 0, 40, 0, "12ms", 325},
        // Out Limit on the 均衡 page, bottom and top, with MUSIC1.
        {"滑块条11", {0, MusicPage::Equaliser}, 0, 6, 0, 0x42, 0, "OFF", 493},
        {"滑块条11", {0, MusicPage::Equaliser}, 0, 0, 0, 0x42, 6, "2V", 493},
        // SUB Freq on the 辅助 page with MUSIC6.
        {"滑块条9", {0, MusicPage::Auxiliary}, 5, 2, 5, 63, 23, "230HZ", 754},
        {"滑块条9", {0, MusicPage::Auxiliary}, 5, 23, 5, 63, 2, "20HZ", 754},
        // C_Music_Vol on the 辅助 page.
        {"滑块条4", {0, MusicPage::Auxiliary}, 0, 1, 0, 58, 80, "80", 469},
        // MIC H_Cure and Lowcut.
        {"滑块条14", {}, 0, 0, 0, 29, 3, "3dB", 85},
        {"滑块条12", {}, 0, 2, 0, 30, 15, "150HZ", 88},
        // A volume slider sends its position.
        {"Music_Vol调节", {}, 0, 60, 0, 3, 60, "60", 7},
    };
    for (const SliderCase& c : cases) {
        const ParameterRow* row = RowOfControl(c.slider, c.view);
        ASSERT_NE(row, nullptr) << c.slider;
        const std::optional<FieldLocation> location = LocateField(*row, c.selectorIndex);
        ASSERT_TRUE(location) << c.slider;
        EXPECT_EQ(location->channel, c.channel) << c.slider << " " << c.position;
        EXPECT_EQ(row->address, c.address) << c.slider << " " << c.position;
        EXPECT_EQ(DeviceValueOfPosition(*row, c.position), c.value) << c.slider << " " << c.position;
        EXPECT_EQ(HandlerDisplayText(*row, c.position), c.text) << c.slider << " " << c.position;
        EXPECT_EQ(location->position, c.fieldPosition) << c.slider << " " << c.position;
    }
}

TEST_F(ParameterTable, OutLimitOutsideItsTableShowsNothing) {
    EXPECT_EQ(HandlerDisplayText(Row(66), 7), std::nullopt);
    EXPECT_EQ(SetDisplayText(Row(66), 0, -1), std::nullopt);
}

TEST_F(ParameterTable, SelectorsAndChoicesHaveNoValueText) {
    for (int address : {10, 13, 16, 17, 19, 56, 57})
        EXPECT_EQ(HandlerDisplayText(Row(address), 1), std::nullopt) << address;
}

// The set display: a stored value becomes a slider position, and the box shows the text of the row.
struct StoredCase {
    int address;
    double stored;
    int position;
    std::string text;
};

TEST_F(ParameterTable, StoredValuesBecomePositionsAndTexts) {
    const StoredCase cases[] = {
        {22, 10, 11, "0dB"},  {29, 1, 2, "1dB"},    {30, 15, 2, "150HZ"}, {30, 10, 7, "100HZ"},
        {32, 10, 6, "135ms"}, {38, 30, 97, "90ms"}, {43, 25, 35, "2.5S"}, {43, 60, 0, "6.0S"},
        {43, 5, 55, "0.5S"},  {43, 0, 60, "0S"},    {31, 10, 6, "10"},    {63, 10, 15, "100HZ"},
        {66, 3, 3, "1.2V"},   {58, 40, 41, "40"},   {1, 38, 38, "38"},    {4, 38, 38, "38"},
    };
    for (const StoredCase& c : cases) {
        const ParameterRow& row = Row(c.address);
        const int position = PositionOfDeviceValue(row, c.stored);
        EXPECT_EQ(position, c.position) << c.address << " " << c.stored;
        EXPECT_EQ(SetDisplayText(row, c.stored, position), c.text) << c.address << " " << c.stored;
    }
}

TEST_F(ParameterTable, StoredValueRowsShowTheFieldAndTheOthersTheClampedPosition) {
    // SUB Vol shows the stored 90 although its slider stops at position 1; C_Bass shows its slider's end.
    EXPECT_EQ(SetDisplayText(Row(65), 90, 1), "90");
    EXPECT_EQ(SetDisplayText(Row(60), 30, 1), "+10dB");
    EXPECT_EQ(SetDisplayText(Row(63), 1.5, 23), "1.50HZ");
}

TEST_F(ParameterTable, PositionsFromStoredValuesAreTruncatedTowardZero) {
    EXPECT_EQ(PositionOfDeviceValue(Row(22), 0.5), 20);
    EXPECT_EQ(PositionOfDeviceValue(Row(1), 38.9), 38);
    EXPECT_EQ(PositionOfDeviceValue(Row(22), 30), -9) << "the slider, not the table, clamps";
}

TEST_F(ParameterTable, SetDisplayFallsBackWhereTheHandlerWouldFail) {
    EXPECT_EQ(SetDisplayText(Row(32), 20, 0), "98ms");
    EXPECT_EQ(SetDisplayText(Row(22), 0, 22), "-0dB");
}

using ParameterTableDeathTest = ParameterTable;

TEST_F(ParameterTableDeathTest, HandlerDisplayOutsideTheTableIsARuntimeError) {
    EXPECT_EXIT(
        {
            testing::TestHost host;
            FillLookupTables();
            HandlerDisplayText(Row(32), 0);
        },
        testing::ExitedFatally(), "错误代码：1");
}

} // namespace
} // namespace ep
