#pragma once
/// Where two EffectSet texts differ, field by field, with the window's texts of both values, and whether
/// each field is one that either set uses. Texts only: it reads no control.

#include "runtime/value.h"
#include "sets/set_values.h"

#include <nlohmann/json.hpp>

#include <vector>

namespace ep {

struct FieldDifference {
    int field = 0;
    int first = 0;  ///< the value in the first set
    int second = 0; ///< the value in the second
    /// A global, or a field of a mode that one of the two sets selects.
    bool inSelectedModes = true;
};

/// The fields in field order.
std::vector<FieldDifference> SetDifferences(const Text& first, const Text& second);

/// "MIC2 1KHZ: +3dB → -2dB", the values as the window shows them.
Text DifferenceLine(const FieldDifference& difference);

/// The line of a diff: the difference's line, and a mark when neither set uses the field.
Text DiffLine(const FieldDifference& difference);

/// "2 settings differ, 1 of them outside the selected modes", or that none does.
Text DiffCountLine(const std::vector<FieldDifference>& differences);

/// The differences for --json: field, name, both texts under the names given, and inSelectedModes.
nlohmann::ordered_json DifferencesJson(const std::vector<FieldDifference>& differences, const char* firstName,
                                       const char* secondName);

} // namespace ep
