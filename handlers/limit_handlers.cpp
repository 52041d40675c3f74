#include "handlers/limit_handlers.h"

#include "handlers/parameter_frame.h"
#include "link/device_link.h"
#include "runtime/conversions.h"
#include "sets/apply_effect_set.h"

namespace ep {
namespace {

std::int32_t ContentOf(const Control& box) { return ToInt(Value(box.readText(prop::editbox::Content))); }

/// The limit box's content after clamping, written back only when it changes, which raises this
/// handler once more, nested.
void ClampLimitBox(Control& box, const ParameterRow& row) {
    if (row.limitControl.empty()) {
        if (ContentOf(box) > row.maximum)
            box.write(prop::editbox::Content, ToText(Value(row.maximum)));
    } else {
        const Control& maximum = ControlNamed(Text(row.limitControl));
        if (ContentOf(box) > ContentOf(maximum))
            box.write(prop::editbox::Content, maximum.readText(prop::editbox::Content));
    }
    if (ContentOf(box) < row.minimum)
        box.write(prop::editbox::Content, ToText(Value(row.minimum)));
}

} // namespace

void LimitBoxChanged(const EventContext& context) {
    Control& box = context.source;
    const ParameterRow* row = RowOfControl(box.name(), ActiveView{});
    if (row == nullptr || row->editKind != EditKind::LimitBox)
        return;
    if (SetLoaded != 0)
        ClampLimitBox(box, *row);
    if (IsOnline())
        SendGlobal(*row, ToByte(Value(box.readText(prop::editbox::Content))));
}

} // namespace ep
