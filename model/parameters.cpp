#include "model/parameters.h"

#include "model/colours.h"
#include "runtime/conversions.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace ep {
namespace {

constexpr Choice kSourceChoices[] = {{"AUTO", "AUTO"}, {"BGM", "BGM"}, {"AUX", "AUX"}};

constexpr Choice kKeyChoices[] = {{"key_b5", "b5"},  {"key_b4", "b4"},  {"key_b3", "b3"},  {"key_b2", "b2"},
                                  {"key_b1", "b1"},  {"key_井0", "#0"}, {"key_井1", "#1"}, {"key_井2", "#2"},
                                  {"key_井3", "#3"}, {"key_井4", "#4"}, {"key_井5", "#5"}};

using enum DisplayFormat;

constexpr ParameterRow Volume(int address, std::string_view name, std::string_view slider, std::string_view box,
                              std::string_view maximumBox, int defaultValue) {
    return {.address = address,
            .name = name,
            .editKind = EditKind::Slider,
            .editControl = slider,
            .displayControl = box,
            .limitControl = maximumBox,
            .minimum = 0,
            .maximum = 80,
            .format = Plain,
            .defaultValue = defaultValue};
}

// A minimum box names its maximum box; a maximum box is limited to 0..80 by its handler.
constexpr ParameterRow Limit(int address, std::string_view name, std::string_view box, std::string_view maximumBox,
                             int defaultValue) {
    return {.address = address,
            .name = name,
            .editKind = EditKind::LimitBox,
            .editControl = box,
            .displayControl = box,
            .limitControl = maximumBox,
            .minimum = 0,
            .maximum = 80,
            .format = Plain,
            .setDisplaySource = SetDisplaySource::StoredValue,
            .defaultValue = defaultValue};
}

constexpr ParameterRow Selector(int address, std::string_view comboBox, Block selects, int lastIndex) {
    return {.address = address,
            .name = comboBox,
            .editKind = EditKind::Selector,
            .editControl = comboBox,
            .minimum = 0,
            .maximum = lastIndex,
            .format = None,
            .selects = selects};
}

constexpr ParameterRow ChoiceRow(int address, std::string_view name, std::span<const Choice> choices,
                                 int defaultValue) {
    return {.address = address,
            .name = name,
            .editKind = EditKind::ChoiceLabels,
            .choices = choices,
            .minimum = 0,
            .maximum = static_cast<int>(choices.size()) - 1,
            .format = SelectionColour,
            .valueWidth = ValueWidth::FourBytes,
            .defaultValue = defaultValue};
}

// The four switches of the bottom row show their state by colour alone.
constexpr ParameterRow ColourSwitch(int address, std::string_view label, int defaultValue) {
    return {.address = address,
            .name = label,
            .editKind = EditKind::SwitchLabel,
            .editControl = label,
            .displayControl = label,
            .minimum = 0,
            .maximum = 1,
            .format = Switch,
            .valueWidth = ValueWidth::FourBytes,
            .defaultValue = defaultValue,
            .on = {"", kRed, "ON"},
            .off = {"", kGrey, "OFF"}};
}

// The two music switches show their state by caption and colour.
constexpr ParameterRow CaptionSwitch(int address, std::string_view name, std::string_view captionLabel,
                                     std::string_view label, SwitchLook on, SwitchLook off, SwitchTest onWhen) {
    return {.address = address,
            .block = Block::Music,
            .name = name,
            .captionLabel = captionLabel,
            .editKind = EditKind::SwitchLabel,
            .editControl = label,
            .displayControl = label,
            .minimum = 0,
            .maximum = 1,
            .format = Switch,
            .valueWidth = ValueWidth::FourBytes,
            .on = on,
            .off = off,
            .onWhen = onWhen};
}

// The vertical block sliders: device value = constant - position.
constexpr ParameterRow Slider(Block block, MusicPage page, int address, std::string_view name,
                              std::string_view captionLabel, std::string_view slider, std::string_view box, int minimum,
                              int maximum, int constant, DisplayFormat format, int defaultValue,
                              std::optional<SliderRange> shownRange = std::nullopt,
                              OnlineTest onlineTest = OnlineTest::Present,
                              SetDisplaySource source = SetDisplaySource::Position) {
    return {.address = address,
            .block = block,
            .page = page,
            .name = name,
            .captionLabel = captionLabel,
            .editKind = EditKind::Slider,
            .editControl = slider,
            .displayControl = box,
            .minimum = minimum,
            .maximum = maximum,
            .rule = ValueRule::ConstantMinusPosition,
            .constant = constant,
            .format = format,
            .setDisplaySource = source,
            .defaultValue = defaultValue,
            .onlineTest = onlineTest,
            .shownRange = shownRange};
}

constexpr ParameterRow Mic(int address, std::string_view name, std::string_view captionLabel, std::string_view slider,
                           std::string_view box, int minimum, int maximum, int constant, DisplayFormat format,
                           int defaultValue) {
    return Slider(Block::Mic, MusicPage::None, address, name, captionLabel, slider, box, minimum, maximum, constant,
                  format, defaultValue);
}

constexpr ParameterRow Ktv(Block type, int address, std::string_view name, std::string_view captionLabel,
                           std::string_view slider, std::string_view box, int minimum, int maximum, int constant,
                           DisplayFormat format, int defaultValue, std::optional<SliderRange> shownRange) {
    return Slider(type, MusicPage::None, address, name, captionLabel, slider, box, minimum, maximum, constant, format,
                  defaultValue, shownRange);
}

constexpr ParameterRow Music(MusicPage page, int address, std::string_view name, std::string_view captionLabel,
                             std::string_view slider, std::string_view box, int minimum, int maximum, int constant,
                             DisplayFormat format, int defaultValue, std::optional<SliderRange> shownRange,
                             OnlineTest onlineTest, SetDisplaySource source) {
    return Slider(Block::Music, page, address, name, captionLabel, slider, box, minimum, maximum, constant, format,
                  defaultValue, shownRange, onlineTest, source);
}

constexpr Block A = Block::KtvTypeA;
constexpr Block B = Block::KtvTypeB;
constexpr MusicPage Eq = MusicPage::Equaliser;
constexpr MusicPage Aux = MusicPage::Auxiliary;
constexpr OnlineTest Tested = OnlineTest::Present;
constexpr OnlineTest Untested = OnlineTest::Absent;
constexpr SetDisplaySource FromPosition = SetDisplaySource::Position;
constexpr SetDisplaySource FromField = SetDisplaySource::StoredValue;
constexpr std::optional<SliderRange> Kept = std::nullopt;
// The ranges that the 均衡 page gives back to the sliders that the 辅助 page re-ranges, and the 辅助 page's.
constexpr SliderRange EqBand = {21, 1, 1};
constexpr SliderRange AuxVolume = {81, 1, 4};

// One row per address. The KTV sliders appear twice (type A and type B), the eight music page sliders
// twice (均衡 and 辅助 page); which of the two rows a slider edits depends on the active view.
// clang-format off
constexpr std::array<ParameterRow, 66> kRows = {{
    // address, name, slider, value box, maximum box, default
    Volume(1, "Eff_Vol",   "Eff_Vol调节",   "Eff_Vol显示",   "Eff_Vol_set_Max",   38),
    Volume(2, "Mic_Vol",   "Mic_Vol调节",   "Mic_Vol显示",   "Mic_Vol_set_Max",   30),
    Volume(3, "Music_Vol", "Music_Vol调节", "Music_Vol显示", "Music_Vol_set_Max", 20),
    // address, name, box, maximum box of a minimum box, default
    Limit(4, "Eff_Vol Min",   "Eff_Vol_set_Min",   "Eff_Vol_set_Max",   38),
    Limit(5, "Eff_Vol Max",   "Eff_Vol_set_Max",   "",                  80),
    Limit(6, "Mic_Vol Min",   "Mic_Vol_set_Min",   "Mic_Vol_set_Max",   30),
    Limit(7, "Mic_Vol Max",   "Mic_Vol_set_Max",   "",                  80),
    Limit(8, "Music_Vol Min", "Music_Vol_set_Min", "Music_Vol_set_Max", 20),
    Limit(9, "Music_Vol Max", "Music_Vol_set_Max", "",                  80),
    // address, combo box, the block whose modes it lists, last index
    Selector(10, "KTV_MODE1",   A,            7),
    Selector(11, "MIC_MODE1",   Block::Mic,   5),
    Selector(12, "MUSIC_MODE1", Block::Music, 5),
    Selector(13, "KTV_MODE",    A,            7),
    Selector(14, "MIC_MODE",    Block::Mic,   5),
    Selector(15, "MUSIC_MODE",  Block::Music, 5),
    ChoiceRow(16, "Source", kSourceChoices, 0),
    ColourSwitch(17, "FBX", 1),
    ColourSwitch(18, "EX",  1),
    ChoiceRow(19, "Key", kKeyChoices, 5),
    ColourSwitch(20, "Mute", 0),
    ColourSwitch(21, "Lock", 0),
    // address, caption, caption label, slider, value box, minimum, maximum, constant, format, default
    Mic(22, "57HZ",       "标签62", "滑块条19", "编辑框29", 1, 21, 21, SignedDb, 10),
    Mic(23, "134HZ",      "标签64", "滑块条18", "编辑框28", 1, 21, 21, SignedDb, 10),
    Mic(24, "400HZ",      "标签65", "滑块条17", "编辑框27", 1, 21, 21, SignedDb, 10),
    Mic(25, "1KHZ",       "标签66", "滑块条16", "编辑框26", 1, 21, 21, SignedDb, 10),
    Mic(26, "2.5KHZ",     "标签67", "滑块条20", "编辑框30", 1, 21, 21, SignedDb, 10),
    Mic(27, "6.3KHZ",     "标签68", "滑块条15", "编辑框25", 1, 21, 21, SignedDb, 10),
    Mic(28, "10KHZ",      "标签69", "滑块条13", "编辑框23", 1, 21, 21, SignedDb, 10),
    Mic(29, "MIC H_Cure", "标签91", "滑块条14", "编辑框24", 0, 3,  3,  Db,       1),
    Mic(30, "MIC Lowcut", "标签92", "滑块条12", "编辑框22", 2, 15, 17, TensOfHz, 10),
    // type, address, caption, caption label, slider, value box, minimum, maximum, constant, format, default,
    // the range the type's layout gives the slider
    Ktv(A, 31, "EchoA Rep",   "标签99",  "滑块条30", "编辑框40", 1, 15,  16,  Plain,        10, Kept),
    Ktv(A, 32, "EchoA Dly",   "标签100", "滑块条29", "编辑框39", 1, 16,  16,  Delay,        10, Kept),
    Ktv(A, 33, "EchoA Vol",   "标签101", "滑块条28", "编辑框38", 0, 80,  80,  Plain,        40, Kept),
    Ktv(A, 34, "EchoB Vol",   "标签102", "滑块条27", "编辑框37", 0, 80,  80,  Plain,        40, Kept),
    Ktv(A, 35, "EchoB H_Cut", "标签103", "滑块条26", "编辑框36", 0, 100, 100, Plain,        50, SliderRange{100, 0, 5}),
    Ktv(A, 36, "EchoB L/R",   "标签104", "滑块条21", "编辑框31", 0, 127, 127, Plain,        50, SliderRange{127, 0, 6}),
    Ktv(A, 37, "EchoB Rep",   "标签105", "滑块条25", "编辑框35", 0, 100, 100, Plain,        50, SliderRange{100, 0, 5}),
    Ktv(A, 38, "EchoB Dly",   "标签98",  "滑块条24", "编辑框34", 0, 127, 127, MsTimesThree, 30, SliderRange{127, 0, 6}),
    Ktv(B, 39, "Echo Rep",    "标签99",  "滑块条30", "编辑框40", 1, 15,  16,  Plain,        10, Kept),
    Ktv(B, 40, "Echo Dly",    "标签100", "滑块条29", "编辑框39", 1, 16,  16,  Delay,        10, Kept),
    Ktv(B, 41, "Echo Vol",    "标签101", "滑块条28", "编辑框38", 0, 80,  80,  Plain,        40, Kept),
    Ktv(B, 42, "Rev Vol",     "标签102", "滑块条27", "编辑框37", 0, 80,  80,  Plain,        40, Kept),
    Ktv(B, 43, "Rev1 Time",   "标签103", "滑块条26", "编辑框36", 0, 60,  60,  Seconds,      20, SliderRange{60, 0, 3}),
    Ktv(B, 44, "Rev2 Time",   "标签104", "滑块条21", "编辑框31", 0, 60,  60,  Seconds,      30, SliderRange{60, 0, 3}),
    Ktv(B, 45, "Rev3 Time",   "标签105", "滑块条25", "编辑框35", 0, 60,  60,  Seconds,      40, SliderRange{60, 0, 3}),
    Ktv(B, 46, "Rev Dly",     "标签98",  "滑块条24", "编辑框34", 0, 40,  40,  Plain,        40, SliderRange{40, 0, 2}),
    Ktv(B, 47, "Rev H Cut1",  "标签97",  "滑块条23", "编辑框33", 0, 100, 100, Plain,        50, Kept),
    Ktv(B, 48, "Rev H Cut2",  "标签106", "滑块条22", "编辑框32", 0, 100, 100, Plain,        50, Kept),
    // page, address, caption, caption label, slider, value box, minimum, maximum, constant, format, default,
    // the range the page gives the slider, online test, set display source
    Music(Eq,  49, "57HZ",          "标签3",  "滑块条4",  "编辑框14", 1, 21, 21, SignedDb, 10, EqBand,    Tested,   FromPosition),
    Music(Eq,  50, "134HZ",         "标签10", "滑块条5",  "编辑框15", 1, 21, 21, SignedDb, 10, EqBand,    Untested, FromPosition),
    Music(Eq,  51, "400HZ",         "标签4",  "滑块条6",  "编辑框16", 1, 21, 21, SignedDb, 10, Kept,      Untested, FromPosition),
    Music(Eq,  52, "1KHZ",          "标签5",  "滑块条7",  "编辑框17", 1, 21, 21, SignedDb, 10, Kept,      Untested, FromPosition),
    Music(Eq,  53, "2.5KHZ",        "标签6",  "滑块条8",  "编辑框18", 1, 21, 21, SignedDb, 10, Kept,      Untested, FromPosition),
    Music(Eq,  54, "6.3KHZ",        "标签7",  "滑块条9",  "编辑框19", 1, 21, 21, SignedDb, 10, EqBand,    Untested, FromPosition),
    Music(Eq,  55, "16KHZ",         "标签8",  "滑块条10", "编辑框20", 1, 21, 21, SignedDb, 10, EqBand,    Untested, FromPosition),
    // The letter O, not the digit zero that the window definition starts 标签22 with.
    CaptionSwitch(56, "EFF In C",   "标签11", "标签2",  {"ON", kRed, "ON"},       {"OFF", kBlack, "OFF"},   SwitchTest::NotZero),
    CaptionSwitch(57, "SUB Invert", "标签12", "标签22", {" 180°", kRed, "180°"}, {"  O°", kBlack, "O°"}, SwitchTest::One),
    Music(Aux, 58, "C_Music_Vol",   "标签3",  "滑块条4",  "编辑框14", 1, 81, 81, Plain,    40, AuxVolume, Tested,   FromField),
    Music(Aux, 59, "C_Mic_Vol",     "标签10", "滑块条5",  "编辑框15", 1, 81, 81, Plain,    40, AuxVolume, Tested,   FromField),
    Music(Aux, 60, "C_Bass",        "标签4",  "滑块条6",  "编辑框16", 1, 21, 21, SignedDb, 10, Kept,      Untested, FromPosition),
    Music(Aux, 61, "C_Mid",         "标签5",  "滑块条7",  "编辑框17", 1, 21, 21, SignedDb, 10, Kept,      Untested, FromPosition),
    Music(Aux, 62, "C_Treble",      "标签6",  "滑块条8",  "编辑框18", 1, 21, 21, SignedDb, 10, Kept,      Untested, FromPosition),
    Music(Aux, 63, "SUB Freq",      "标签7",  "滑块条9",  "编辑框19", 2, 23, 25, TensOfHz, 10, SliderRange{23, 2, 1}, Untested, FromField),
    Music(Aux, 64, "SUB MicON Vol", "标签8",  "滑块条10", "编辑框20", 1, 81, 81, Plain,    10, AuxVolume, Untested, FromField),
    Music(Aux, 65, "SUB Vol",       "标签9",  "滑块条11", "编辑框21", 1, 81, 81, Plain,    40, AuxVolume, Untested, FromField),
    Music(Eq,  66, "Out Limit",     "标签9",  "滑块条11", "编辑框21", 0, 6,  6,  Level,    3,  SliderRange{6, 0, 1}, Untested, FromPosition),
}};
// clang-format on

constexpr bool AddressesAreInOrder() {
    for (std::size_t index = 0; index < kRows.size(); ++index)
        if (kRows[index].address != static_cast<int>(index) + 1)
            return false;
    return true;
}
static_assert(AddressesAreInOrder(), "Row() indexes the rows by address");

bool EditsRow(const ParameterRow& row, std::string_view control) {
    if (control.empty())
        return false;
    if (row.editControl == control)
        return true;
    for (const Choice& choice : row.choices)
        if (choice.label == control)
            return true;
    return false;
}

bool RowIsActive(const ParameterRow& row, const ActiveView& view) {
    if (row.page != MusicPage::None)
        return row.page == view.musicPage;
    if (row.block == Block::KtvTypeA || row.block == Block::KtvTypeB)
        return row.block == KtvBlockOfSelectorIndex(view.ktvSelectorIndex);
    return true;
}

} // namespace

