#include "qt/control_widget.h"

#include "qt/common_events.h"

#include <QCursor>
#include <QWidget>

#include <array>

namespace ep::qt {
namespace {

// The mouse pointer picks from 1 on; 0 is the kind's own pointer.
constexpr std::array kPointers{
    Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,   Qt::WaitCursor,         Qt::WhatsThisCursor,
    Qt::BusyCursor,    Qt::ForbiddenCursor, Qt::SizeAllCursor, Qt::SizeBDiagCursor,    Qt::SizeFDiagCursor,
    Qt::SizeVerCursor, Qt::SizeHorCursor,   Qt::UpArrowCursor, Qt::PointingHandCursor,
};

// Property numbers are small; every kind's lie below this.
constexpr int kPropertyNumberLimit = 32;

} // namespace

ControlWidget::ControlWidget(Control& control, QWidget& widget)
    : m_control(control), m_widget(widget), m_events(new CommonEventFilter(control, widget)) {
    widget.setObjectName(QString::fromStdString(control.name()));
    // Mouse input that a part of the control leaves unhandled must not reach the control beneath it.
    widget.setAttribute(Qt::WA_NoMousePropagation);
    control.setView(this);
}

ControlWidget::~ControlWidget() {
    delete m_events;
    if (m_control.view() == this)
        m_control.setView(nullptr);
}

void ControlWidget::mirrorAllProperties() {
    for (int number = 0; number < kPropertyNumberLimit; ++number)
        if (m_control.hasProperty(number))
            propertyChanged(number);
}

bool ControlWidget::mirrorCommonProperty(int number) {
    switch (number) {
    case prop::Left:
    case prop::Top:
    case prop::Width:
    case prop::Height:
        m_widget.setGeometry(m_control.readInt(prop::Left), m_control.readInt(prop::Top),
                             std::max(0, m_control.readInt(prop::Width)) + extraWidth(),
                             std::max(0, m_control.readInt(prop::Height)));
        return true;
    case prop::Tag:
        return true;
    case prop::Visible:
        m_widget.setVisible(m_control.readBool(prop::Visible));
        return true;
    case prop::Disabled:
        m_widget.setEnabled(!m_control.readBool(prop::Disabled));
        return true;
    case prop::MousePointer: {
        const int pointer = m_control.readInt(prop::MousePointer);
        if (pointer >= 1 && pointer <= static_cast<int>(kPointers.size()))
            m_widget.setCursor(kPointers[static_cast<std::size_t>(pointer - 1)]);
        else
            m_widget.unsetCursor();
        return true;
    }
    default:
        return false;
    }
}

void ControlWidget::raiseCommonEventsOf(QWidget& inputWidget) { m_events->watch(inputWidget); }

} // namespace ep::qt
