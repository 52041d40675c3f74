#pragma once
/// What every control's widget shares: it is the control's view, mirrors the common properties (geometry,
/// visible, disabled, mouse pointer) and raises the common events of its input parts. A widget class
/// derives from its Qt widget and from this; it keeps none of the control's state.

#include "ui/control.h"

class QWidget;

namespace ep::qt {

class CommonEventFilter;

class ControlWidget : public ControlView {
  public:
    /// Becomes the control's view; the control must outlive the widget.
    ControlWidget(Control& control, QWidget& widget);
    ~ControlWidget() override;
    ControlWidget(const ControlWidget&) = delete;
    ControlWidget& operator=(const ControlWidget&) = delete;

    Control& control() const { return m_control; }

  protected:
    /// Mirrors every property the control has; the widget class calls it once it is fully built.
    void mirrorAllProperties();
    /// Mirrors a common property; false for the kind's own numbers, which the widget class mirrors.
    bool mirrorCommonProperty(int number);
    /// Raises the common events for the input that reaches the widget (the control's or a part of it).
    void raiseCommonEventsOf(QWidget& inputWidget);
    /// Room that the widget takes right of the defined width (an edit box's arrows).
    virtual int extraWidth() const { return 0; }

  private:
    Control& m_control;
    QWidget& m_widget;
    CommonEventFilter* m_events;
};

} // namespace ep::qt
