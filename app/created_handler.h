#pragma once
/// The handler of the window's created event, which finishes start-up.

#include "ui/window.h"

namespace ep {

void MainWindowCreated(const EventContext& context);

} // namespace ep
