#include "link/device_commands.h"

#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/dump_collection.h"
#include "link/effect_set_fields.h"
#include "link/link_globals.h"
#include "runtime/conversions.h"
#include "runtime/dialogs.h"
#include "runtime/text.h"

namespace ep {
namespace {
constexpr int kFramePauseMs = 10;

Text SendAllFailureText(int unsentFields) {
    return "重新设置失败：" + std::to_string(kFieldCount) + " 项中有 " + std::to_string(unsentFields) +
           " 项未能发送到设备";
}
} // namespace

void ReadDevice(const EventContext&) {
    if (!IsOnline())
        return;
    StartDumpCollection();
}

void StoreToDevice(const EventContext&) {
    if (!IsOnline())
        return;
    // Saying "stored" when the frame never left would make the user trust a device that kept nothing.
    if (SendDeviceFrame(0, command::StoreEffect, 0, Value(std::uint8_t{0})))
        InfoBox(Value("当前效果已储存到设备"), 0);
    else
        InfoBox(Value("当前效果未能储存到设备：设备没有收到储存命令"), 0);
}

void RestoreDefaults(const EventContext&) {
    if (!IsOnline())
        return;
    SendDeviceFrame(0, command::RestoreDefaults, 0, Value(std::uint8_t{0}));
    SetEffectSetText(DefaultSetText);
    RunApplyEffectSet();
}

void SendAll() {
    Control& panel = ControlNamed("画板7");
    Control& progress = ControlNamed("进度条1");
    panel.write(prop::Visible, true);
    progress.write(prop::Visible, true);
    progress.write(prop::progress::Position, 0);
    int unsent = 0;
    for (int field = 1; field <= kFieldCount; ++field) {
        const FieldAddress target = AddressOfField(field);
        const std::uint8_t value = ToByte(Value(MidText(EffectSetText(), 3 * field - 2, 3)));
        // A device that took no frame takes none of the rest, and each would hold the window for its
        // time-out.
        if (!SendDeviceFrame(static_cast<std::uint8_t>(target.channel), command::BulkParameter,
                             static_cast<std::uint8_t>(target.address), Value(value))) {
            unsent = kFieldCount - field + 1;
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
