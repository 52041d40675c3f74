#pragma once
/// The handler of the six Min/Max boxes of the volumes.

#include "ui/window.h"

namespace ep {

void LimitBoxChanged(const EventContext& context);

} // namespace ep
