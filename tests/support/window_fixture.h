#pragma once
/// The main window built from its definition on the test host, bound to the handlers a test group may
/// use (none for the layers below the handlers), with the lookup tables filled and a fake serial bus.
/// Header-only: each test executable links the libraries it tests.

#include "fake_serial.h"
#include "link/device_link.h"
#include "link/serial_port_kind.h"
#include "model/lookup_tables.h"
#include "runtime/resources.h"
#include "sets/apply_effect_set.h"
#include "ui/window_definition.h"

#include <gtest/gtest.h>

namespace ep::testing {

class WindowFixture : public ::testing::Test {
  protected:
    explicit WindowFixture(const HandlerRegistry& handlers = {}) : bus(host) {
        RegisterSerialPortKind();
        window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
        window->resolveBindings(handlers);
        SetLoadedWindow(window.get());
        FillLookupTables();
        SetLoaded = 0;
        designSet = EffectSetText();
    }
    ~WindowFixture() override { window.reset(); }

    Control& named(const Text& name) { return ControlNamed(name); }
    int position(const Text& slider) { return named(slider).readInt(prop::slider::Position); }
    Text content(const Text& box) { return named(box).readText(prop::editbox::Content); }
    Text caption(const Text& label) {
        Control& control = named(label);
        return control.readText(control.kind() == ControlKind::TransLabel ? prop::translabel::Caption
                                                                          : prop::label::Caption);
    }
    Colour colour(const Text& label) {
        Control& control = named(label);
        return control.readInt(control.kind() == ControlKind::TransLabel ? prop::translabel::TextColour
                                                                         : prop::label::TextColour);
    }
    /// The set with the three digits of value at the 1-based field.
    static Text WithField(Text set, int field, int value) {
        char digits[12];
        std::snprintf(digits, sizeof digits, "%03d", value);
        return set.replace(static_cast<std::size_t>(3 * field - 3), 3, digits);
    }
    void apply(const Text& set) {
        SetEffectSetText(set);
        ApplyEffectSet();
    }

    TestHost host;
    FakeSerialBus bus;
    std::unique_ptr<Window> window;
    Text designSet;
};

/// The EffectSet each time a whole set is shown, which starts by highlighting the 均衡 tab; attach it to
/// that tab.
struct ShownSets : ControlView {
    void propertyChanged(int number) override {
        if (number == prop::translabel::TextColour)
            texts.push_back(EffectSetText());
    }
    std::vector<Text> texts;
};

} // namespace ep::testing
