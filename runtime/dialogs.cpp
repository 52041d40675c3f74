#include "runtime/dialogs.h"

#include "runtime/conversions.h"
#include "runtime/host.h"

namespace ep {
namespace {

// Byte strings, procedure pointers and arrays show as the empty text.
Text MessageText(const Value& message) {
    const ValueKind kind = message.kind();
    if (kind == ValueKind::ByteString || kind == ValueKind::ProcPointer || kind == ValueKind::Array)
        return {};
    return ToText(message);
}

} // namespace

int InfoBox(const Value& message, int style, std::optional<Text> caption) {
    const MessageBoxRequest request{MessageText(message), caption.value_or("信息："), style};
    return static_cast<int>(CurrentHost().showMessageBox(request));
}

void Delay(int milliseconds) { CurrentHost().sleep(milliseconds < 0 ? 0 : milliseconds); }

} // namespace ep
