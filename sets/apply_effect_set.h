#pragma once
/// Showing a whole EffectSet in the window: the globals, the selected music block on the 均衡 page, the
/// selected MIC and KTV blocks, each walking the parameter rows. The routines read the set from 编辑框7
/// and never write it; they send nothing themselves (the limit boxes' handlers run nested when their
/// content is written).

#include "model/parameters.h"

#include <cstdint>

namespace ep {

/// 1 once a whole EffectSet has been shown; the limit handlers clamp only then.
extern std::int32_t SetLoaded;

void ApplyEffectSet();
/// The 均衡 page of the music block that MUSIC_MODE selects.
void ShowMusicEqPage();
/// Makes 辅助 the current page and shows it.
void ShowMusicAuxPage();
void ShowMicBlock();
/// Switches the effect area to the layout of the selected KTV item (type A or B) and shows its block.
void ShowKtvBlock();
/// Makes the page current: its tab label highlighted, the other's black.
void HighlightMusicPage(MusicPage page);

} // namespace ep
