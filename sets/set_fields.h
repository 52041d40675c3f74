#pragma once
/// Reading the EffectSet for display: a field as a number, the block starts that the selectors choose,
/// and the writes of the set display, with the position that a slider then shows.

#include "model/blocks.h"
#include "model/parameters.h"
#include "ui/window.h"

namespace ep {

/// ToNumber of the three characters at the 1-based position; a missing field reads 0.
double FieldAt(int position);
/// True when the field at position equals value within 1e-7.
bool FieldEquals(int position, double value);

/// The index that the block's selector has chosen; 0 for the globals, which have no selector.
int SelectorIndex(Block block);
/// What the window shows now: the KTV type that `KTV_MODE` chose and the music page that is highlighted.
ActiveView ShownView();
/// The first character position of the block's mode that its selector chooses; 0 for a selection that
/// chooses none of the block's modes (the block's fields are then read from the start of the text). For
/// the KTV blocks the type is the one the selection chooses.
int BlockStart(Block block);

/// Stores TruncToInt(position) and returns the position the slider shows: the stored one limited to
/// the slider's range.
int PlaceSlider(std::string_view slider, double position);

void SetCaption(std::string_view label, std::string_view caption);
void SetContent(std::string_view editBox, const Text& content);
void SetLeft(std::string_view control, int left);
void SetVisible(std::string_view control, bool visible);
void SetTextColour(std::string_view label, Colour colour);
/// Maximum, minimum and tick frequency, in that order.
void SetSliderRange(std::string_view slider, const SliderRange& range);

} // namespace ep
