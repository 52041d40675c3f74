#pragma once
/// The receive handler of the port's DataArrived event: one run per byte, collecting a dump, disarming
/// the watchdog on the ping echo, resetting the key on request, and going online on the hello answer.

#include "ui/window.h"

namespace ep {

void ReceiveByte(const EventContext& context);

} // namespace ep
