#pragma once
/// The handlers of the parameters that labels, combo boxes and limit boxes edit: the switches, the
/// source and key choices, the mode selectors and the Min/Max limits.

#include "ui/window.h"

namespace ep {

void ColourSwitchPressed(const EventContext& context);
void MuteSwitchPressed(const EventContext& context);
void CaptionSwitchPressed(const EventContext& context);
void ChoiceLabelPressed(const EventContext& context);
void TopSelectorClosed(const EventContext& context);
void BlockSelectorClosed(const EventContext& context);
void LimitBoxChanged(const EventContext& context);

} // namespace ep
