#include "qt/trans_label_view.h"

#include "qt/caption_painting.h"
#include "qt/keyboard_click.h"

#include <QKeyEvent>

namespace ep::qt {

TransLabelView::TransLabelView(Control& control, QWidget* parent) : QWidget(parent), ControlWidget(control, *this) {
    raiseCommonEventsOf(*this);
    OfferToKeyboard(*this, control);
    mirrorAllProperties();
}

void TransLabelView::propertyChanged(int number) {
    if (!mirrorCommonProperty(number))
        update();
}

void TransLabelView::paintEvent(QPaintEvent*) {
    using namespace prop::translabel;
    PaintCaption(*this, control().readText(Caption), control().readFont(prop::translabel::Font),
                 control().readInt(TextColour));
    PaintFocusFrame(*this);
}

void TransLabelView::keyPressEvent(QKeyEvent* event) {
    if (!ClickForKey(*event, control(), *this))
        QWidget::keyPressEvent(event);
}

void TransLabelView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TransLabelView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

} // namespace ep::qt
