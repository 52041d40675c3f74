#pragma once
/// The transparent label: only its caption is painted, over whatever lies beneath, with the arrow
/// pointer. Its clicks are the common events, raised on the button press.

#include "qt/control_widget.h"

#include <QWidget>

namespace ep::qt {

class TransLabelView : public QWidget, public ControlWidget {
  public:
    TransLabelView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ep::qt
