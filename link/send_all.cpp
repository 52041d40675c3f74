#include "link/send_all.h"

#include "link/device_frames.h"
#include "link/device_link.h"
#include "model/blocks.h"
#include "model/controls.h"
#include "runtime/conversions.h"
#include "runtime/dialogs.h"
#include "runtime/text.h"
#include "ui/window.h"

#include <bitset>
#include <numeric>

namespace ep {
namespace {

constexpr int kFramePauseMs = 10;

Text SendAllFailureText(int fields, int unsentFields) {
    return "重新设置失败：" + std::to_string(fields) + " 项中有 " + std::to_string(unsentFields) + " 项未能发送到设备";
}

} // namespace

void SendFields(const std::vector<int>& fields) {
    std::bitset<EffectSetFieldCount + 1> chosen;
    for (const int field : fields)
        if (field >= 1 && field <= EffectSetFieldCount)
            chosen.set(static_cast<std::size_t>(field));
    const int count = static_cast<int>(chosen.count());
    Control& panel = ControlNamed(controls::ProgressPanel);
    Control& progress = ControlNamed(controls::ProgressBar);
    progress.write(prop::progress::Maximum, count);
    progress.write(prop::progress::Position, 0);
    panel.write(prop::Visible, true);
    progress.write(prop::Visible, true);
    int sent = 0;
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        if (!chosen.test(static_cast<std::size_t>(field)))
            continue;
        const ChannelAddress target = *ChannelAddressOfField(field);
        const std::uint8_t value = ToByte(Value(MidText(EffectSetText(), FieldPosition(field), FieldWidth)));
        // A device that took no frame takes none of the rest, and each would hold the window for its
        // time-out.
        if (!SendDeviceFrame(static_cast<std::uint8_t>(target.channel), command::BulkParameter,
                             static_cast<std::uint8_t>(target.address), Value(value)))
            break;
        ++sent;
        Delay(kFramePauseMs);
        progress.write(prop::progress::Position, progress.readInt(prop::progress::Position) + 1);
    }
    panel.write(prop::Visible, false);
    progress.write(prop::Visible, false);
    // A device that went away midway must not be reported as set up: the user would trust a half-set device.
    if (sent == count)
        InfoBox(Value("重新设置成功"), 0, Text("设置已成功"));
    else
        InfoBox(Value(SendAllFailureText(count, count - sent)), 0, Text("设置未成功"));
}

void SendAll() {
    std::vector<int> every(EffectSetFieldCount);
    std::iota(every.begin(), every.end(), 1);
    SendFields(every);
}

} // namespace ep
