#pragma once
/// What the protocol and the handlers share about the device link: the OnlineState held in the status
/// label's caption, the EffectSet text held in its hidden edit box, and the SerialLink of the port
/// control.

#include "link/serial_link.h"

namespace ep {

/// Online exactly when the caption of 标签127 equals "已联机".
bool IsOnline();
/// True when the caption equals "未联机", the connect attempt's test.
bool IsOfflineCaption();

Text EffectSetText();
void SetEffectSetText(const Text& text);
/// The hidden edit box 编辑框7 that holds the EffectSet.
Control& EffectSetBox();
/// Writes the value's three digits into the EffectSet at the 1-based character position.
void WriteField(int position, int value);

/// Online, no dump collecting and a whole set in the EffectSet text: the device's set is in the window.
bool SetShown();

/// The link of the port control 端口.
SerialLink& PortLink();

} // namespace ep
