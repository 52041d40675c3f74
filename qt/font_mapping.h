#pragma once
/// Maps the window definition's font faces to installed fonts of the same style (a bold sans for 黑体, a
/// Ming serif for 宋体, a sans for the Latin faces). It does not load or check any font file.

#include "ui/property.h"

#include <QFont>
#include <QString>

#include <optional>

namespace ep::qt {

/// The installed family that stands for a definition face; an unknown face is kept as it is.
QString FamilyForFace(const Text& face);

/// The font a control draws with: face, character height in pixels and weight, or the default GUI font.
QFont FontFor(const std::optional<Font>& font);

/// The font of the controls that have no font of their own.
QFont DefaultGuiFont();

} // namespace ep::qt
