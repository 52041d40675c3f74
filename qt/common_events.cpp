#include "qt/common_events.h"

#include "handlers/control_help.h"
#include "qt/virtual_keys.h"
#include "ui/control.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

namespace ep::qt {
namespace {

/// The event of a mouse button event, 0 for the buttons and types that have none.
int MouseEventNumber(QEvent::Type type, Qt::MouseButton button) {
    const bool left = button == Qt::LeftButton;
    const bool right = button == Qt::RightButton;
    switch (type) {
    case QEvent::MouseButtonPress:
        return left ? event::LeftButtonPressed : right ? event::RightButtonPressed : 0;
    case QEvent::MouseButtonRelease:
        return left ? event::LeftButtonReleased : right ? event::RightButtonReleased : 0;
    case QEvent::MouseButtonDblClick:
        // A second right click has no double-click event of its own: it is a press.
        return left ? event::DoubleClick : right ? event::RightButtonPressed : 0;
    case QEvent::MouseMove:
        return event::MouseMoved;
    default:
        return 0;
    }
}

} // namespace

CommonEventFilter::CommonEventFilter(Control& control, QWidget& controlWidget)
    : QObject(&controlWidget), m_control(control), m_controlWidget(controlWidget) {}

void CommonEventFilter::watch(QWidget& inputWidget) {
    inputWidget.setMouseTracking(true);
    inputWidget.installEventFilter(this);
}

bool CommonEventFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = static_cast<QWidget*>(watched);
    // A disabled control takes no input, so it raises nothing either.
    if (!widget->isEnabled())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (const int number = MouseEventNumber(event->type(), mouse->button()); number != 0) {
            const QPoint point = widget->mapTo(&m_controlWidget, mouse->position().toPoint());
            m_control.raise(number, {point.x(), point.y(), KeyStateOf(mouse->modifiers())});
        }
        break;
    }
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        const int steps = (delta.y() != 0 ? delta.y() : delta.x()) / 120;
        m_control.raise(event::MouseWheel, {steps, KeyStateOf(wheel->modifiers())});
        break;
    }
    case QEvent::ToolTip:
        // Read when asked, so that it names what the control stands for in the mode and page now shown.
        if (const Text help = ControlHelp(m_control.name()); !help.empty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromStdString(help), widget);
            return true;
        }
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        // A dropped-down list leaves the keyboard focus where it was, as the original platform's lists do.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            m_control.raise(event->type() == QEvent::FocusIn ? event::GotFocus : event::LostFocus);
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // A key the focused widget ignores travels on to its parents: it was raised there already.
        if (widget != QApplication::focusWidget())
            break;
        const auto* key = static_cast<QKeyEvent*>(event);
        const int state = KeyStateOf(key->modifiers());
        const int code = VirtualKeyOf(key->key(), key->modifiers());
        if (event->type() == QEvent::KeyRelease) {
            m_control.raise(event::KeyReleased, {code, state});
            break;
        }
        m_control.raise(event::KeyPressed, {code, state});
        if (const QString text = key->text(); !text.isEmpty())
            m_control.raise(event::CharacterTyped, {static_cast<std::int32_t>(text.toUcs4().value(0))});
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace ep::qt
