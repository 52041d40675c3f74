#pragma once
/// The handlers of the effect-set layer, registered by the names the window definition binds.

#include "ui/window.h"

namespace ep {

/// The click on the tab label 均衡: shows the equaliser page and makes it the current one.
void EqTabPressed(const EventContext& context);

void RegisterSetHandlers(HandlerRegistry& handlers);

} // namespace ep
