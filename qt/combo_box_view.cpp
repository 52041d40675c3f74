#include "qt/combo_box_view.h"

#include "qt/font_mapping.h"
#include "ui/user_input.h"

#include <QSignalBlocker>

namespace ep::qt {

ComboBoxView::ComboBoxView(Control& control, QWidget* parent) : QComboBox(parent), ControlWidget(control, *this) {
    setEditable(false);
    setFont(FontFor(control.attributes().font));
    for (const Text& item : control.attributes().items)
        addItem(QString::fromStdString(item));
    connect(this, &QComboBox::activated, this, &ComboBoxView::chose);
    raiseCommonEventsOf(*this);
    mirrorAllProperties();
}

void ComboBoxView::propertyChanged(int number) {
    if (mirrorCommonProperty(number))
        return;
    if (number == prop::combo::Selection) {
        const QSignalBlocker blocker(this);
        setCurrentIndex(control().readInt(prop::combo::Selection));
    }
}

void ComboBoxView::showPopup() {
    m_listOpen = true;
    QComboBox::showPopup();
}

void ComboBoxView::hidePopup() {
    QComboBox::hidePopup();
    if (!m_listOpen)
        return;
    m_listOpen = false;
    // Qt tells the chosen item only after the list has gone: the report waits for the end of this event.
    m_chosen.reset();
    m_closeReportPending = true;
    QMetaObject::invokeMethod(this, &ComboBoxView::reportListClosed, Qt::QueuedConnection);
}

void ComboBoxView::chose(int index) {
    if (m_closeReportPending) {
        m_chosen = index;
        return;
    }
    // Arrow keys, letters or the wheel on the closed box change the selection without a list.
    control().store(prop::combo::Selection, index);
}

void ComboBoxView::reportListClosed() {
    if (!m_closeReportPending)
        return;
    m_closeReportPending = false;
    UserClosedList(control(), m_chosen);
}

} // namespace ep::qt
