#pragma once
/// The labels that a click works (key shift, source, switches, the page tabs) for a keyboard user: Tab
/// reaches them, Space or Enter works them as a click does, and the one that has the focus shows it.

#include "ui/control.h"

class QKeyEvent;
class QWidget;

namespace ep::qt {

/// Lets Tab reach the label's widget when a handler takes the label's clicks; a click of the mouse
/// still leaves the focus where it was.
void OfferToKeyboard(QWidget& widget, const Control& label);

/// Space, Enter or Return raise the press and release of the left button at the label's centre; false for
/// any other key.
bool ClickForKey(const QKeyEvent& key, Control& label, const QWidget& widget);

/// A frame around the label that has the focus, drawn over its caption.
void PaintFocusFrame(QWidget& widget);

} // namespace ep::qt
