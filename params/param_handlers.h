#pragma once
/// The handlers of the parameter layer, registered by the names the window definition binds.

#include "ui/window.h"

namespace ep {

void RegisterParameterHandlers(HandlerRegistry& handlers);

} // namespace ep
