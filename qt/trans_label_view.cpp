#include "qt/trans_label_view.h"

#include "qt/caption_painting.h"
#include "qt/keyboard_click.h"

namespace ep::qt {

TransLabelView::TransLabelView(Control& control, QWidget* parent) : QWidget(parent), ControlWidget(control, *this) {
    OfferToKeyboard(*this, control);
    raiseCommonEventsOf(*this);
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

} // namespace ep::qt
