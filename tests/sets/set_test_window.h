#pragma once
/// The main window built from its definition with the handlers of the layers up to the effect sets,
/// the lookup tables filled, on the test host.

#include "fake_serial.h"
#include "link/device_link.h"
#include "link/link_handlers.h"
#include "link/serial_port_kind.h"
#include "params/param_globals.h"
#include "params/param_handlers.h"
#include "runtime/resources.h"
#include "sets/apply_effect_set.h"
#include "sets/set_handlers.h"
#include "ui/window_definition.h"

#include <gtest/gtest.h>

namespace ep::testing {

class SetTestWindow : public ::testing::Test {
protected:
    SetTestWindow() : bus(host) {
        RegisterSerialPortKind();
        window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
        HandlerRegistry handlers;
        RegisterLinkHandlers(handlers);
        RegisterParameterHandlers(handlers);
        RegisterSetHandlers(handlers);
        window->resolveBindings(handlers);
        SetLoadedWindow(window.get());
        SetApplyEffectSetRoutine(ApplyEffectSet);
        FillLookupTables();
        SetLoaded = 0;
        designSet = EffectSetText();
    }
    ~SetTestWindow() override { window.reset(); }

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
        char digits[4];
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

} // namespace ep::testing
