#pragma once
/// The progress bar: a QProgressBar without text that shows the position limited to the range.

#include "qt/control_widget.h"

#include <QProgressBar>

namespace ep::qt {

class ProgressBarView : public QProgressBar, public ControlWidget {
  public:
    ProgressBarView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;
};

} // namespace ep::qt
