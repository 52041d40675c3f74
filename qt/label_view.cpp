#include "qt/label_view.h"

#include "qt/caption_painting.h"
#include "qt/colours.h"
#include "qt/keyboard_click.h"

#include <QPainter>

namespace ep::qt {

LabelView::LabelView(Control& control, QWidget* parent) : QWidget(parent), ControlWidget(control, *this) {
    OfferToKeyboard(*this, control);
    raiseCommonEventsOf(*this);
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

} // namespace ep::qt
