#pragma once
/// The slider bar: a QSlider whose minimum is at the left or the top. The keys and the wheel move it as
/// on the original platform (Up, Left, PageUp and the wheel turned up towards the minimum); every step of
/// the user's mouse, wheel or keys reports the new position, program writes report nothing.

#include "qt/control_widget.h"

#include <QSlider>

namespace ep::qt {

class SliderView : public QSlider, public ControlWidget {
  public:
    SliderView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void mirrorOrientation();
    void mirrorTicks();
    void mirrorRangeAndPosition();
    /// Raises one position-changed event for each step that the user's input made since the last call.
    void reportUserSteps();

    int m_pendingSteps = 0;
    int m_wheelRemainder = 0;
};

} // namespace ep::qt
