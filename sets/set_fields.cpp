#include "sets/set_fields.h"

#include "link/device_link.h"
#include "model/colours.h"
#include "model/controls.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>

namespace ep {
namespace {

Control& Named(std::string_view name) { return ControlNamed(Text(name)); }

} // namespace

double FieldAt(int position) { return ToNumber(Value(MidText(EffectSetText(), position, FieldWidth))); }

bool FieldEquals(int position, double value) { return std::abs(FieldAt(position) - value) <= kValueTolerance; }

int SelectorIndex(Block block) {
    return block == Block::Global ? 0 : Named(LayoutOf(block).selector).readInt(prop::combo::Selection);
}

ActiveView ShownView() {
    const bool auxiliary = ControlNamed(controls::AuxiliaryTab).readInt(prop::translabel::TextColour) == kTabHighlight;
    return {SelectorIndex(Block::KtvTypeA), auxiliary ? MusicPage::Auxiliary : MusicPage::Equaliser};
}

int BlockStart(Block block) {
    const int index = SelectorIndex(block);
    if (block == Block::KtvTypeA || block == Block::KtvTypeB)
        block = KtvBlockOfSelectorIndex(index);
    return ModeFirstPosition(block, index).value_or(0);
}

int PlaceSlider(std::string_view name, double position) {
    Control& slider = Named(name);
    slider.write(prop::slider::Position, TruncToInt(position));
    const int minimum = slider.readInt(prop::slider::Minimum);
    const int maximum = slider.readInt(prop::slider::Maximum);
    return std::clamp(slider.readInt(prop::slider::Position), std::min(minimum, maximum), std::max(minimum, maximum));
}

void SetCaption(std::string_view label, std::string_view caption) {
    Control& control = Named(label);
    control.write(control.kind() == ControlKind::TransLabel ? prop::translabel::Caption : prop::label::Caption,
                  Text(caption));
}

void SetContent(std::string_view editBox, const Text& content) {
    Named(editBox).write(prop::editbox::Content, content);
}

void SetLeft(std::string_view control, int left) { Named(control).write(prop::Left, left); }

void SetVisible(std::string_view control, bool visible) { Named(control).write(prop::Visible, visible); }

void SetTextColour(std::string_view label, Colour colour) {
    Control& control = Named(label);
    control.write(control.kind() == ControlKind::TransLabel ? prop::translabel::TextColour : prop::label::TextColour,
                  colour);
}

void SetSliderRange(std::string_view name, const SliderRange& range) {
    Control& slider = Named(name);
    slider.write(prop::slider::Maximum, range.maximum);
    slider.write(prop::slider::Minimum, range.minimum);
    slider.write(prop::slider::TickFrequency, range.tickFrequency);
}

} // namespace ep
