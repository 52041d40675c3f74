#pragma once
/// The handlers of the sliders: each turns the new position into its row's device value, shows it, and
/// while online sends the SetParameter frame and writes the field. One function walks the table for all
/// of them; the families differ only in how they find the row and the mode.

#include "ui/window.h"

namespace ep {

void MicSliderChanged(const EventContext& context);
void KtvSliderChanged(const EventContext& context);
void RevHighCutSliderChanged(const EventContext& context);
void MusicPageSliderChanged(const EventContext& context);
void VolumeSliderChanged(const EventContext& context);
/// 滑块条24 released: re-sends the value its field holds, not the slider's.
void KtvDelaySliderReleased(const EventContext& context);

} // namespace ep
