#pragma once
/// The full window on the test host with the design-time set shown, the selection and page helpers, and
/// a fake device on COM1 whose received bytes are recorded; online() makes the status say "已联机".

#include "handlers/panel_handlers.h"
#include "link/com_ports.h"
#include "ui/user_input.h"
#include "window_fixture.h"

namespace ep::testing {

class HandlerTestWindow : public WindowFixture {
  protected:
    HandlerTestWindow() : WindowFixture(PanelHandlers()), port(bus.add("/dev/fake-handlers")) {
        MapComPort(1, "/dev/fake-handlers");
        apply(designSet);
        PortLink().Open();
    }

    void online() { named("标签127").write(prop::label::Caption, Text("已联机")); }
    void drag(const Text& slider, int position) { UserScrolledSlider(named(slider), position); }
    void press(const Text& label) { named(label).raise(event::LeftButtonPressed, {1, 1, 0}); }
    void select(const Text& selector, int index) {
        named(selector).write(prop::combo::Selection, index);
        UserClosedList(named(selector), std::nullopt);
    }
    Bytes takeWritten() { return std::exchange(port.written, {}); }
    Text field(int position) { return EffectSetText().substr(static_cast<std::size_t>(position - 1), 3); }

    FakeSerialBus::Port& port;
};

} // namespace ep::testing
