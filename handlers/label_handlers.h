#pragma once
/// The handlers of the parameters that labels edit: the switches, and the source and key choices.

#include "ui/window.h"

namespace ep {

void ColourSwitchPressed(const EventContext& context);
void MuteSwitchPressed(const EventContext& context);
void CaptionSwitchPressed(const EventContext& context);
void ChoiceLabelPressed(const EventContext& context);

} // namespace ep
