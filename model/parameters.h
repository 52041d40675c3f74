#pragma once
/// The ParameterTable: one constant row for each of the 66 parameter addresses, naming the control that
/// edits it, the control that shows it, its range, device-value rule, display format, the range and
/// caption the window gives it when it shows its page or layout, how its value goes out and its default,
/// with the lookups from a control to its row and from a row to its channel, field, value and text.
/// Controls are named by their names in the window definition; nothing here touches a control.

#include "model/blocks.h"
#include "model/display_formats.h"
#include "runtime/value.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ep {

/// How the parameter is edited; it decides the family of the handler bound to its control.
enum class EditKind { Slider, LimitBox, Selector, ChoiceLabels, SwitchLabel };

/// The page of the eight shared music sliders a row belongs to; None for rows off the pages.
enum class MusicPage { None, Equaliser, Auxiliary };

/// The device value of a slider position: the position itself, or the row's constant minus it (the
/// vertical sliders carry their largest value at the top, where the position is smallest).
enum class ValueRule { Position, ConstantMinusPosition };

/// What the set display computes a row's text from: the slider position read back after the store
/// (clamped by the slider), or the value stored in the field.
enum class SetDisplaySource { Position, StoredValue };

/// How the value item of the row's frame goes out: one byte, or the 32-bit integer of the switch and
/// choice handlers.
enum class ValueWidth { OneByte, FourBytes };

/// Whether the row's handler sends only while online. A few music page rows send regardless.
enum class OnlineTest { Present, Absent };

/// A slider range as the window writes it: maximum, minimum, tick frequency, in that order.
struct SliderRange {
    int maximum = 0;
    int minimum = 0;
    int tickFrequency = 0;
};

/// A label of a choice row and the caption it shows.
struct Choice {
    std::string_view label;
    std::string_view caption;
};

/// What a switch label shows in one state: the caption (empty: the caption is left alone) and the text
/// colour; text is how the state reads when written down ("ON", " 180°").
struct SwitchLook {
    std::string_view caption;
    std::int32_t colour = 0;
    std::string_view text;
};

/// When a switch field reads as on.
enum class SwitchTest { NotZero, One };

struct ParameterRow {
    int address = 0;
    Block block = Block::Global;
    MusicPage page = MusicPage::None;
    /// The parameter's name; for a block row also the caption its caption label shows.
    std::string_view name{};
    std::string_view captionLabel{};
    EditKind editKind = EditKind::Slider;
    /// The editing control; empty for the choice rows, which are edited by their choices' labels.
    std::string_view editControl{};
    /// The labels of a choice row, in the order of the values they set (0, 1, ...).
    std::span<const Choice> choices{};
    /// The value box (for the limit boxes and switch labels, the editing control itself).
    std::string_view displayControl{};
    /// The maximum box that limits this parameter: the volume sliders' and the minimum boxes'.
    std::string_view limitControl{};
    int minimum = 0;
    int maximum = 0;
    ValueRule rule = ValueRule::Position;
    int constant = 0; ///< the K of ValueRule::ConstantMinusPosition
    DisplayFormat format = DisplayFormat::None;
    SetDisplaySource setDisplaySource = SetDisplaySource::Position;
    ValueWidth valueWidth = ValueWidth::OneByte;
    int defaultValue = 0;
    OnlineTest onlineTest = OnlineTest::Present;
    /// The range the window gives the slider when it shows the row's page or KTV layout; empty where the
    /// window definition's range stays.
    std::optional<SliderRange> shownRange{};
    /// A switch row's two states and when its field reads as on.
    SwitchLook on{};
    SwitchLook off{};
    SwitchTest onWhen = SwitchTest::NotZero;
    /// The block whose mode a selector row chooses (KtvTypeA stands for both KTV types).
    Block selects = Block::Global;
};

/// The key parameter, which the device can ask to return to its neutral value.
inline constexpr int kKeyAddress = 19;
inline constexpr std::int32_t kNeutralKey = 5;
inline constexpr int kMuteAddress = 20;

/// All 66 rows, in address order (row i has address i + 1).
std::span<const ParameterRow> ParameterRows();

/// The row of an address 1..66.
const ParameterRow& Row(int address);

/// What decides which row a shared slider stands for at the moment.
struct ActiveView {
    int ktvSelectorIndex = 0;                   ///< `KTV_MODE`'s index: type B rows above 3
    MusicPage musicPage = MusicPage::Equaliser; ///< the page whose label is highlighted
};

/// Every row that the control edits: one, or two for the KTV sliders (types A and B) and the music
/// page sliders (均衡 and 辅助 page), in address order.
std::vector<const ParameterRow*> RowsOfControl(std::string_view control);

/// The row the control edits in the active view; null when it edits none there.
const ParameterRow* RowOfControl(std::string_view control, const ActiveView& view);

/// The value that a label of a choice row sets; empty when the label is not one of the row's.
std::optional<int> ChoiceValueOfLabel(const ParameterRow& row, std::string_view label);

/// Characters from the mode's first character to the row's field.
int FieldOffset(const ParameterRow& row);

/// Where a row's value lives for the selector index of its block (ignored for the globals).
struct FieldLocation {
    int channel = 0;  ///< the frame's channel byte
    int field = 0;    ///< 1..255
    int position = 0; ///< the field's first character, 1-based
};

/// The row's channel byte, field and character position; empty when the index selects no mode of the
/// row's block (for the KTV rows, also a mode of the other type).
std::optional<FieldLocation> LocateField(const ParameterRow& row, int selectorIndex);

/// The device value of a slider position (also of a selected index or box number: the rule is then the
/// position itself).
std::int32_t DeviceValueOfPosition(const ParameterRow& row, int position);

/// The slider position that gives a device value, truncated toward zero; the slider clamps it.
std::int32_t PositionOfDeviceValue(const ParameterRow& row, double value);

/// The text a change handler shows for a slider position; lookups outside `DbStepTable` or
/// `DelayTextTable` are runtime errors. Empty for rows without a text and for an Out Limit position
/// outside 0..6.
std::optional<Text> HandlerDisplayText(const ParameterRow& row, int position);

/// The text the set display shows for a row, from the field's stored value and the slider position
/// read back after the store; lookups outside the tables use their middle entries.
std::optional<Text> SetDisplayText(const ParameterRow& row, double storedValue, int position);

/// Whether a switch row's field value reads as on.
bool SwitchIsOn(const ParameterRow& row, double value);

} // namespace ep
