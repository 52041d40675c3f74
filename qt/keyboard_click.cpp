#include "qt/keyboard_click.h"

#include "ui/window.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace ep::qt {
namespace {

bool TakesClicks(const Control& label) {
    const auto& bindings = label.window().bindings();
    return std::any_of(bindings.begin(), bindings.end(), [&label](const Binding& binding) {
        return binding.controlId == label.id() && binding.event == event::LeftButtonPressed && binding.handler;
    });
}

class KeyboardClick : public QObject {
  public:
    KeyboardClick(QWidget& widget, Control& label) : QObject(&widget), m_widget(widget), m_label(label) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            m_widget.update();
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        // Holding the key down works the label once, as holding the mouse button does.
        if (!key->isAutoRepeat()) {
            const QPoint centre = m_widget.rect().center();
            m_label.raise(event::LeftButtonPressed, {centre.x(), centre.y(), 0});
            m_label.raise(event::LeftButtonReleased, {centre.x(), centre.y(), 0});
        }
        return true;
    }

  private:
    QWidget& m_widget;
    Control& m_label;
};

} // namespace

void OfferToKeyboard(QWidget& widget, Control& label) {
    if (!TakesClicks(label))
        return;
    widget.setFocusPolicy(Qt::TabFocus);
    widget.installEventFilter(new KeyboardClick(widget, label));
}

void PaintFocusFrame(QWidget& widget) {
    if (!widget.hasFocus())
        return;
    QPainter painter(&widget);
    painter.setPen(QPen(widget.palette().color(QPalette::Highlight), 2));
    painter.drawRect(widget.rect().adjusted(1, 1, -1, -1));
}

} // namespace ep::qt
