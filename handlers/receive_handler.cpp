#include "handlers/receive_handler.h"

#include "handlers/change_history.h"
#include "handlers/parameter_frame.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "model/blocks.h"
#include "model/colours.h"
#include "model/controls.h"
#include "runtime/conversions.h"
#include "runtime/text.h"
#include "sets/apply_effect_set.h"

namespace ep {
namespace {

bool Collecting() { return DumpActive == 1; }

/// Every byte of an open collection is its next value, whatever else it may mean; the 255th completes it
/// and shows the set when it is taken, before the byte is looked at for its other meanings.
void CollectDumpByte(int byte) {
    if (Collecting() && DumpCount != EffectSetFieldCount) {
        SetEffectSetText(ConcatText({EffectSetText(), ThreeDigitText(byte)}));
        DumpCount += 1;
        if (DumpCount == 1 && byte == reply::DumpMarker)
            SetEffectSetText("");
    }
    if (Collecting() && DumpCount == EffectSetFieldCount && CompleteDumpCollection() == DumpCompletion::Taken) {
        ApplyEffectSet();
        ForgetChanges();
    }
}

void StopWatchdog() { ControlNamed(controls::Watchdog).write(prop::timer::Period, 0); }

void ResetKey() {
    StopWatchdog();
    KeyChanged = 0;
    const ParameterRow& key = Row(kKeyAddress);
    SendGlobal(key, kNeutralKey);
    for (std::size_t value = 0; value < key.choices.size(); ++value)
        ControlNamed(Text(key.choices[value].label))
            .write(prop::translabel::TextColour, static_cast<int>(value) == kNeutralKey ? kRed : kGrey);
}

void ShowEcho(int byte) {
    Control& replies = ControlNamed(controls::ReplyBox);
    replies.write(prop::editbox::Content, Text());
    replies.write(prop::editbox::Content, ToText(Value(static_cast<std::int32_t>(byte))));
}

void AnswerHello() {
    Control& replies = ControlNamed(controls::ReplyBox);
    replies.write(prop::editbox::Content, ConcatText({replies.readText(prop::editbox::Content), "168"}));
    Control& status = ControlNamed(controls::StatusLabel);
    status.write(prop::label::Caption, Text("已联机"));
    status.write(prop::label::BackgroundColour, kGreen);
    StartDumpCollection();
}

} // namespace

void ReceiveByte(const EventContext& context) {
    const int byte = context.arguments.empty() ? 0 : context.arguments.front() & 0xFF;
    if (IsOnline()) {
        CollectDumpByte(byte);
        if (byte == reply::PingEcho) {
            StopWatchdog();
            ShowEcho(byte);
        }
        if (byte == reply::KeyResetRequest && KeyChanged == 1 && !Collecting())
            ResetKey();
    }
    // An A8 that answers no hello of ours is line noise, which must not make the panel send anything.
    if (!Collecting() && byte == reply::HelloAnswer && HelloAnswerExpected())
        AnswerHello();
}

} // namespace ep
