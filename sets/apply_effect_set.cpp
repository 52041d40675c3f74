#include "sets/apply_effect_set.h"

#include "model/colours.h"
#include "model/controls.h"
#include "model/layouts.h"
#include "runtime/conversions.h"
#include "sets/set_fields.h"

namespace ep {

std::int32_t SetLoaded = 0;

namespace {

int GlobalPosition(const ParameterRow& row) { return FieldPosition(row.address); }

/// A slider row of a block: the slider placed for the field's value, the value box from the position
/// the slider shows (or from the value, for the rows that show it).
void ShowSliderRow(const ParameterRow& row, int fieldPosition) {
    const double value = FieldAt(fieldPosition);
    const int position = PlaceSlider(row.editControl, PositionOfDeviceValue(row, value));
    if (const auto text = SetDisplayText(row, value, position))
        SetContent(row.displayControl, *text);
}

/// A row of a music page or a KTV layout: its caption, the range the page or layout gives its slider,
/// then the slider and value box.
void ShowRelabelledRow(const ParameterRow& row, int blockStart) {
    SetCaption(row.captionLabel, row.name);
    if (row.shownRange)
        SetSliderRange(row.editControl, *row.shownRange);
    ShowSliderRow(row, blockStart + FieldOffset(row));
}

void ShowVolume(const ParameterRow& row) {
    // The box shows what the slider shows, also for a field beyond the slider's range.
    const int position = PlaceSlider(row.editControl, PositionOfDeviceValue(row, FieldAt(GlobalPosition(row))));
    SetContent(row.displayControl, ToText(Value(position)));
}

void ShowChoice(const ParameterRow& row) {
    for (int value = 0; value < static_cast<int>(row.choices.size()); ++value) {
        if (!FieldEquals(GlobalPosition(row), value))
            continue;
        for (int other = 0; other < static_cast<int>(row.choices.size()); ++other)
            SetTextColour(row.choices[static_cast<std::size_t>(other)].label, other == value ? kRed : kGrey);
    }
}

void ShowSwitch(const ParameterRow& row, int fieldPosition) {
    const SwitchLook& look = SwitchIsOn(row, FieldAt(fieldPosition)) ? row.on : row.off;
    if (!look.caption.empty())
        SetCaption(row.displayControl, look.caption);
    SetTextColour(row.displayControl, look.colour);
}

void ShowPageLook(const MusicPageLook& look) {
    for (const std::string_view mark : kMiddleScaleMarks)
        SetVisible(mark, look.middleMarksVisible);
    for (const auto& [label, caption] : look.scaleCaptions)
        SetCaption(label, caption);
}

void ShowPage(MusicPage page) {
    const int start = BlockStart(Block::Music);
    for (const ParameterRow& row : ParameterRows())
        if (row.page == page)
            ShowRelabelledRow(row, start);
}

} // namespace

void HighlightMusicPage(MusicPage page) {
    SetTextColour(controls::EqualiserTab, page == MusicPage::Equaliser ? kTabHighlight : kBlack);
    SetTextColour(controls::AuxiliaryTab, page == MusicPage::Auxiliary ? kTabHighlight : kBlack);
}

void ApplyEffectSet() {
    HighlightMusicPage(MusicPage::Equaliser);
    for (const int address : {3, 2, 1})
        ShowVolume(Row(address));
    // Each maximum before its minimum: the minimum's handler holds it against the maximum box, which must
    // already show the new set's maximum, not the old one.
    for (const int address : {9, 8, 7, 6, 5, 4})
        SetContent(Row(address).editControl, ToText(Value(FieldAt(GlobalPosition(Row(address))))));
    for (const int address : {12, 11, 10, 15, 14, 13})
        ControlNamed(Text(Row(address).editControl))
            .write(prop::combo::Selection, TruncToInt(FieldAt(GlobalPosition(Row(address)))));
    ShowChoice(Row(16));
    ShowChoice(Row(kKeyAddress));
    for (const int address : {18, 17, 20, 21})
        ShowSwitch(Row(address), GlobalPosition(Row(address)));
    for (const int address : {56, 57})
        ShowSwitch(Row(address), BlockStart(Block::Music) + FieldOffset(Row(address)));
    ShowMusicEqPage();
    ShowMicBlock();
    ShowKtvBlock();
    SetLoaded = 1;
}

void ShowMusicEqPage() {
    ShowPageLook(kEqualiserPageLook);
    ShowPage(MusicPage::Equaliser);
}

void ShowMusicAuxPage() {
    HighlightMusicPage(MusicPage::Auxiliary);
    ShowPageLook(kAuxiliaryPageLook);
    ShowPage(MusicPage::Auxiliary);
}

void ShowMicBlock() {
    const int start = BlockStart(Block::Mic);
    for (const ParameterRow& row : ParameterRows())
        if (row.block == Block::Mic)
            ShowSliderRow(row, start + FieldOffset(row));
}

void ShowKtvBlock() {
    const bool typeB = SelectorIndex(Block::KtvTypeA) > 3;
    const int start = BlockStart(Block::KtvTypeA);
    for (std::size_t column = 0; column < kKtvColumns.size(); ++column) {
        const KtvColumn& place = kKtvColumns[column];
        const KtvPlacement& placement = typeB ? place.typeB : place.typeA;
        const ParameterRow& row =
            Row((typeB ? kKtvTypeBFirstAddress : kKtvTypeAFirstAddress) + static_cast<int>(column));
        SetCaption(row.captionLabel, row.name);
        SetLeft(row.captionLabel, placement.captionLeft);
        SetLeft(place.topScale, placement.scaleLeft);
        SetLeft(place.bottomScale, placement.scaleLeft);
        SetLeft(row.displayControl, placement.boxLeft);
        SetLeft(row.editControl, placement.sliderLeft);
        if (!placement.topScaleCaption.empty())
            SetCaption(place.topScale, placement.topScaleCaption);
        if (row.shownRange)
            SetSliderRange(row.editControl, *row.shownRange);
        ShowSliderRow(row, start + FieldOffset(row));
    }
    if (typeB) {
        for (const int address : {47, 48})
            ShowSliderRow(Row(address), start + FieldOffset(Row(address)));
        for (const std::string_view control : kTypeBOnlyShowOrder)
            SetVisible(control, true);
    } else {
        for (const std::string_view control : kTypeBOnlyHideOrder)
            SetVisible(control, false);
    }
}

} // namespace ep
