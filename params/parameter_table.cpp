#include "params/parameter_table.h"

#include "runtime/conversions.h"

#include <array>
#include <cstddef>

namespace ep {
namespace {

constexpr std::string_view kSourceLabels[] = {"AUTO", "BGM", "AUX"};

constexpr std::string_view kKeyLabels[] = {"key_b5",  "key_b4",  "key_b3",  "key_b2",  "key_b1", "key_井0",
                                           "key_井1", "key_井2", "key_井3", "key_井4", "key_井5"};

using enum DisplayFormat;

constexpr ParameterRow Volume(int address, std::string_view name, std::string_view slider, std::string_view box,
                              std::string_view maximumBox, int defaultValue) {
    return {.address = address,
            .name = name,
            .editKind = EditKind::Slider,
            .editControl = slider,
            .editEvent = EditEvent::PositionChanged,
            .displayControl = box,
            .limitControl = maximumBox,
            .minimum = 0,
            .maximum = 80,
            .format = Plain,
            .fieldOffset = 3 * (address - 1),
            .defaultValue = defaultValue};
}

// A minimum box names its maximum box; a maximum box is limited to 0..80 by its handler.
constexpr ParameterRow Limit(int address, std::string_view name, std::string_view box, std::string_view maximumBox,
                             int defaultValue) {
    return {.address = address,
            .name = name,
            .editKind = EditKind::LimitBox,
            .editControl = box,
            .editEvent = EditEvent::ContentChanged,
            .displayControl = box,
            .limitControl = maximumBox,
            .minimum = 0,
            .maximum = 80,
            .format = Plain,
            .setDisplaySource = SetDisplaySource::StoredValue,
            .fieldOffset = 3 * (address - 1),
            .defaultValue = defaultValue};
}

constexpr ParameterRow Selector(int address, std::string_view name, std::string_view comboBox, int lastIndex) {
    return {.address = address,
            .name = name,
            .editKind = EditKind::Selector,
            .editControl = comboBox,
            .editEvent = EditEvent::ListClosed,
            .minimum = 0,
            .maximum = lastIndex,
            .format = None,
            .fieldOffset = 3 * (address - 1)};
}

constexpr ParameterRow Choice(int address, std::string_view name, std::span<const std::string_view> labels,
                              int defaultValue) {
    return {.address = address,
            .name = name,
            .editKind = EditKind::ChoiceLabels,
            .choiceLabels = labels,
            .editEvent = EditEvent::LeftButtonPressed,
            .minimum = 0,
            .maximum = static_cast<int>(labels.size()) - 1,
            .format = SelectionColour,
            .fieldOffset = 3 * (address - 1),
            .valueWidth = ValueWidth::FourBytes,
            .defaultValue = defaultValue};
}

constexpr ParameterRow LabelSwitch(int address, Block block, std::string_view name, std::string_view captionLabel,
                                   std::string_view label, int fieldOffset, int defaultValue) {
    return {.address = address,
            .block = block,
            .name = name,
            .captionLabel = captionLabel,
            .editKind = EditKind::SwitchLabel,
            .editControl = label,
            .editEvent = EditEvent::LeftButtonPressed,
            .displayControl = label,
            .minimum = 0,
            .maximum = 1,
            .format = Switch,
            .fieldOffset = fieldOffset,
            .valueWidth = ValueWidth::FourBytes,
            .defaultValue = defaultValue};
}

// The vertical block sliders: device value = constant - position.
constexpr ParameterRow Slider(Block block, MusicPage page, int address, std::string_view name,
                              std::string_view captionLabel, std::string_view slider, std::string_view box, int minimum,
                              int maximum, int constant, DisplayFormat format, int fieldOffset, int defaultValue,
                              OnlineTest onlineTest = OnlineTest::Present,
                              SetDisplaySource source = SetDisplaySource::Position) {
    return {.address = address,
            .block = block,
            .page = page,
            .name = name,
            .captionLabel = captionLabel,
            .editKind = EditKind::Slider,
            .editControl = slider,
            .editEvent = EditEvent::PositionChanged,
            .displayControl = box,
            .minimum = minimum,
            .maximum = maximum,
            .rule = ValueRule::ConstantMinusPosition,
            .constant = constant,
            .format = format,
            .setDisplaySource = source,
            .fieldOffset = fieldOffset,
            .defaultValue = defaultValue,
            .onlineTest = onlineTest};
}

constexpr ParameterRow Mic(int address, std::string_view name, std::string_view captionLabel, std::string_view slider,
                           std::string_view box, int minimum, int maximum, int constant, DisplayFormat format,
                           int fieldOffset, int defaultValue) {
    return Slider(Block::Mic, MusicPage::None, address, name, captionLabel, slider, box, minimum, maximum, constant,
                  format, fieldOffset, defaultValue);
}

constexpr ParameterRow Ktv(Block type, int address, std::string_view name, std::string_view captionLabel,
                           std::string_view slider, std::string_view box, int minimum, int maximum, int constant,
                           DisplayFormat format, int fieldOffset, int defaultValue) {
    return Slider(type, MusicPage::None, address, name, captionLabel, slider, box, minimum, maximum, constant, format,
                  fieldOffset, defaultValue);
}

constexpr ParameterRow Music(MusicPage page, int address, std::string_view name, std::string_view captionLabel,
                             std::string_view slider, std::string_view box, int minimum, int maximum, int constant,
                             DisplayFormat format, int fieldOffset, int defaultValue, OnlineTest onlineTest,
                             SetDisplaySource source) {
    return Slider(Block::Music, page, address, name, captionLabel, slider, box, minimum, maximum, constant, format,
                  fieldOffset, defaultValue, onlineTest, source);
}

constexpr Block A = Block::KtvTypeA;
constexpr Block B = Block::KtvTypeB;
constexpr MusicPage Eq = MusicPage::Equaliser;
constexpr MusicPage Aux = MusicPage::Auxiliary;
constexpr OnlineTest Tested = OnlineTest::Present;
constexpr OnlineTest Untested = OnlineTest::Absent;
constexpr SetDisplaySource FromPosition = SetDisplaySource::Position;
constexpr SetDisplaySource FromField = SetDisplaySource::StoredValue;

// One row per address. The KTV sliders appear twice (type A and type B), the eight music page sliders
// twice (均衡 and 辅助 page); which of the two rows a slider edits depends on the active view.
// clang-format off
constexpr std::array<ParameterRow, 66> kRows = {{
    // address, name, slider, value box, maximum box, default
    Volume(1, "Eff_Vol",   "Eff_Vol调节",   "Eff_Vol显示",   "Eff_Vol_set_Max",   38),
    Volume(2, "Mic_Vol",   "Mic_Vol调节",   "Mic_Vol显示",   "Mic_Vol_set_Max",   30),
    Volume(3, "Music_Vol", "Music_Vol调节", "Music_Vol显示", "Music_Vol_set_Max", 20),
    // address, name, box, maximum box of a minimum box, default
    Limit(4, "Eff_Vol minimum",   "Eff_Vol_set_Min",   "Eff_Vol_set_Max",   38),
    Limit(5, "Eff_Vol maximum",   "Eff_Vol_set_Max",   "",                  80),
    Limit(6, "Mic_Vol minimum",   "Mic_Vol_set_Min",   "Mic_Vol_set_Max",   30),
    Limit(7, "Mic_Vol maximum",   "Mic_Vol_set_Max",   "",                  80),
    Limit(8, "Music_Vol minimum", "Music_Vol_set_Min", "Music_Vol_set_Max", 20),
    Limit(9, "Music_Vol maximum", "Music_Vol_set_Max", "",                  80),
    // address, name, combo box, last index
    Selector(10, "KTV mode of the top row",   "KTV_MODE1",   7),
    Selector(11, "MIC mode of the top row",   "MIC_MODE1",   5),
    Selector(12, "MUSIC mode of the top row", "MUSIC_MODE1", 5),
    Selector(13, "KTV block mode",            "KTV_MODE",    7),
    Selector(14, "MIC block mode",            "MIC_MODE",    5),
    Selector(15, "MUSIC block mode",          "MUSIC_MODE",  5),
    Choice(16, "AUTO/BGM/AUX choice", kSourceLabels, 0),
    // address, block, name, caption label, switch label, field offset, default
    LabelSwitch(17, Block::Global, "FBX", "", "FBX", 48, 1),
    LabelSwitch(18, Block::Global, "EX",  "", "EX",  51, 1),
    Choice(19, "Key", kKeyLabels, 5),
    LabelSwitch(20, Block::Global, "Mute", "", "Mute", 57, 0),
    LabelSwitch(21, Block::Global, "Lock", "", "Lock", 60, 0),
    // address, caption, caption label, slider, value box, minimum, maximum, constant, format, field offset, default
    Mic(22, "57HZ",       "标签62", "滑块条19", "编辑框29", 1, 21, 21, SignedDb, 0,  10),
    Mic(23, "134HZ",      "标签64", "滑块条18", "编辑框28", 1, 21, 21, SignedDb, 3,  10),
    Mic(24, "400HZ",      "标签65", "滑块条17", "编辑框27", 1, 21, 21, SignedDb, 6,  10),
    Mic(25, "1KHZ",       "标签66", "滑块条16", "编辑框26", 1, 21, 21, SignedDb, 9,  10),
    Mic(26, "2.5KHZ",     "标签67", "滑块条20", "编辑框30", 1, 21, 21, SignedDb, 12, 10),
    Mic(27, "6.3KHZ",     "标签68", "滑块条15", "编辑框25", 1, 21, 21, SignedDb, 15, 10),
    Mic(28, "10KHZ",      "标签69", "滑块条13", "编辑框23", 1, 21, 21, SignedDb, 18, 10),
    Mic(29, "MIC H_Cure", "标签91", "滑块条14", "编辑框24", 0, 3,  3,  Db,       21, 1),
    Mic(30, "MIC Lowcut", "标签92", "滑块条12", "编辑框22", 2, 15, 17, TensOfHz, 24, 10),
    // type, address, caption, caption label, slider, value box, minimum, maximum, constant, format, field offset,
    // default
    Ktv(A, 31, "EchoA Rep",   "标签99",  "滑块条30", "编辑框40", 1, 15,  16,  Plain,        0,  10),
    Ktv(A, 32, "EchoA Dly",   "标签100", "滑块条29", "编辑框39", 1, 16,  16,  Delay,        3,  10),
    Ktv(A, 33, "EchoA Vol",   "标签101", "滑块条28", "编辑框38", 0, 80,  80,  Plain,        6,  40),
    Ktv(A, 34, "EchoB Vol",   "标签102", "滑块条27", "编辑框37", 0, 80,  80,  Plain,        9,  40),
    Ktv(A, 35, "EchoB H_Cut", "标签103", "滑块条26", "编辑框36", 0, 100, 100, Plain,        12, 50),
    Ktv(A, 36, "EchoB L/R",   "标签104", "滑块条21", "编辑框31", 0, 127, 127, Plain,        15, 50),
    Ktv(A, 37, "EchoB Rep",   "标签105", "滑块条25", "编辑框35", 0, 100, 100, Plain,        18, 50),
    Ktv(A, 38, "EchoB Dly",   "标签98",  "滑块条24", "编辑框34", 0, 127, 127, MsTimesThree, 21, 30),
    Ktv(B, 39, "Echo Rep",    "标签99",  "滑块条30", "编辑框40", 1, 15,  16,  Plain,        0,  10),
    Ktv(B, 40, "Echo Dly",    "标签100", "滑块条29", "编辑框39", 1, 16,  16,  Delay,        3,  10),
    Ktv(B, 41, "Echo Vol",    "标签101", "滑块条28", "编辑框38", 0, 80,  80,  Plain,        6,  40),
    Ktv(B, 42, "Rev Vol",     "标签102", "滑块条27", "编辑框37", 0, 80,  80,  Plain,        9,  40),
    Ktv(B, 43, "Rev1 Time",   "标签103", "滑块条26", "编辑框36", 0, 60,  60,  Seconds,      12, 20),
    Ktv(B, 44, "Rev2 Time",   "标签104", "滑块条21", "编辑框31", 0, 60,  60,  Seconds,      15, 30),
    Ktv(B, 45, "Rev3 Time",   "标签105", "滑块条25", "编辑框35", 0, 60,  60,  Seconds,      18, 40),
    Ktv(B, 46, "Rev Dly",     "标签98",  "滑块条24", "编辑框34", 0, 40,  40,  Plain,        21, 40),
    Ktv(B, 47, "Rev H Cut1",  "标签97",  "滑块条23", "编辑框33", 0, 100, 100, Plain,        24, 50),
    Ktv(B, 48, "Rev H Cut2",  "标签106", "滑块条22", "编辑框32", 0, 100, 100, Plain,        27, 50),
    // page, address, caption, caption label, slider, value box, minimum, maximum, constant, format,
    // field offset, default, online test, set display source
    Music(Eq,  49, "57HZ",          "标签3",  "滑块条4",  "编辑框14", 1, 21, 21, SignedDb, 0,  10, Tested,   FromPosition),
    Music(Eq,  50, "134HZ",         "标签10", "滑块条5",  "编辑框15", 1, 21, 21, SignedDb, 3,  10, Untested, FromPosition),
    Music(Eq,  51, "400HZ",         "标签4",  "滑块条6",  "编辑框16", 1, 21, 21, SignedDb, 6,  10, Untested, FromPosition),
    Music(Eq,  52, "1KHZ",          "标签5",  "滑块条7",  "编辑框17", 1, 21, 21, SignedDb, 9,  10, Untested, FromPosition),
    Music(Eq,  53, "2.5KHZ",        "标签6",  "滑块条8",  "编辑框18", 1, 21, 21, SignedDb, 12, 10, Untested, FromPosition),
    Music(Eq,  54, "6.3KHZ",        "标签7",  "滑块条9",  "编辑框19", 1, 21, 21, SignedDb, 15, 10, Untested, FromPosition),
    Music(Eq,  55, "16KHZ",         "标签8",  "滑块条10", "编辑框20", 1, 21, 21, SignedDb, 18, 10, Untested, FromPosition),
    LabelSwitch(56, Block::Music, "EFF In C",   "标签11", "标签2",  21, 0),
    LabelSwitch(57, Block::Music, "SUB Invert", "标签12", "标签22", 24, 0),
    Music(Aux, 58, "C_Music_Vol",   "标签3",  "滑块条4",  "编辑框14", 1, 81, 81, Plain,    27, 40, Tested,   FromField),
    Music(Aux, 59, "C_Mic_Vol",     "标签10", "滑块条5",  "编辑框15", 1, 81, 81, Plain,    30, 40, Tested,   FromField),
    Music(Aux, 60, "C_Bass",        "标签4",  "滑块条6",  "编辑框16", 1, 21, 21, SignedDb, 33, 10, Untested, FromPosition),
    Music(Aux, 61, "C_Mid",         "标签5",  "滑块条7",  "编辑框17", 1, 21, 21, SignedDb, 36, 10, Untested, FromPosition),
    Music(Aux, 62, "C_Treble",      "标签6",  "滑块条8",  "编辑框18", 1, 21, 21, SignedDb, 39, 10, Untested, FromPosition),
    Music(Aux, 63, "SUB Freq",      "标签7",  "滑块条9",  "编辑框19", 2, 23, 25, TensOfHz, 42, 10, Untested, FromField),
    Music(Aux, 64, "SUB MicON Vol", "标签8",  "滑块条10", "编辑框20", 1, 81, 81, Plain,    45, 10, Untested, FromField),
    Music(Aux, 65, "SUB Vol",       "标签9",  "滑块条11", "编辑框21", 1, 81, 81, Plain,    48, 40, Untested, FromField),
    Music(Eq,  66, "Out Limit",     "标签9",  "滑块条11", "编辑框21", 0, 6,  6,  Level,    51, 3,  Untested, FromPosition),
}};
// clang-format on

constexpr bool AddressesAreInOrder() {
    for (std::size_t index = 0; index < kRows.size(); ++index)
        if (kRows[index].address != static_cast<int>(index) + 1)
            return false;
    return true;
}
static_assert(AddressesAreInOrder(), "RowOfAddress indexes the rows by address");

constexpr std::array<SwitchStates, 6> kSwitchLabels = {{
    {17, "FBX", "", ColourRed, "", ColourGrey},
    {18, "EX", "", ColourRed, "", ColourGrey},
    {20, "Mute", "", ColourRed, "", ColourGrey},
    {21, "Lock", "", ColourRed, "", ColourGrey},
    {56, "标签2", "ON", ColourRed, "OFF", ColourBlack},
    // The letter O, not the digit zero that the window definition starts the label with.
    {57, "标签22", " 180°", ColourRed, "  O°", ColourBlack},
}};

bool EditsRow(const ParameterRow& row, std::string_view control) {
    if (control.empty())
        return false;
    if (row.editControl == control)
        return true;
    for (std::string_view label : row.choiceLabels)
        if (label == control)
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

const ParameterRow* RowOfAddress(int address) {
    if (address < 1 || address > static_cast<int>(kRows.size()))
        return nullptr;
    return &kRows[static_cast<std::size_t>(address - 1)];
}

std::span<const SwitchStates> SwitchLabels() { return kSwitchLabels; }

const SwitchStates* SwitchStatesOfAddress(int address) {
    for (const SwitchStates& states : kSwitchLabels)
        if (states.address == address)
            return &states;
    return nullptr;
}

std::string_view SelectorOfBlock(Block block) {
    switch (block) {
    case Block::Mic:
        return "MIC_MODE";
    case Block::KtvTypeA:
    case Block::KtvTypeB:
        return "KTV_MODE";
    case Block::Music:
        return "MUSIC_MODE";
    case Block::Global:
        break;
    }
    return {};
}

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
    for (std::size_t value = 0; value < row.choiceLabels.size(); ++value)
        if (row.choiceLabels[value] == label)
            return static_cast<int>(value);
    return std::nullopt;
}

std::optional<FieldLocation> LocateField(const ParameterRow& row, int selectorIndex) {
    const std::optional<int> channel = ChannelOfSelectorIndex(row.block, selectorIndex);
    const std::optional<int> firstPosition = ModeFirstPosition(row.block, selectorIndex);
    if (!channel || !firstPosition)
        return std::nullopt;
    const int position = *firstPosition + row.fieldOffset;
    return FieldLocation{*channel, (position + 2) / FieldWidth, position};
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

int EventNumber(EditEvent event) {
    switch (event) {
    case EditEvent::PositionChanged:
    case EditEvent::ContentChanged:
        return 0;
    case EditEvent::ListClosed:
        return 3;
    case EditEvent::LeftButtonPressed:
        break;
    }
    return -1;
}

} // namespace ep