std::span<const ParameterRow> ParameterRows() { return kRows; }

const ParameterRow& Row(int address) { return kRows.at(static_cast<std::size_t>(address - 1)); }

std::vector<const ParameterRow*> RowsOfControl(std::string_view control) {
    std::vector<const ParameterRow*> rows;
    for (const ParameterRow& row : kRows)
        if (EditsRow(row, control))
            rows.push_back(&row);
    return rows;
}

const ParameterRow* RowOfControl(std::string_view control, const ActiveView& view) {
    const std::vector<const ParameterRow*> rows = RowsOfControl(control);
    // Rev H Cut1/2 exist only in type B: their handlers address the type B rows whatever the index.
    if (rows.size() == 1)
        return rows.front();
    for (const ParameterRow* row : rows)
        if (RowIsActive(*row, view))
            return row;
    return nullptr;
}

std::optional<int> ChoiceValueOfLabel(const ParameterRow& row, std::string_view label) {
    for (std::size_t value = 0; value < row.choices.size(); ++value)
        if (row.choices[value].label == label)
            return static_cast<int>(value);
    return std::nullopt;
}

int FieldOffset(const ParameterRow& row) { return FieldWidth * (row.address - LayoutOf(row.block).addresses.first); }

std::optional<FieldLocation> LocateField(const ParameterRow& row, int selectorIndex) {
    const std::optional<int> channel = ChannelOfSelectorIndex(row.block, selectorIndex);
    const std::optional<int> firstPosition = ModeFirstPosition(row.block, selectorIndex);
    if (!channel || !firstPosition)
        return std::nullopt;
    const int position = *firstPosition + FieldOffset(row);
    return FieldLocation{*channel, FieldAtPosition(position), position};
}

std::int32_t DeviceValueOfPosition(const ParameterRow& row, int position) {
    return row.rule == ValueRule::ConstantMinusPosition ? row.constant - position : position;
}

std::int32_t PositionOfDeviceValue(const ParameterRow& row, double value) {
    return TruncToInt(row.rule == ValueRule::ConstantMinusPosition ? row.constant - value : value);
}

std::optional<Text> HandlerDisplayText(const ParameterRow& row, int position) {
    return FormatDisplay(row.format, position, DeviceValueOfPosition(row, position), LookupBounds::RuntimeError);
}

std::optional<Text> SetDisplayText(const ParameterRow& row, double storedValue, int position) {
    const double value =
        row.setDisplaySource == SetDisplaySource::StoredValue ? storedValue : DeviceValueOfPosition(row, position);
    return FormatDisplay(row.format, position, value, LookupBounds::DefaultEntry);
}

bool SwitchIsOn(const ParameterRow& row, double value) {
    if (row.onWhen == SwitchTest::One)
        return std::abs(value - 1) <= kValueTolerance;
    return std::abs(value) > kValueTolerance;
}

} // namespace ep
