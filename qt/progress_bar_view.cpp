#include "qt/progress_bar_view.h"

#include <algorithm>

namespace ep::qt {

ProgressBarView::ProgressBarView(Control& control, QWidget* parent)
    : QProgressBar(parent), ControlWidget(control, *this) {
    setTextVisible(false);
    raiseCommonEventsOf(*this);
    mirrorAllProperties();
}

void ProgressBarView::propertyChanged(int number) {
    if (mirrorCommonProperty(number))
        return;
    using namespace prop::progress;
    if (number != Minimum && number != Maximum && number != Position)
        return;
    const int first = control().readInt(Minimum);
    const int second = control().readInt(Maximum);
    setRange(std::min(first, second), std::max(first, second));
    setValue(std::clamp(control().readInt(Position), minimum(), maximum()));
}

} // namespace ep::qt
