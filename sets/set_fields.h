#pragma once
/// Reading the EffectSet for display: a field as a number, the block starts that the selectors choose,
/// and the slider writes with the position that the slider then shows.

#include "ui/window.h"

namespace ep {

/// ToNumber of the three characters at the 1-based position; a missing field reads 0.
double FieldAt(int position);
/// True when the field at position equals value within 1e-7.
bool FieldEquals(int position, double value);

/// First character positions of the blocks the selectors choose; 0 for a selection outside the list.
int MusicBlockStart();
int MicBlockStart();
int KtvBlockStart();
/// True when KTV_MODE selects a type B item (index above 3).
bool KtvTypeB();

/// Stores TruncToInt(position) and returns the position the slider shows: the stored one limited to
/// the slider's range.
int PlaceSlider(const Text& slider, double position);

void SetCaption(const Text& label, const Text& caption);
void SetContent(const Text& editBox, const Text& content);
void SetLeft(const Text& control, int left);
void SetVisible(const Text& control, bool visible);
void SetTextColour(const Text& label, Colour colour);
/// Maximum, minimum and tick frequency, in that order.
void SetSliderRange(const Text& slider, int maximum, int minimum, int tickFrequency);

} // namespace ep
