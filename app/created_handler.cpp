#include "app/created_handler.h"

#include "link/connection.h"
#include "link/link_globals.h"
#include "params/param_globals.h"
#include "sets/apply_effect_set.h"
#include "ui/ui_style.h"

namespace ep {

void MainWindowCreated(const EventContext&) {
    SetUiStyle(3);
    DefaultSetText = ControlNamed("编辑框7").readText(prop::editbox::Content);
    DumpActive = 0;
    KeyChanged = 0;
    DumpCount = 0;
    SetLoaded = 0;
    FillLookupTables();
    PortScan();
    ApplyEffectSet();
    ControlNamed("时钟3").write(prop::timer::Period, 1000);
}

} // namespace ep
