#include "tool/command_words.h"

#include "model/blocks.h"
#include "model/fields.h"
#include "sets/set_values.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace ep {
namespace {

/// Few values are listed, each with the other ways it can be typed; many as their range, with the ways
/// of typing the highest.
constexpr std::size_t kValuesListedAtMost = 12;

Text Joined(const std::vector<Text>& texts, std::size_t from, const char* separator) {
    Text joined;
    for (std::size_t index = from; index < texts.size(); ++index)
        joined += (index == from ? "" : separator) + texts[index];
    return joined;
}

Text AcceptedForms(int field) {
    const std::vector<int> values = ValuesOfField(field);
    if (values.size() <= kValuesListedAtMost) {
        Text listed;
        for (const int value : values) {
            const std::vector<Text> forms = TypedForms(field, value);
            listed += (listed.empty() ? "" : ", ") + forms.front();
            if (forms.size() > 1)
                listed += " (" + Joined(forms, 1, ", ") + ")";
        }
        return listed;
    }
    const std::vector<Text> forms = TypedForms(field, values.back());
    return ValueText(field, values.front()) + " … " + forms.front() +
           (forms.size() > 1 ? ", typed as " + Joined(forms, 0, " or ") : Text());
}

/// The value of the word for the field: as the window shows it, or with raw the field's number; the
/// reason when it is none.
std::optional<Text> ReadValue(int field, std::string_view word, bool raw, int& value) {
    if (raw) {
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error == std::errc() && end == word.data() + word.size() && value >= 0 && value <= 255)
            return std::nullopt;
        return "'" + Text(word) + "' is no field value 0..255";
    }
    if (const auto found = ValueOfText(field, word)) {
        value = *found;
        return std::nullopt;
    }
    return "'" + Text(word) + "' is no value of " + FieldName(field) + ", which takes " + AcceptedForms(field);
}

} // namespace

ReadWords ParseReadWords(const std::vector<Text>& words) {
    if (words.size() == 2 && words[0] == "-o")
        return {words[1], {}};
    if (!words.empty())
        return {{}, "read takes -o FILE or nothing"};
    return {};
}

LoadWords ParseLoadWords(const std::vector<Text>& words) {
    LoadWords load;
    for (const Text& word : words) {
        if (word == "--store")
            load.store = true;
        else if (word == "--changed")
            load.changedOnly = true;
        else if (word == "--force")
            load.force = true;
        else if (load.file.empty() && !word.starts_with("-"))
            load.file = word;
        else
            return {{}, false, false, false, "load takes FILE [--store] [--changed] [--force]"};
    }
    return load;
}

std::optional<Text> PresetNotToLoad(const Text& file, const Text& set, bool force) {
    if (set.empty())
        return "the preset " + file + " is empty, which would put the factory settings into the device; " +
               "restore does that, if it is what is wanted";
    const std::vector<ValueOutOfRange> outside = ValuesOutOfRange(set);
    if (outside.empty() || force)
        return std::nullopt;
    Text refusal = "the preset " + file + " holds " + std::to_string(outside.size()) +
                   " setting(s) outside their parameters' ranges, as a preset of another device would: ";
    const std::vector<Text> lines = OutOfRangeLines(outside);
    for (std::size_t index = 0; index < lines.size(); ++index)
        refusal += (index == 0 ? "" : "; ") + lines[index];
    return refusal + "; --force loads it as it is";
}

GetWords ParseGetWords(const std::vector<Text>& words) {
    GetWords get;
    for (const Text& word : words) {
        const std::optional<int> field = FieldNamed(word);
        if (!field)
            return {{}, "no setting is named '" + word + "'"};
        get.fields.push_back(*field);
    }
    if (words.empty())
        for (int field = 1; field <= EffectSetFieldCount; ++field)
            get.fields.push_back(field);
    return get;
}

SetWords ParseSetWords(const std::vector<Text>& words) {
    bool raw = false;
    SetWords set;
    std::vector<std::pair<int, Text>> named;
    const auto refuse = [](Text error) { return SetWords{{}, {}, std::move(error)}; };
    for (std::size_t at = 0; at < words.size(); ++at) {
        if (words[at] == "--raw") {
            raw = true;
        } else if (words[at] == "--file" && at + 1 < words.size()) {
            set.file = words[++at];
        } else {
            const auto equals = words[at].find('=');
            if (equals == Text::npos)
                return refuse("set takes NAME=VALUE, not '" + words[at] + "'");
            const std::optional<int> field = FieldNamed(words[at].substr(0, equals));
            if (!field)
                return refuse("no setting is named '" + words[at].substr(0, equals) + "'");
            named.emplace_back(*field, words[at].substr(equals + 1));
        }
    }
    if (named.empty())
        return refuse("set needs NAME=VALUE");
    // Every value is read with --raw known wherever it stands.
    for (const auto& [field, word] : named) {
        Assignment assignment{field, 0};
        if (const auto problem = ReadValue(field, word, raw, assignment.value))
            return refuse(*problem);
        set.assignments.push_back(assignment);
    }
    return set;
}

} // namespace ep
