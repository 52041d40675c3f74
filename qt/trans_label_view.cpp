#include "qt/trans_label_view.h"

#include "qt/caption_painting.h"

namespace ep::qt {

TransLabelView::TransLabelView(Control& control, QWidget* parent) : QWidget(parent), ControlWidget(control, *this) {
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
}

} // namespace ep::qt
