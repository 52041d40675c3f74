#include "model/fields.h"

#include "runtime/conversions.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace ep {
namespace {

/// A name or text as the lookups compare it: no blanks around it, '_' as ' ', upper case.
Text Folded(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    Text folded(text);
    for (char& c : folded)
        c = c == '_' ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return folded;
}

std::string_view ModeName(Block block, int channel) {
    return block == Block::Global ? std::string_view{} : LayoutOf(block).modeNames[static_cast<std::size_t>(channel)];
}

/// The item a selector shows for an index: the KTV selectors list type A's modes, then type B's.
std::optional<std::string_view> SelectorItem(const ParameterRow& row, int index) {
    const Block block = row.selects == Block::KtvTypeA ? KtvBlockOfSelectorIndex(index) : row.selects;
    const std::optional<int> mode = ChannelOfSelectorIndex(block, index);
    if (!mode)
        return std::nullopt;
    return ModeName(block, *mode);
}

int SliderPositionOf(const ParameterRow& row, int value) {
    return std::clamp(PositionOfDeviceValue(row, value), std::min(row.minimum, row.maximum),
                      std::max(row.minimum, row.maximum));
}

/// A number as the window shows it: an optional sign, digits with an optional fraction, and a unit.
struct ShownNumber {
    std::string_view sign;
    std::string_view number;
    std::string_view unit;
};

std::optional<ShownNumber> ShownNumberOf(std::string_view text) {
    const std::size_t signLength = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    const std::size_t end = text.find_first_not_of("0123456789.", signLength);
    const std::string_view number = text.substr(signLength, end == std::string_view::npos ? end : end - signLength);
    if (number.empty() || !std::isdigit(static_cast<unsigned char>(number.front())))
        return std::nullopt;
    const std::string_view unit = end == std::string_view::npos ? std::string_view{} : text.substr(end);
    if (unit.find_first_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return ShownNumber{text.substr(0, signLength), number, unit};
}

/// What a person may type for the value: the window's text; for a number also without its unit, and
/// without a '+'; for a switch also ON/OFF and 1/0.
std::vector<Text> FormsOfValue(int field, int value) {
    const Text shown = ValueText(field, value);
    std::vector<Text> forms{shown};
    if (const auto shownNumber = ShownNumberOf(shown)) {
        const Text number(shownNumber->number);
        const bool positive = shownNumber->sign != "-";
        if (positive)
            forms.push_back(number + Text(shownNumber->unit));
        forms.push_back(Text(shownNumber->sign) + number);
        if (positive)
            forms.push_back(number);
    }
    const FieldInfo info = InfoOfField(field);
    if (info.row != nullptr && info.row->editKind == EditKind::SwitchLabel) {
        const bool on = SwitchIsOn(*info.row, value);
        forms.push_back(on ? "ON" : "OFF");
        forms.push_back(on ? "1" : "0");
    }
    return forms;
}

} // namespace

FieldInfo InfoOfField(int field) {
    const std::optional<ChannelAddress> key = ChannelAddressOfField(field);
    if (!key)
        return {};
    return {field, key->channel, &Row(key->address)};
}

Text FieldName(int field) {
    const FieldInfo info = InfoOfField(field);
    if (info.row == nullptr)
        return {};
    if (info.row->block == Block::Global)
        return Text(info.row->name);
    return Text(ModeName(info.row->block, info.channel)) + " " + Text(info.row->name);
}

std::optional<int> FieldNamed(std::string_view name) {
    int number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error == std::errc() && end == name.data() + name.size())
        return number >= 1 && number <= EffectSetFieldCount ? std::optional<int>(number) : std::nullopt;
    const Text wanted = Folded(name);
    for (int field = 1; field <= EffectSetFieldCount; ++field)
        if (Folded(FieldName(field)) == wanted)
            return field;
    return std::nullopt;
}

std::vector<int> ValuesOfField(int field) {
    const FieldInfo info = InfoOfField(field);
    std::vector<int> values;
    if (info.row == nullptr)
        return values;
    const ParameterRow& row = *info.row;
    for (int position = row.minimum; position <= row.maximum; ++position)
        values.push_back(row.editKind == EditKind::Slider ? DeviceValueOfPosition(row, position) : position);
    std::sort(values.begin(), values.end());
    return values;
}

bool ValueInRange(int field, int value) {
    const std::vector<int> values = ValuesOfField(field);
    return std::binary_search(values.begin(), values.end(), value);
}

Text ValueText(int field, int value) {
    const FieldInfo info = InfoOfField(field);
    if (info.row == nullptr)
        return {};
    const ParameterRow& row = *info.row;
    switch (row.editKind) {
    case EditKind::Slider:
    case EditKind::LimitBox:
        if (const auto text = SetDisplayText(row, value, SliderPositionOf(row, value)))
            return *text;
        break;
    case EditKind::Selector:
        if (const auto item = SelectorItem(row, std::min(value, row.maximum)))
            return Text(*item);
        break;
    case EditKind::ChoiceLabels:
        if (value >= 0 && value < static_cast<int>(row.choices.size()))
            return Text(row.choices[static_cast<std::size_t>(value)].caption);
        break;
    case EditKind::SwitchLabel:
        return Text(SwitchIsOn(row, value) ? row.on.text : row.off.text);
    }
    return ToText(Value(static_cast<std::int32_t>(value)));
}

std::optional<int> ValueOfText(int field, std::string_view text) {
    const Text wanted = Folded(text);
    const std::vector<int> values = ValuesOfField(field);
    for (const int value : values)
        if (Folded(ValueText(field, value)) == wanted)
            return value;
    std::optional<int> typed;
    for (const int value : values)
        for (const Text& form : FormsOfValue(field, value))
            if (Folded(form) == wanted) {
                // A form that two values share stands for neither.
                if (typed && *typed != value)
                    return std::nullopt;
                typed = value;
            }
    return typed;
}

std::vector<Text> TypedForms(int field, int value) {
    std::vector<Text> forms;
    for (const Text& form : FormsOfValue(field, value)) {
        const auto taken = ValueOfText(field, form);
        if (taken && *taken == value && std::find(forms.begin(), forms.end(), form) == forms.end())
            forms.push_back(form);
    }
    return forms;
}

bool FieldInSelectedModes(int field, std::span<const int> values) {
    const FieldInfo info = InfoOfField(field);
    if (info.row == nullptr)
        return false;
    const Block block = info.row->block;
    if (block == Block::Global)
        return true;
    const std::vector<const ParameterRow*> selectors = RowsOfControl(LayoutOf(block).selector);
    const std::optional<FieldLocation> selector = selectors.empty() ? std::nullopt : LocateField(*selectors.front(), 0);
    if (!selector || static_cast<std::size_t>(selector->field) > values.size())
        return false;
    const int index = values[static_cast<std::size_t>(selector->field - 1)];
    // The KTV selector picks a type as well as a mode of it.
    if ((block == Block::KtvTypeA || block == Block::KtvTypeB) && KtvBlockOfSelectorIndex(index) != block)
        return false;
    return ChannelOfSelectorIndex(block, index) == info.channel;
}

} // namespace ep
