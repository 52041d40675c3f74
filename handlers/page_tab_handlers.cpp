#include "handlers/page_tab_handlers.h"

#include "sets/apply_effect_set.h"

namespace ep {

void EqTabPressed(const EventContext&) {
    ShowMusicEqPage();
    HighlightMusicPage(MusicPage::Equaliser);
}

void AuxTabPressed(const EventContext&) { ShowMusicAuxPage(); }

} // namespace ep
