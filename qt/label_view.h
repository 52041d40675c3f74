#pragma once
/// The label: its caption in its font and text colour, on its background colour or, with the default
/// background, straight on whatever lies beneath.

#include "qt/control_widget.h"

#include <QWidget>

namespace ep::qt {

class LabelView : public QWidget, public ControlWidget {
  public:
    LabelView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ep::qt
