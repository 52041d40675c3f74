#include "handlers/selector_handlers.h"

#include "handlers/parameter_frame.h"
#include "link/device_link.h"
#include "sets/apply_effect_set.h"
#include "sets/set_fields.h"

namespace ep {
namespace {

const ParameterRow* SelectorRow(const Control& selector) {
    const ParameterRow* row = RowOfControl(selector.name(), ActiveView{});
    return row != nullptr && row->editKind == EditKind::Selector ? row : nullptr;
}

/// The chosen music mode's switch captions, before the block is shown; their colours stay.
void ShowMusicSwitchCaptions() {
    for (const int address : {56, 57}) {
        const ParameterRow& row = Row(address);
        const bool on = SwitchIsOn(row, FieldAt(BlockStart(Block::Music) + FieldOffset(row)));
        SetCaption(row.displayControl, on ? row.on.caption : row.off.caption);
    }
}

} // namespace

void TopSelectorClosed(const EventContext& context) {
    const ParameterRow* row = SelectorRow(context.source);
    if (row != nullptr && IsOnline())
        SendGlobal(*row, context.source.readInt(prop::combo::Selection));
}

void BlockSelectorClosed(const EventContext& context) {
    const ParameterRow* row = SelectorRow(context.source);
    if (row == nullptr)
        return;
    switch (row->selects) {
    case Block::Music:
        HighlightMusicPage(MusicPage::Equaliser);
        ShowMusicSwitchCaptions();
        ShowMusicEqPage();
        break;
    case Block::Mic:
        ShowMicBlock();
        break;
    default:
        ShowKtvBlock();
    }
    if (IsOnline())
        SendGlobal(*row, context.source.readInt(prop::combo::Selection));
}

} // namespace ep
