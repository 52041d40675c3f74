#include "link/receive_handler.h"

#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/dump_collection.h"
#include "link/effect_set_fields.h"
#include "link/link_globals.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <array>

namespace ep {
namespace {

constexpr int kDumpLength = 255;
constexpr std::uint8_t kDumpMarker = 0x63;
constexpr std::uint8_t kPingEcho = 0x68;
constexpr std::uint8_t kKeyResetRequest = 0x88;
constexpr std::uint8_t kHelloAnswer = 0xA8;
constexpr std::uint8_t kKeyAddress = 0x13;
constexpr std::int32_t kNeutralKey = 5;
constexpr int kKeyFieldPosition = 55;

constexpr std::array<const char*, 10> kOtherKeyLabels = {"key_井1", "key_井2", "key_井3", "key_井4", "key_井5",
                                                         "key_b1",  "key_b2",  "key_b3",  "key_b4",  "key_b5"};

void CollectDumpByte(int byte) {
    if (DumpActive == 1 && DumpCount != kDumpLength) {
        SetEffectSetText(ConcatText({EffectSetText(), ThreeDigitText(byte)}));
        DumpCount += 1;
        if (DumpCount == 1 && byte == kDumpMarker)
            SetEffectSetText("");
    }
    if (DumpActive == 1 && DumpCount == kDumpLength) {
        FinishDumpCollection();
        RunApplyEffectSet();
    }
}

void ResetKey() {
    ControlNamed("时钟2").write(prop::timer::Period, 0);
    KeyChanged = 0;
    SendDeviceFrame(0, command::SetParameter, kKeyAddress, Value(kNeutralKey));
    SetEffectSetText(ReplaceText(EffectSetText(), kKeyFieldPosition, 3, "005"));
    ControlNamed("key_井0").write(prop::translabel::TextColour, kRed);
    for (const char* label : kOtherKeyLabels)
        ControlNamed(label).write(prop::translabel::TextColour, kGrey);
}

void ShowReplyByte(int byte) {
    Control& replies = ControlNamed("编辑框41");
    replies.write(prop::editbox::Content, Text());
    replies.write(prop::editbox::Content, ToText(Value(static_cast<std::int32_t>(byte))));
}

void AnswerHello() {
    Control& replies = ControlNamed("编辑框41");
    replies.write(prop::editbox::Content, ConcatText({replies.readText(prop::editbox::Content), "168"}));
    Control& status = ControlNamed("标签127");
    status.write(prop::label::Caption, Text("已联机"));
    status.write(prop::label::BackgroundColour, kGreen);
    StartDumpCollection();
}

} // namespace

void ReceiveByte(const EventContext& context) {
    const int byte = context.arguments.empty() ? 0 : context.arguments.front() & 0xFF;
    if (IsOnline()) {
        CollectDumpByte(byte);
        if (byte == kPingEcho) {
            ControlNamed("时钟2").write(prop::timer::Period, 0);
            ShowReplyByte(byte);
        }
        if (byte == kKeyResetRequest && KeyChanged == 1 && DumpActive == 0)
            ResetKey();
    }
    if (DumpActive == 0 && byte == kHelloAnswer)
        AnswerHello();
}

} // namespace ep
