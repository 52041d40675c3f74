#pragma once
/// What the protocol and the handlers share about the device link: the OnlineState held in the status
/// label's caption, the EffectSet text held in its hidden edit box, the SerialLink of the port control, and
/// the routine of a higher layer that shows a whole set, handed over when the program is wired.

#include "link/serial_link.h"

#include <functional>

namespace ep {

/// Online exactly when the caption of 标签127 equals "已联机".
bool IsOnline();
/// True when the caption equals "未联机", the connect attempt's test.
bool IsOfflineCaption();

Text EffectSetText();
void SetEffectSetText(const Text& text);
/// The hidden edit box 编辑框7 that holds the EffectSet.
Control& EffectSetBox();

/// The link of the port control 端口.
SerialLink& PortLink();

/// The routine that shows the EffectSet text in the window; set by the program's wiring.
void SetApplyEffectSetRoutine(std::function<void()> routine);
void RunApplyEffectSet();

} // namespace ep
