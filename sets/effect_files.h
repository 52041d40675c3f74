#pragma once
/// Preset files: the EffectSet text under a name ending in ".tonset". A preset is never lost: a save
/// replaces the old file only once the new one is complete, and a preset that cannot be read or holds no
/// EffectSet is refused with the reason, for the user, in the window's language.

#include "runtime/safe_file.h"
#include "runtime/value.h"

#include <optional>

namespace ep {

/// The name a save writes: the chosen name with ".tonset" unless it already ends with it (any case).
Text EffectFileName(const Text& chosen);

/// Why a preset's text cannot be taken as an EffectSet; empty when it can: 765 digits, three a field, no
/// field above 255, or the empty text, which stands for the default set.
std::optional<Text> EffectSetTextProblem(const Text& text);

/// A preset's text, or the message that says why it cannot be taken.
struct PresetText {
    Text text;
    std::optional<Text> refusal;
};

/// Reads the preset with the file commands, read-only, and checks its content; one line break after the
/// set (LF or CRLF, as an editor leaves it) is taken off.
PresetText ReadPreset(const Text& name);

/// Writes the text as the preset of that name, which is taken as it is (no suffix added); the message
/// for the user when it failed. A link at the name is written through, or refused with LinkAtName::Refuse.
std::optional<Text> SavePreset(const Text& name, const Text& text, LinkAtName link = LinkAtName::WriteThrough);

} // namespace ep
