#pragma once
/// The control kinds: for each kind the properties it has (type, default, clamping) and what a write does
/// besides storing. A higher layer can register the behaviour of a kind that it owns (the serial port).

#include "ui/control.h"

#include <functional>
#include <map>

namespace ep {

struct PropertySpec {
    PropertyType type = PropertyType::Integer;
    PropertyValue defaultValue = std::int32_t{0};
    /// Clamps an integer on write; empty for none.
    std::function<std::int32_t(const Control&, std::int32_t)> clamp;
};

struct KindDescriptor {
    ControlKind kind = ControlKind::Label;
    Text name;
    std::map<int, PropertySpec> properties;
    /// Runs after a write stored the new value; old is the value before it.
    std::function<void(Control&, int number, const PropertyValue& old)> written;
    /// Reads the kind's stored block from the window definition; false rejects it and the control is not
    /// created.
    std::function<bool(Control&, const Bytes& storedBlock)> loadStoredBlock;
    /// Runs when the control is destroyed, before its extension and properties go.
    std::function<void(Control&)> destroyed;
};

/// A descriptor with the eight common properties, for a kind to add its own to.
KindDescriptor KindWithCommonProperties(ControlKind kind, Text name);

/// The descriptor of a kind; the kinds of this layer are built in, SerialPort is registered from above.
const KindDescriptor& DescriptorOf(ControlKind kind);
void RegisterKind(KindDescriptor descriptor);

/// The kind of a definition's kind name ("SliderBar", ...); empty when unknown.
std::optional<ControlKind> KindNamed(const Text& name);

/// Clamps into the native range 0..32767 that sliders and progress bars share.
std::int32_t ClampToNativeRange(std::int32_t value);

} // namespace ep
