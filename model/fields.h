#pragma once
/// The 255 fields by the names a person reads, and their values as the window shows them.
///
/// Names: a global field has its parameter's name ("Music_Vol", "Music_Vol Min", "KTV_MODE", "Source",
/// "Key", "FBX"); a block field has its mode's name, a space and its parameter's caption ("MIC2 1KHZ",
/// "KTV1 EchoA Rep", "EFF3 Rev1 Time", "MUSIC4 C_Bass", "MUSIC1 Out Limit"). A name is looked up
/// without regard to case, and with '_' and ' ' alike, so that "mic2_1khz" names "MIC2 1KHZ".
///
/// Texts: what the window shows for a value: the value box's text ("+3dB", "135ms", "1.2V", "40"), the
/// chosen label's caption ("BGM", "#2"), the selector's item ("EFF2"), or a switch's state ("ON", "OFF",
/// "180°", "O°"). A value outside its slider's range shows as the slider shows it, held at the end.

#include "model/parameters.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ep {

struct FieldInfo {
    int field = 0;
    int channel = 0; ///< the mode within the block; 0 for the globals
    const ParameterRow* row = nullptr;
};

/// Field 1..255.
FieldInfo InfoOfField(int field);

Text FieldName(int field);

/// The field of a name or of its number ("19"); empty for neither.
std::optional<int> FieldNamed(std::string_view name);

/// The device values the field can hold as the window edits it, lowest first.
std::vector<int> ValuesOfField(int field);

/// Whether the window can show the value for the field: one of ValuesOfField.
bool ValueInRange(int field, int value);

/// The window's text for the value of the field.
Text ValueText(int field, int value);

/// The value whose window text the text is (compared as the names are, and without the blanks around
/// it), or that the text is as a person types it: a number without its unit or its '+' ("3dB", "+3" and
/// "3" for "+3dB", "135" for "135ms"), a switch as ON/OFF or 1/0, wherever no other value of the field is
/// typed so; empty when none is.
std::optional<int> ValueOfText(int field, std::string_view text);

/// The texts that ValueOfText takes for the value, its window text first.
std::vector<Text> TypedForms(int field, int value);

/// Whether the field is one that the set of these values (by field, index field − 1) uses: a global, or
/// a field of the mode that its block's selector (the one whose block the window shows) picks in the set.
bool FieldInSelectedModes(int field, std::span<const int> values);

} // namespace ep
