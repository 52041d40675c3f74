#include "ui/control.h"

#include "runtime/conversions.h"
#include "runtime/fatal.h"
#include "ui/kinds.h"
#include "ui/window.h"

#include <utility>

namespace ep {
namespace {

PropertyValue Coerce(const PropertyValue& value, PropertyType type) {
    switch (type) {
    case PropertyType::Integer:
        if (const auto* b = std::get_if<bool>(&value))
            return std::int32_t{*b ? 1 : 0};
        if (!std::holds_alternative<std::int32_t>(value))
            ReportFatal("欲转换数据类型不是数值");
        return value;
    case PropertyType::Boolean:
        if (const auto* i = std::get_if<std::int32_t>(&value))
            return *i != 0;
        if (!std::holds_alternative<bool>(value))
            ReportFatal("欲转换数据类型不是数值");
        return value;
    case PropertyType::Text:
        if (const auto* i = std::get_if<std::int32_t>(&value))
            return ToText(Value(*i));
        if (const auto* b = std::get_if<bool>(&value))
            return ToText(Value(*b));
        if (!std::holds_alternative<Text>(value))
            RaiseRuntimeError(5);
        return value;
    case PropertyType::Font:
        if (!std::holds_alternative<Font>(value))
            RaiseRuntimeError(5);
        return value;
    }
    return value;
}

} // namespace

Control::Control(Window& window, ControlKind kind, Text name, int id)
    : m_window(window), m_kind(kind), m_name(std::move(name)), m_id(id), m_descriptor(DescriptorOf(kind)) {
    for (const auto& [number, property] : m_descriptor.properties)
        m_properties[number] = property.defaultValue;
}

Control::~Control() {
    if (m_descriptor.destroyed)
        m_descriptor.destroyed(*this);
    m_extension.reset();
}

bool Control::hasProperty(int number) const { return m_descriptor.properties.count(number) != 0; }

void Control::write(int number, const PropertyValue& value) {
    const auto property = m_descriptor.properties.find(number);
    if (property == m_descriptor.properties.end())
        return;
    PropertyValue stored = Coerce(value, property->second.type);
    if (property->second.clamp)
        stored = property->second.clamp(*this, std::get<std::int32_t>(stored));
    PropertyValue old = std::exchange(m_properties[number], std::move(stored));
    notifyView(number);
    if (m_descriptor.written)
        m_descriptor.written(*this, number, old);
}

void Control::store(int number, PropertyValue value) {
    if (hasProperty(number))
        m_properties[number] = std::move(value);
}

PropertyValue Control::read(int number) const {
    const auto found = m_properties.find(number);
    if (found == m_properties.end())
        return std::int32_t{0};
    return found->second;
}

std::int32_t Control::readInt(int number) const {
    const PropertyValue value = read(number);
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return *i;
    return 0;
}

bool Control::readBool(int number) const { return readInt(number) != 0; }

Text Control::readText(int number) const {
    const PropertyValue value = read(number);
    if (const auto* text = std::get_if<Text>(&value))
        return *text;
    return {};
}

std::optional<Font> Control::readFont(int number) const {
    const PropertyValue value = read(number);
    if (const auto* font = std::get_if<Font>(&value); font != nullptr && !font->face.empty())
        return *font;
    return std::nullopt;
}

void Control::raise(int event, std::vector<std::int32_t> arguments) {
    m_window.dispatch(*this, event, std::move(arguments));
}

void Control::notifyView(int number) const {
    if (m_view != nullptr)
        m_view->propertyChanged(number);
}

} // namespace ep
