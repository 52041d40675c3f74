#pragma once
/// The words of the commands that both a single run and a run in every room take, read and checked
/// before any device or room is touched; each result says what was wrong in its error.

#include "runtime/value.h"

#include <optional>
#include <string_view>
#include <vector>

namespace ep {

/// The side of a diff that stands for the device rather than for a preset file.
inline constexpr std::string_view kDeviceSide = "device";

/// read [-o FILE]
struct ReadWords {
    Text output; ///< as given; empty: print the set
    Text error;
};
ReadWords ParseReadWords(const std::vector<Text>& words);

/// load [FILE] [--store] [--changed] [--force]
struct LoadWords {
    Text file; ///< empty when none was named
    bool store = false;
    bool changedOnly = false; ///< send only the fields in which the device differs from the file
    bool force = false;       ///< load a preset with values outside their parameters' ranges
    Text error;
};
LoadWords ParseLoadWords(const std::vector<Text>& words);

/// Why the tool does not load the preset of that text, which ReadPreset took: an empty preset (which
/// the window loads as the default set, and which would reset every room it is pushed to), or one with
/// values outside their ranges, unless forced.
std::optional<Text> PresetNotToLoad(const Text& file, const Text& set, bool force);

/// get [NAME|FIELD]...: the fields named, all 255 for none.
struct GetWords {
    std::vector<int> fields;
    Text error;
};
GetWords ParseGetWords(const std::vector<Text>& words);

struct Assignment {
    int field = 0;
    int value = 0;
};

/// set [--raw] [--file FILE] NAME=VALUE...
struct SetWords {
    Text file; ///< the preset to change instead of the device; empty for the device
    std::vector<Assignment> assignments;
    Text error;
};
SetWords ParseSetWords(const std::vector<Text>& words);

} // namespace ep
