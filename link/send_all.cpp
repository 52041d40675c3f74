#include "link/send_all.h"

#include "link/device_frames.h"
#include "link/device_link.h"
#include "model/blocks.h"
#include "model/controls.h"
#include "runtime/conversions.h"
#include "runtime/dialogs.h"
#include "runtime/text.h"
#include "ui/window.h"

namespace ep {
namespace {

constexpr int kFramePauseMs = 10;

Text SendAllFailureText(int unsentFields) {
    return "重新设置失败：" + std::to_string(EffectSetFieldCount) + " 项中有 " + std::to_string(unsentFields) +
           " 项未能发送到设备";
}

} // namespace

void SendAll() {
    Control& panel = ControlNamed(controls::ProgressPanel);
    Control& progress = ControlNamed(controls::ProgressBar);
    panel.write(prop::Visible, true);
    progress.write(prop::Visible, true);
    progress.write(prop::progress::Position, 0);
    int unsent = 0;
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        const ChannelAddress target = *ChannelAddressOfField(field);
        const std::uint8_t value = ToByte(Value(MidText(EffectSetText(), FieldPosition(field), FieldWidth)));
        // A device that took no frame takes none of the rest, and each would hold the window for its
        // time-out.
        if (!SendDeviceFrame(static_cast<std::uint8_t>(target.channel), command::BulkParameter,
                             static_cast<std::uint8_t>(target.address), Value(value))) {
            unsent = EffectSetFieldCount - field + 1;
            break;
        }
        Delay(kFramePauseMs);
        progress.write(prop::progress::Position, progress.readInt(prop::progress::Position) + 1);
    }
    panel.write(prop::Visible, false);
    progress.write(prop::Visible, false);
    // A device that went away midway must not be reported as set up: the user would trust a half-set device.
    if (unsent == 0)
        InfoBox(Value("重新设置成功"), 0, Text("设置已成功"));
    else
        InfoBox(Value(SendAllFailureText(unsent)), 0, Text("设置未成功"));
}

} // namespace ep
