#pragma once
/// Saving the EffectSet to a preset file and loading one back, through the common dialog 通用对话框1.
/// A preset is never lost: a save replaces the old file only once the new one is complete, and a load
/// that cannot be read or holds no EffectSet changes nothing; both tell the user why.

#include "runtime/value.h"
#include "ui/window.h"

#include <optional>

namespace ep {

void SaveEffectFile(const EventContext& context);
void LoadEffectFile(const EventContext& context);

/// The name a save writes: the chosen name with ".tonset" unless it already ends with it (any case).
Text EffectFileName(const Text& chosen);

/// Why a preset's text cannot be taken as an EffectSet; empty when it can: 765 digits, three a field, no
/// field above 255, or the empty text, which stands for the default set.
std::optional<Text> EffectSetTextProblem(const Text& text);

} // namespace ep
