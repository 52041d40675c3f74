#include "app/program_globals.h"

#include "link/link_globals.h"
#include "model/lookup_tables.h"
#include "sets/apply_effect_set.h"

namespace ep {

void InitialiseGlobals() {
    DbStepTable = {};
    DelayTextTable = {};
    DefaultSetText.clear();
    SetLoaded = 0;
    KeyChanged = 0;
    DumpActive = 0;
    DumpCount = 0;
    FoundPort = 0;
}

void ReleaseGlobals() {
    DbStepTable = {};
    DelayTextTable = {};
    DefaultSetText.clear();
}

} // namespace ep
