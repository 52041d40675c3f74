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

} // namespace

void OfferToKeyboard(QWidget& widget, const Control& label) {
    if (TakesClicks(label))
        widget.setFocusPolicy(Qt::TabFocus);
}

bool ClickForKey(const QKeyEvent& key, Control& label, const QWidget& widget) {
    const int code = key.key();
    if (code != Qt::Key_Space && code != Qt::Key_Return && code != Qt::Key_Enter)
        return false;
    // Holding the key down works the label once, as holding the mouse button does.
    if (key.isAutoRepeat())
        return true;
    const QPoint centre = widget.rect().center();
    label.raise(event::LeftButtonPressed, {centre.x(), centre.y(), 0});
    label.raise(event::LeftButtonReleased, {centre.x(), centre.y(), 0});
    return true;
}

void PaintFocusFrame(QWidget& widget) {
    if (!widget.hasFocus())
        return;
    QPainter painter(&widget);
    painter.setPen(QPen(widget.palette().color(QPalette::Highlight), 2));
    painter.drawRect(widget.rect().adjusted(1, 1, -1, -1));
}

} // namespace ep::qt
