#pragma once
/// The draw panel: a plain panel with its border style (1 a flat line, 3 a sunken edge); it holds the
/// widgets of its child controls.

#include "qt/control_widget.h"

#include <QFrame>

namespace ep::qt {

class DrawPanelView : public QFrame, public ControlWidget {
  public:
    DrawPanelView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;
};

} // namespace ep::qt
