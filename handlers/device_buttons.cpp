#include "handlers/device_buttons.h"

#include "handlers/change_history.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "runtime/dialogs.h"
#include "sets/apply_effect_set.h"

namespace ep {
namespace {

/// 80 00 code 02 00 00: the whole-device commands name no parameter and carry no value.
bool SendDeviceCommand(std::uint8_t code) { return SendDeviceFrame(0, code, 0, Value(std::uint8_t{0})); }

} // namespace

void ReadDevice(const EventContext&) {
    if (IsOnline())
        StartDumpCollection();
}

CommandOutcome StoreCurrentEffect() {
    if (!IsOnline())
        return {};
    // Saying "stored" when the frame never left would make the user trust a device that kept nothing.
    if (SendDeviceCommand(command::StoreEffect))
        return {true, "当前效果已储存到设备"};
    return {false, "当前效果未能储存到设备：设备没有收到储存命令"};
}

void StoreToDevice(const EventContext&) {
    if (const CommandOutcome outcome = StoreCurrentEffect(); !outcome.message.empty())
        InfoBox(Value(outcome.message), 0);
}

void RestoreDefaults(const EventContext&) {
    if (!IsOnline())
        return;
    // Nothing brings a room's tuning back once the device has thrown it away.
    if (InfoBox(Value(Text("恢复出厂设置会用出厂设置替换设备中的全部当前设置，且无法撤销。\n确定要恢复吗？")),
                kOkCancelQuestion, Text("恢复出厂设置")) != kPressedOk)
        return;
    // The device restores its own defaults; the window shows the design-time set.
    static_cast<void>(SendDeviceCommand(command::RestoreDefaults));
    SetEffectSetText(DefaultSetText);
    ApplyEffectSet();
    ForgetChanges();
}

} // namespace ep
