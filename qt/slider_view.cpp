#include "qt/slider_view.h"

#include "ui/user_input.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace ep::qt {
namespace {

struct KeyStep {
    int key;
    QAbstractSlider::SliderAction action;
};

// The minimum is at the left or the top, so "Sub" moves the thumb left or up.
constexpr std::array kKeySteps{
    KeyStep{Qt::Key_Up, QAbstractSlider::SliderSingleStepSub},
    KeyStep{Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
    KeyStep{Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd},
    KeyStep{Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
    KeyStep{Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
    KeyStep{Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
    KeyStep{Qt::Key_Home, QAbstractSlider::SliderToMinimum},
    KeyStep{Qt::Key_End, QAbstractSlider::SliderToMaximum},
};

// Indexed by the tick-marks pick: none, top/left, bottom/right, both.
constexpr std::array kTickPositions{QSlider::NoTicks, QSlider::TicksAbove, QSlider::TicksBelow,
                                    QSlider::TicksBothSides};

constexpr int kWheelStep = 120;

} // namespace

SliderView::SliderView(Control& control, QWidget* parent) : QSlider(parent), ControlWidget(control, *this) {
    setFocusPolicy(Qt::StrongFocus);
    // Steps of Qt's own mouse handling (pages on the groove, thumb drags) are reported once the input
    // event is done, when the widget shows the new position. Program writes set the value directly and
    // trigger no action.
    connect(this, &QAbstractSlider::actionTriggered, this, [this] { ++m_pendingSteps; });
    // Letting go of the thumb reports its final position, as the original platform does.
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { ++m_pendingSteps; });
    raiseCommonEventsOf(*this);
    mirrorAllProperties();
}

void SliderView::propertyChanged(int number) {
    if (mirrorCommonProperty(number))
        return;
    using namespace prop::slider;
    switch (number) {
    case Vertical:
        mirrorOrientation();
        break;
    case TickMarks:
    case TickFrequency:
        mirrorTicks();
        break;
    case PageSize:
        setPageStep(control().readInt(PageSize));
        break;
    case LineSize:
        setSingleStep(control().readInt(LineSize));
        break;
    case Minimum:
    case Maximum:
        mirrorRangeAndPosition();
        mirrorTicks();
        break;
    case Position:
        mirrorRangeAndPosition();
        break;
    default:
        break;
    }
}

void SliderView::mirrorOrientation() {
    const bool vertical = control().readBool(prop::slider::Vertical);
    setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    // Qt puts a vertical slider's minimum at the bottom; the parameter rules need it at the top.
    setInvertedAppearance(vertical);
}

void SliderView::mirrorTicks() {
    using namespace prop::slider;
    const int marks = std::clamp(control().readInt(TickMarks), 0, 3);
    setTickPosition(kTickPositions[static_cast<std::size_t>(marks)]);
    const int span = std::abs(control().readInt(Maximum) - control().readInt(Minimum));
    setTickInterval(std::max(1, std::min(control().readInt(TickFrequency), span)));
}

void SliderView::mirrorRangeAndPosition() {
    using namespace prop::slider;
    const int first = control().readInt(Minimum);
    const int second = control().readInt(Maximum);
    const QSignalBlocker blocker(this);
    setRange(std::min(first, second), std::max(first, second));
    // The stored position may lie outside the range: it reads back unchanged, the thumb stops at the end.
    setValue(std::clamp(control().readInt(Position), minimum(), maximum()));
}

bool SliderView::event(QEvent* event) {
    const bool handled = QSlider::event(event);
    reportUserSteps();
    return handled;
}

void SliderView::keyPressEvent(QKeyEvent* event) {
    const auto found = std::find_if(kKeySteps.begin(), kKeySteps.end(),
                                    [event](const KeyStep& step) { return step.key == event->key(); });
    if (found == kKeySteps.end()) {
        QSlider::keyPressEvent(event);
        return;
    }
    triggerAction(found->action);
    reportUserSteps();
    event->accept();
}

void SliderView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    m_wheelRemainder += delta.y() != 0 ? delta.y() : delta.x();
    // Each notch is one line step; turning the wheel up (away from the user) moves towards the minimum.
    while (std::abs(m_wheelRemainder) >= kWheelStep) {
        const bool up = m_wheelRemainder > 0;
        m_wheelRemainder -= up ? kWheelStep : -kWheelStep;
        triggerAction(up ? SliderSingleStepSub : SliderSingleStepAdd);
        reportUserSteps();
    }
    event->accept();
}

void SliderView::reportUserSteps() {
    while (m_pendingSteps > 0) {
        --m_pendingSteps;
        UserScrolledSlider(control(), value());
    }
}

} // namespace ep::qt
