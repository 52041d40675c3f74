#pragma once
/// Makes the widget of a control, from a table indexed by the control's kind.

#include "ui/control.h"

class QWidget;

namespace ep::qt {

/// The widget that shows the control, as a child of parent; null for the kinds that have no widget
/// (timers, common dialogs, serial ports, the window itself).
QWidget* MakeControlWidget(Control& control, QWidget* parent);

} // namespace ep::qt
