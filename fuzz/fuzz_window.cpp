#include "fuzz_window.h"

#include "app/program_main.h"
#include "link/com_ports.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "link/serial_port_kind.h"
#include "model/lookup_tables.h"
#include "runtime/resources.h"
#include "sets/apply_effect_set.h"
#include "ui/window_definition.h"

#include <cstdio>
#include <cstdlib>

namespace ep::fuzzing {

FuzzWindow& FuzzWindow::instance() {
    static FuzzWindow window;
    return window;
}

FuzzWindow::FuzzWindow() : m_bus(m_host) {
    RegisterSerialPortKind();
    m_window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
    m_window->resolveBindings(ProgramHandlers());
    SetLoadedWindow(m_window.get());
    FillLookupTables();
    m_designSet = EffectSetText();
    DefaultSetText = m_designSet;
    MapComPort(1, "/dev/fuzz");
    m_bus.add("/dev/fuzz");
    ControlNamed("端口").write(8, 1);
    PortLink().Open();
}

void FuzzWindow::reset(bool online) {
    DumpActive = DumpCount = KeyChanged = 0;
    ControlNamed("标签127").write(prop::label::Caption, Text(online ? "已联机" : "未联机"));
    ControlNamed("时钟1").write(prop::timer::Period, 0);
    ControlNamed("时钟2").write(prop::timer::Period, 0);
    SetEffectSetText(m_designSet);
    ApplyEffectSet();
    m_host.messageBoxes.clear();
    m_host.fileDialogs.clear();
    m_bus.port("/dev/fuzz").written.clear();
}

void Require(bool condition, const char* message) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", message);
        std::abort();
    }
}

} // namespace ep::fuzzing
