#include "tool/set_differences.h"

#include "model/blocks.h"
#include "model/fields.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <algorithm>

namespace ep {

std::vector<FieldDifference> SetDifferences(const Text& first, const Text& second) {
    const std::vector<int> firstValues = FieldValues(first);
    const std::vector<int> secondValues = FieldValues(second);
    std::vector<FieldDifference> differences;
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        const auto index = static_cast<std::size_t>(field - 1);
        if (firstValues[index] == secondValues[index])
            continue;
        differences.push_back({field, firstValues[index], secondValues[index],
                               FieldInSelectedModes(field, firstValues) || FieldInSelectedModes(field, secondValues)});
    }
    return differences;
}

Text DifferenceLine(const FieldDifference& difference) {
    return FieldName(difference.field) + ": " + ValueText(difference.field, difference.first) + " → " +
           ValueText(difference.field, difference.second);
}

Text DiffLine(const FieldDifference& difference) {
    return DifferenceLine(difference) + (difference.inSelectedModes ? "" : "  (not in the selected modes)");
}

Text DiffCountLine(const std::vector<FieldDifference>& differences) {
    if (differences.empty())
        return "no setting differs";
    const auto outside = std::count_if(differences.begin(), differences.end(),
                                       [](const FieldDifference& difference) { return !difference.inSelectedModes; });
    Text line =
        std::to_string(differences.size()) + (differences.size() == 1 ? " setting differs" : " settings differ");
    if (outside > 0)
        line += ", " + std::to_string(outside) + " of them outside the selected modes";
    return line;
}

nlohmann::ordered_json DifferencesJson(const std::vector<FieldDifference>& differences, const char* firstName,
                                       const char* secondName) {
    auto listed = nlohmann::ordered_json::array();
    for (const FieldDifference& difference : differences)
        listed.push_back({{"field", difference.field},
                          {"name", FieldName(difference.field)},
                          {firstName, ValueText(difference.field, difference.first)},
                          {secondName, ValueText(difference.field, difference.second)},
                          {"inSelectedModes", difference.inSelectedModes}});
    return listed;
}

} // namespace ep
