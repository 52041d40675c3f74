#include "handlers/label_handlers.h"

#include "handlers/parameter_frame.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "model/colours.h"
#include "runtime/conversions.h"
#include "sets/set_fields.h"

namespace ep {
namespace {

Colour TextColourOf(const Control& label) { return label.readInt(prop::translabel::TextColour); }

/// The row of a label of that kind, or null.
const ParameterRow* LabelRow(const Control& label, EditKind kind) {
    const ParameterRow* row = RowOfControl(label.name(), ActiveView{});
    return row != nullptr && row->editKind == kind ? row : nullptr;
}

} // namespace

void ColourSwitchPressed(const EventContext& context) {
    Control& label = context.source;
    const ParameterRow* row = LabelRow(label, EditKind::SwitchLabel);
    if (row == nullptr)
        return;
    const bool wasOn = TextColourOf(label) == row->on.colour;
    label.write(prop::translabel::TextColour, wasOn ? row->off.colour : row->on.colour);
    if (IsOnline())
        SendGlobal(*row, wasOn ? 0 : 1);
}

void MuteSwitchPressed(const EventContext& context) {
    Control& label = context.source;
    const ParameterRow& mute = Row(kMuteAddress);
    const bool wasMuted = TextColourOf(label) == mute.on.colour;
    label.write(prop::translabel::TextColour, wasMuted ? mute.off.colour : mute.on.colour);
    // Unmuting brings back the levels the EffectSet holds; muting sends none of them.
    for (const int address : {3, 2, 1}) {
        const ParameterRow& volume = Row(address);
        Control& slider = ControlNamed(Text(volume.editControl));
        slider.write(prop::slider::Position, wasMuted ? TruncToInt(FieldAt(FieldPosition(address))) : 0);
        ControlNamed(Text(volume.displayControl))
            .write(prop::editbox::Content, ToText(Value(slider.readInt(prop::slider::Position))));
    }
    if (IsOnline())
        SendGlobal(mute, wasMuted ? 0 : 1);
}

void CaptionSwitchPressed(const EventContext& context) {
    Control& label = context.source;
    const ParameterRow* row = LabelRow(label, EditKind::SwitchLabel);
    if (row == nullptr)
        return;
    const bool wasOn = label.readText(prop::translabel::Caption) == row->on.caption;
    const SwitchLook& look = wasOn ? row->off : row->on;
    label.write(prop::translabel::Caption, Text(look.caption));
    label.write(prop::translabel::TextColour, look.colour);
    const int index = SelectorIndex(row->block);
    if (LocateField(*row, index) && IsOnline())
        SendParameterAndWriteField(index, row->address, wasOn ? 0 : 1, row->valueWidth,
                                   BlockStart(row->block) + FieldOffset(*row));
}

void ChoiceLabelPressed(const EventContext& context) {
    const ParameterRow* row = LabelRow(context.source, EditKind::ChoiceLabels);
    if (row == nullptr)
        return;
    const int chosen = *ChoiceValueOfLabel(*row, context.source.name());
    if (row->address == kKeyAddress)
        KeyChanged = chosen == kNeutralKey ? 0 : 1;
    if (IsOnline())
        SendGlobal(*row, chosen);
    for (std::size_t value = 0; value < row->choices.size(); ++value)
        ControlNamed(Text(row->choices[value].label))
            .write(prop::translabel::TextColour, static_cast<int>(value) == chosen ? kRed : kGrey);
}

} // namespace ep
