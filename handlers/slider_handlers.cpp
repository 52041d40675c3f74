#include "handlers/slider_handlers.h"

#include "handlers/parameter_frame.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "model/colours.h"
#include "model/controls.h"
#include "runtime/conversions.h"
#include "runtime/text.h"
#include "sets/set_fields.h"

namespace ep {
namespace {

int PositionOf(const Control& slider) { return slider.readInt(prop::slider::Position); }

/// The common steps of a slider row: display always; then, for a selected mode and (where the row
/// tests it) while online, the frame and the field.
void RunSliderRow(const Control& slider, const ParameterRow& row, int selectorIndex) {
    if (const auto text = HandlerDisplayText(row, PositionOf(slider)))
        ControlNamed(Text(row.displayControl)).write(prop::editbox::Content, *text);
    const auto location = LocateField(row, selectorIndex);
    // Without a selected mode there is no field to write and no channel to send on.
    if (!location)
        return;
    if (row.onlineTest == OnlineTest::Present && !IsOnline())
        return;
    SendParameterAndWriteField(location->channel, row.address, DeviceValueOfPosition(row, PositionOf(slider)),
                               row.valueWidth, location->position);
}

void RunBlockSlider(const EventContext& context, Block block) {
    const int index = SelectorIndex(block);
    const ParameterRow* row = RowOfControl(context.source.name(), ActiveView{index, MusicPage::Equaliser});
    if (row != nullptr)
        RunSliderRow(context.source, *row, index);
}

bool PageHighlighted(const char* tab) {
    return ControlNamed(tab).readInt(prop::translabel::TextColour) == kTabHighlight;
}

} // namespace

void MicSliderChanged(const EventContext& context) { RunBlockSlider(context, Block::Mic); }

void KtvSliderChanged(const EventContext& context) { RunBlockSlider(context, Block::KtvTypeA); }

void RevHighCutSliderChanged(const EventContext& context) { RunBlockSlider(context, Block::KtvTypeB); }

void MusicPageSliderChanged(const EventContext& context) {
    const int index = SelectorIndex(Block::Music);
    for (const auto& [page, tab] : {std::pair{MusicPage::Equaliser, controls::EqualiserTab},
                                    std::pair{MusicPage::Auxiliary, controls::AuxiliaryTab}}) {
        if (!PageHighlighted(tab))
            continue;
        if (const ParameterRow* row = RowOfControl(context.source.name(), ActiveView{0, page}))
            RunSliderRow(context.source, *row, index);
    }
}

void VolumeSliderChanged(const EventContext& context) {
    Control& slider = context.source;
    const ParameterRow* row = RowOfControl(slider.name(), ActiveView{});
    if (row == nullptr)
        return;
    const double maximum = ToNumber(Value(ControlNamed(Text(row->limitControl)).readText(prop::editbox::Content)));
    if (PositionOf(slider) - maximum > kValueTolerance)
        slider.write(prop::slider::Position, TruncToInt(maximum));
    if (IsOnline()) {
        ControlNamed(Text(Row(kMuteAddress).editControl)).write(prop::translabel::TextColour, kGrey);
        SendGlobal(*row, PositionOf(slider));
    }
    ControlNamed(Text(row->displayControl)).write(prop::editbox::Content, ToText(Value(PositionOf(slider))));
}

void KtvDelaySliderReleased(const EventContext& context) {
    const int index = SelectorIndex(Block::KtvTypeA);
    const ParameterRow* row = RowOfControl(context.source.name(), ActiveView{index, MusicPage::Equaliser});
    if (row == nullptr)
        return;
    const auto location = LocateField(*row, index);
    if (!location || !IsOnline())
        return;
    const std::uint8_t value = ToByte(Value(MidText(EffectSetText(), location->position, FieldWidth)));
    static_cast<void>(SendDeviceFrame(static_cast<std::uint8_t>(location->channel), command::SetParameter,
                                      static_cast<std::uint8_t>(row->address), Value(value)));
}

} // namespace ep
