#pragma once
/// The handlers of the mode selectors: the top row's, which only send, and the blocks', which also
/// show the chosen mode's block.

#include "ui/window.h"

namespace ep {

void TopSelectorClosed(const EventContext& context);
void BlockSelectorClosed(const EventContext& context);

} // namespace ep
