#include "app/program_globals.h"

#include "link/link_globals.h"
#include "params/param_globals.h"

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
