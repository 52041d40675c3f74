#pragma once
/// Raises a control's common mouse, focus, key and wheel events for the input that reaches its widgets,
/// before the widget itself handles it (the input always goes on to the widget).

#include <QObject>

class QWidget;

namespace ep {
class Control;
}

namespace ep::qt {

class CommonEventFilter : public QObject {
  public:
    /// Coordinates are reported in the client area of controlWidget, the control's outermost widget.
    CommonEventFilter(Control& control, QWidget& controlWidget);

    /// Starts raising the events for input to the widget (the control's widget or a part inside it).
    void watch(QWidget& inputWidget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Control& m_control;
    QWidget& m_controlWidget;
};

} // namespace ep::qt
