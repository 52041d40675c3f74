#pragma once
/// Paints a label's caption the way both label kinds place it: one line, from the left, centred in height.

#include "ui/property.h"

#include <optional>

class QWidget;

namespace ep::qt {

void PaintCaption(QWidget& widget, const Text& caption, const std::optional<Font>& font, Colour textColour);

} // namespace ep::qt
