#include "qt/label_view.h"

#include "qt/caption_painting.h"
#include "qt/colours.h"
#include "qt/keyboard_click.h"

#include <QKeyEvent>
#include <QPainter>

namespace ep::qt {

LabelView::LabelView(Control& control, QWidget* parent) : QWidget(parent), ControlWidget(control, *this) {
    raiseCommonEventsOf(*this);
    OfferToKeyboard(*this, control);
    mirrorAllProperties();
}

void LabelView::propertyChanged(int number) {
    if (!mirrorCommonProperty(number))
        update();
}

void LabelView::paintEvent(QPaintEvent*) {
    using namespace prop::label;
    if (const Colour background = control().readInt(BackgroundColour); !IsDefaultColour(background))
        QPainter(this).fillRect(rect(), ToQColor(background));
    PaintCaption(*this, control().readText(Caption), control().readFont(prop::label::Font),
                 control().readInt(TextColour));
    PaintFocusFrame(*this);
}

void LabelView::keyPressEvent(QKeyEvent* event) {
    if (!ClickForKey(*event, control(), *this))
        QWidget::keyPressEvent(event);
}

void LabelView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void LabelView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

} // namespace ep::qt
