#pragma once
/// The labels that a click works (key shift, source, switches, the page tabs) for a keyboard user: Tab
/// reaches them, Space or Enter works them as a click does, and the one that has the focus shows it.

#include "ui/control.h"

class QWidget;

namespace ep::qt {

/// When a handler takes the label's clicks: lets Tab reach the label's widget (a click of the mouse still
/// leaves the focus where it was), turns Space, Enter and Return into the press and release of the left
/// button at its centre, and repaints it as it takes and loses the focus. Called before the common events
/// are raised for the widget, so that they still see the keys.
void OfferToKeyboard(QWidget& widget, Control& label);

/// A frame around the label that has the focus, drawn over its caption.
void PaintFocusFrame(QWidget& widget);

} // namespace ep::qt
