#include "sets/set_handlers.h"

#include "sets/apply_effect_set.h"
#include "sets/effect_files.h"
#include "sets/set_fields.h"

namespace ep {

void EqTabPressed(const EventContext&) {
    ShowMusicEqPage();
    SetTextColour("均衡", kTabHighlight);
    SetTextColour("辅助", kBlack);
}

void RegisterSetHandlers(HandlerRegistry& handlers) {
    handlers.add("EqTabPressed", EqTabPressed);
    handlers.add("ShowMusicAuxPage", [](const EventContext&) { ShowMusicAuxPage(); });
    handlers.add("SaveEffectFile", SaveEffectFile);
    handlers.add("LoadEffectFile", LoadEffectFile);
}

} // namespace ep
