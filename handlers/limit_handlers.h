#pragma once
/// The handler of the six Min/Max boxes of the volumes.

#include "ui/window.h"

namespace ep {

/// The name the window definition binds it by.
inline constexpr const char* kLimitBoxHandler = "LimitBoxChanged";

void LimitBoxChanged(const EventContext& context);

} // namespace ep
