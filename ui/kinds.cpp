#include "ui/kinds.h"

#include "runtime/host.h"

#include <algorithm>
#include <array>

namespace ep {
namespace {

using Clamp = std::function<std::int32_t(const Control&, std::int32_t)>;

Clamp Between(std::int32_t low, std::int32_t high) {
    return [low, high](const Control&, std::int32_t v) { return std::clamp(v, low, high); };
}

Clamp NativeRange() { return Between(0, 32767); }

PropertySpec Integer(std::int32_t initial = 0, Clamp clamp = {}) {
    return {PropertyType::Integer, initial, std::move(clamp)};
}
PropertySpec Boolean(bool initial = false) { return {PropertyType::Boolean, initial, {}}; }
PropertySpec TextProperty() { return {PropertyType::Text, Text{}, {}}; }
PropertySpec FontProperty() { return {PropertyType::Font, Font{}, {}}; }

KindDescriptor CommonKind(ControlKind kind, Text name) {
    KindDescriptor descriptor;
    descriptor.kind = kind;
    descriptor.name = std::move(name);
    descriptor.properties = {
        {prop::Left, Integer()},     {prop::Top, Integer()},          {prop::Width, Integer()},
        {prop::Height, Integer()},   {prop::Tag, TextProperty()},     {prop::Visible, Boolean(true)},
        {prop::Disabled, Boolean()}, {prop::MousePointer, Integer()},
    };
    return descriptor;
}

KindDescriptor EditBoxKind() {
    auto kind = CommonKind(ControlKind::EditBox, "EditBox");
    using namespace prop::editbox;
    kind.properties.insert({{Content, TextProperty()},
                            {HideSelection, Boolean(true)},
                            {MaximumLength, Integer(0, Between(0, INT32_MAX))},
                            {MultiLine, Boolean()},
                            {ScrollBars, Integer(0, Between(0, 3))},
                            {Alignment, Integer(0, Between(0, 2))},
                            {InputMode, Integer(0, Between(0, 2))}});
    // The text is in place before its one content-changed event, which runs nested in the write.
    kind.written = [](Control& control, int number, const PropertyValue&) {
        if (number == Content)
            control.raise(event::ContentChanged);
    };
    return kind;
}

KindDescriptor LabelKind() {
    auto kind = CommonKind(ControlKind::Label, "Label");
    using namespace prop::label;
    kind.properties.insert({{Caption, TextProperty()},
                            {prop::label::Font, FontProperty()},
                            {TextColour, Integer(kDefaultColour)},
                            {BackgroundColour, Integer(kDefaultColour)}});
    return kind;
}

KindDescriptor TransLabelKind() {
    auto kind = CommonKind(ControlKind::TransLabel, "TransLabel");
    using namespace prop::translabel;
    kind.properties.insert(
        {{Caption, TextProperty()}, {prop::translabel::Font, FontProperty()}, {TextColour, Integer(kDefaultColour)}});
    return kind;
}

KindDescriptor ButtonKind() {
    auto kind = CommonKind(ControlKind::Button, "Button");
    kind.properties.insert({prop::button::Caption, TextProperty()});
    return kind;
}

KindDescriptor ComboBoxKind() {
    auto kind = CommonKind(ControlKind::ComboBox, "ComboBox");
    using namespace prop::combo;
    kind.properties.insert({{Type, Integer(2, Between(0, 2))},
                            {Selection, Integer(-1, [](const Control& control, std::int32_t v) {
                                 const auto last = static_cast<std::int32_t>(control.attributes().items.size()) - 1;
                                 return v < 0 ? -1 : std::min(v, last);
                             })}});
    return kind;
}

KindDescriptor SliderBarKind() {
    auto kind = CommonKind(ControlKind::SliderBar, "SliderBar");
    using namespace prop::slider;
    kind.properties.insert({{Vertical, Boolean()},
                            {TickMarks, Integer(1, Between(0, 3))},
                            {TickFrequency, Integer(1, NativeRange())},
                            {PageSize, Integer(5, Between(1, 32767))},
                            {LineSize, Integer(1, Between(1, 32767))},
                            {Minimum, Integer(0, NativeRange())},
                            {Maximum, Integer(10, NativeRange())},
                            {Position, Integer(0, NativeRange())}});
    return kind;
}

KindDescriptor ProcessBarKind() {
    auto kind = CommonKind(ControlKind::ProcessBar, "ProcessBar");
    using namespace prop::progress;
    kind.properties.insert({{Minimum, Integer(0, NativeRange())},
                            {Maximum, Integer(100, NativeRange())},
                            {Position, Integer(0, NativeRange())}});
    return kind;
}

KindDescriptor TimerKind() {
    auto kind = CommonKind(ControlKind::Timer, "Timer");
    kind.properties.insert(
        {prop::timer::Period, Integer(0, [](const Control&, std::int32_t v) { return std::max(v, 0); })});
    // kindState holds the host timer while the timer runs (0 when stopped).
    kind.written = [](Control& control, int number, const PropertyValue& old) {
        if (number != prop::timer::Period)
            return;
        const std::int32_t period = control.readInt(number);
        if (std::get<std::int32_t>(old) == period)
            return;
        if (control.kindState() != 0) {
            CurrentHost().stopTimer(control.kindState());
            control.kindState() = 0;
        }
        if (period > 0)
            control.kindState() = CurrentHost().startTimer(period, [&control] { control.raise(event::TimerTick); });
    };
    kind.destroyed = [](Control& control) {
        if (control.kindState() != 0)
            CurrentHost().stopTimer(control.kindState());
        control.kindState() = 0;
    };
    return kind;
}

KindDescriptor CommonDlgKind() {
    auto kind = CommonKind(ControlKind::CommonDlg, "CommonDlg");
    kind.properties.insert({{prop::dialog::Type, Integer(0, Between(0, 3))}, {prop::dialog::FileName, TextProperty()}});
    return kind;
}

constexpr std::size_t kKindCount = static_cast<std::size_t>(ControlKind::SerialPort) + 1;

std::array<KindDescriptor, kKindCount>& Descriptors() {
    static std::array<KindDescriptor, kKindCount> descriptors = [] {
        std::array<KindDescriptor, kKindCount> all;
        for (auto descriptor :
             {CommonKind(ControlKind::Window, "Window"), EditBoxKind(), LabelKind(), TransLabelKind(), ButtonKind(),
              ComboBoxKind(), SliderBarKind(), ProcessBarKind(), CommonKind(ControlKind::DrawPanel, "DrawPanel"),
              TimerKind(), CommonDlgKind(), CommonKind(ControlKind::SerialPort, "SerialPort")})
            all[static_cast<std::size_t>(descriptor.kind)] = descriptor;
        return all;
    }();
    return descriptors;
}

} // namespace

KindDescriptor KindWithCommonProperties(ControlKind kind, Text name) { return CommonKind(kind, std::move(name)); }

const KindDescriptor& DescriptorOf(ControlKind kind) { return Descriptors()[static_cast<std::size_t>(kind)]; }

void RegisterKind(KindDescriptor descriptor) {
    Descriptors()[static_cast<std::size_t>(descriptor.kind)] = std::move(descriptor);
}

std::optional<ControlKind> KindNamed(const Text& name) {
    for (const auto& descriptor : Descriptors())
        if (descriptor.name == name)
            return descriptor.kind;
    return std::nullopt;
}

std::int32_t ClampToNativeRange(std::int32_t value) { return std::clamp(value, 0, 32767); }

} // namespace ep
