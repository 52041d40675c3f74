#pragma once
/// The clicks on the music area's tab labels 均衡 and 辅助.

#include "ui/window.h"

namespace ep {

/// Shows the equaliser page and makes it the current one.
void EqTabPressed(const EventContext& context);
/// Makes the auxiliary page the current one and shows it.
void AuxTabPressed(const EventContext& context);

} // namespace ep
