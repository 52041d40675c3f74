#include "app/created_handler.h"

#include "link/connection.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "model/controls.h"
#include "model/lookup_tables.h"
#include "sets/apply_effect_set.h"
#include "ui/ui_style.h"

namespace ep {

void MainWindowCreated(const EventContext&) {
    SetUiStyle(3);
    DefaultSetText = EffectSetText();
    DumpActive = 0;
    KeyChanged = 0;
    DumpCount = 0;
    SetLoaded = 0;
    FillLookupTables();
    PortScan();
    ApplyEffectSet();
    ControlNamed(controls::ConnectTimer).write(prop::timer::Period, kConnectPeriodMs);
}

} // namespace ep
