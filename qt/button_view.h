#pragma once
/// The push button: the button frame, its bitmap from the program's pictures centred on it and its caption
/// on top. A click goes to the model as the clicked event.

#include "qt/control_widget.h"

#include <QAbstractButton>
#include <QImage>

namespace ep::qt {

class ButtonView : public QAbstractButton, public ControlWidget {
  public:
    ButtonView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;

    /// The bitmap the button shows; null when it has none.
    const QImage& picture() const { return m_picture; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_picture;
};

} // namespace ep::qt
