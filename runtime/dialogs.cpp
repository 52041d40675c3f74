#include "runtime/dialogs.h"

#include "runtime/conversions.h"
#include "runtime/host.h"

namespace ep {
namespace {

Text MessageText(const Value& message) {
    switch (message.kind()) {
    case ValueKind::Byte:
    case ValueKind::Short:
    case ValueKind::Int:
    case ValueKind::Long:
    case ValueKind::Float:
    case ValueKind::Double:
    case ValueKind::Bool:
    case ValueKind::DateTime:
    case ValueKind::Text:
        return ToText(message);
    default:
        return {};
    }
}

} // namespace

int InfoBox(const Value& message, int style, std::optional<Text> caption) {
    const MessageBoxRequest request{MessageText(message), caption.value_or("信息："), style};
    return static_cast<int>(CurrentHost().showMessageBox(request));
}

void Delay(int milliseconds) { CurrentHost().sleep(milliseconds < 0 ? 0 : milliseconds); }

} // namespace ep
