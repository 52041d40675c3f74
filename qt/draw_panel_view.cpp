#include "qt/draw_panel_view.h"

#include <array>

namespace ep::qt {
namespace {

// Indexed by the border style: none, flat line, raised edge, sunken edge.
constexpr std::array kFrameStyles{
    QFrame::NoFrame | QFrame::Plain,
    QFrame::Box | QFrame::Plain,
    QFrame::Panel | QFrame::Raised,
    QFrame::Panel | QFrame::Sunken,
};

} // namespace

DrawPanelView::DrawPanelView(Control& control, QWidget* parent) : QFrame(parent), ControlWidget(control, *this) {
    const auto style = static_cast<std::size_t>(control.attributes().borderStyle);
    setFrameStyle(style < kFrameStyles.size() ? kFrameStyles[style] : kFrameStyles[0]);
    setLineWidth(1);
    setAutoFillBackground(true);
    raiseCommonEventsOf(*this);
    mirrorAllProperties();
}

void DrawPanelView::propertyChanged(int number) { mirrorCommonProperty(number); }

} // namespace ep::qt
