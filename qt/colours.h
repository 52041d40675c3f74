#pragma once
/// Converts the model's 0x00BBGGRR colours for painting; it does not know which colour a kind defaults to.

#include "ui/property.h"

#include <QColor>

namespace ep::qt {

/// True when the value asks for the kind's default colour rather than a colour of its own.
inline bool IsDefaultColour(Colour colour) { return colour == kDefaultColour; }

inline QColor ToQColor(Colour colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

} // namespace ep::qt
