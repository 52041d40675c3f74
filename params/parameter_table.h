#pragma once
/// The ParameterTable: one constant row for each of the 66 parameter addresses, naming the control that
/// edits it, the control that shows it, its range, device-value rule, display format, field and default,
/// and the lookups from a control to its row and from a row to its channel, field, value and text.
/// Controls are named by their names in the window definition; nothing here touches a control.

#include "params/display_formats.h"
#include "params/effect_set_layout.h"
#include "runtime/value.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ep {

/// How the parameter is edited; it decides the event that runs the row's handler.
enum class EditKind { Slider, LimitBox, Selector, ChoiceLabels, SwitchLabel };

/// The control events that edit parameters.
enum class EditEvent { PositionChanged, ContentChanged, ListClosed, LeftButtonPressed };

/// The page of the eight shared music sliders a row belongs to; None for rows off the pages, and for a
/// window where neither page label is highlighted.
enum class MusicPage { None, Equaliser, Auxiliary };

/// The device value of a slider position: the position itself, or the row's constant minus it (the
/// vertical sliders carry their largest value at the top, where the position is smallest).
enum class ValueRule { Position, ConstantMinusPosition };

/// What the set display computes a row's text from: the slider position read back after the store
/// (clamped by the slider), or the value stored in the field.
enum class SetDisplaySource { Position, StoredValue };

/// How the value item of the row's frame goes out.
enum class ValueWidth { OneByte, FourBytes };

/// Whether the row's handler sends only while online. A few music page rows send regardless.
enum class OnlineTest { Present, Absent };

struct ParameterRow {
    int address = 0;
    Block block = Block::Global;
    MusicPage page = MusicPage::None;
    /// The caption that the row's caption label shows; for rows without one, the parameter's name.
    std::string_view name{};
    std::string_view captionLabel{};
    EditKind editKind = EditKind::Slider;
    /// The editing control; empty for the choice rows, which are edited by their `choiceLabels`.
    std::string_view editControl{};
    /// The labels of a choice row, in the order of the values they set (0, 1, ...).
    std::span<const std::string_view> choiceLabels{};
    EditEvent editEvent = EditEvent::PositionChanged;
    /// The value box (or, for the limit boxes and switch labels, the editing control itself).
    std::string_view displayControl{};
    /// The maximum box that limits this parameter: the volume sliders' and the minimum boxes'.
    std::string_view limitControl{};
    int minimum = 0;
    int maximum = 0;
    ValueRule rule = ValueRule::Position;
    int constant = 0; ///< the K of ValueRule::ConstantMinusPosition
    DisplayFormat format = DisplayFormat::None;
    SetDisplaySource setDisplaySource = SetDisplaySource::Position;
    /// Characters from the mode's first character to the field (3 x address - 3 for the globals).
    int fieldOffset = 0;
    ValueWidth valueWidth = ValueWidth::OneByte;
    int defaultValue = 0;
    OnlineTest onlineTest = OnlineTest::Present;
};

/// The caption and colour a switch label shows in each state; an empty caption leaves the caption alone.
struct SwitchStates {
    int address = 0;
    std::string_view control{};
    std::string_view onCaption{};
    std::uint32_t onColour = 0;
    std::string_view offCaption{};
    std::uint32_t offColour = 0;
};

/// Label text colours (0x00BBGGRR).
inline constexpr std::uint32_t ColourRed = 255;
inline constexpr std::uint32_t ColourGrey = 0x808080;
inline constexpr std::uint32_t ColourBlack = 0;
inline constexpr std::uint32_t ColourPageHighlight = 0xFF8800;

/// All 66 rows, in address order (row i has address i + 1).
std::span<const ParameterRow> ParameterRows();

/// The row of an address 1..66; null for any other address.
const ParameterRow* RowOfAddress(int address);

/// The six switch labels (FBX, EX, Mute, Lock, EFF In C, SUB Invert).
std::span<const SwitchStates> SwitchLabels();

/// The states of the switch row of the address; null when the address is not a switch.
const SwitchStates* SwitchStatesOfAddress(int address);

/// The mode selector of a block ("MIC_MODE", "KTV_MODE", "MUSIC_MODE"); empty for the globals.
std::string_view SelectorOfBlock(Block block);

/// What decides which row a shared slider stands for at the moment.
struct ActiveView {
    int ktvSelectorIndex = 0;                   ///< `KTV_MODE`'s index: type B rows above 3
    MusicPage musicPage = MusicPage::Equaliser; ///< the page whose label is highlighted
};

/// Every row that the control edits: one, or two for the KTV sliders (types A and B) and the music
/// page sliders (均衡 and 辅助 page), in address order.
std::vector<const ParameterRow*> RowsOfControl(std::string_view control);

/// The row the control edits in the active view; null when it edits none there (a music page slider
/// while neither page is highlighted, or a control that edits no parameter).
const ParameterRow* RowOfControl(std::string_view control, const ActiveView& view);

/// The value that a label of a choice row sets; empty when the label is not one of the row's.
std::optional<int> ChoiceValueOfLabel(const ParameterRow& row, std::string_view label);

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

/// The event number of an edit event in the window's bindings (kind events from 0, common ones below).
int EventNumber(EditEvent event);

} // namespace ep
