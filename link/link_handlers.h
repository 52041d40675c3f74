#pragma once
/// The handlers of the device link, registered by the names the window definition binds.

#include "ui/window.h"

namespace ep {

void RegisterLinkHandlers(HandlerRegistry& handlers);

} // namespace ep
