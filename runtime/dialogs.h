#pragma once
/// The runtime's message box and delay commands, through the host.

#include "runtime/value.h"

#include <optional>

namespace ep {

/// Shows the message as text in a modal box (caption "信息：" when omitted) and returns the pressed
/// button's code: OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6.
int InfoBox(const Value& message, int style = 0, std::optional<Text> caption = std::nullopt);

/// The style of a question answered with 确定 or 取消, and the code of 确定.
constexpr int kOkCancelQuestion = 0x21;
constexpr int kPressedOk = 0;

/// Blocks the calling thread for the milliseconds; a negative value sleeps 0.
void Delay(int milliseconds);

} // namespace ep
